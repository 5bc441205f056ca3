#pragma once

#include "framework/core/FNRect.h"

class FNStageBase;

// Where a modal window of width x height goes on the screen: centred over
// the owner's window, or on the current engine's work area without one.
FNRect modalPlacement(FNStageBase* owner, int width, int height);
