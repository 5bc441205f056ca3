#pragma once

#include "widgets/looks/LookPaint.h"

class FNImage;

// The reference face of the button family: a tone-0 outline with softened
// corners, a tone-2 inner highlight, and a body shaded from tone 2 at the
// top to tone 1 at the middle, with a sheen on the upper half and a slight
// darkening toward the bottom. The target must already be w x h.
void paintFace(FNImage& target, int w, int h, const FNLookPaint::Tones& tones);

// A set reduced to two thirds per channel (the pressed face); the background
// stays as it is.
FNLookPaint::Tones pressedTones(const FNLookPaint::Tones& tones);
