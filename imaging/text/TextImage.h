#pragma once

#include "imaging/FNString.h"

class FNImage;
class FNStringStyle;

// The text picture of a scene item: the text in the style's colour over full
// transparency, (text width + 1) x text height. A disabled item's text is
// drawn in the lightened style (halfway to white). Returns null for empty
// text; the caller owns the picture. A null style means the default style.
FNImage* FNMakeTextImage(const FNStringStyle* style, const FNString& text, bool enabled);
