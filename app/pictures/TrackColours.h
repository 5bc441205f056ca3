#pragma once

#include "app/pictures/ColourAdjust.h"

// Column colours of the three colour sliders' tracks, for a track picture
// `width` pixels wide and a column x with 5 <= x <= width - 6; a = (x - 3) /
// (width - 8) runs from left to right.

// What a pure red becomes for hue shifts -180 .. 180 at 90 % saturation:
// cyan at both ends, red in the middle.
q_RGB q_HueTrackColour(int x, int width);
// White at the left to red at the right.
q_RGB q_SaturationTrackColour(int x, int width);
// Black at the left to white at the right.
q_RGB q_ValueTrackColour(int x, int width);
