#pragma once

#include "widgets/controls/FNSlider.h"

// The three sliders of the colour adjustment in the command panel's
// "色調節機能" group: an FNSlider each, with its range and a track that shows
// what the slider does:
//
//   q_HueSlider         -180 .. 180 degrees: a pure red turned by each shift
//   q_SaturationSlider  -100 .. 100 percent: white to red
//   q_ValueSlider       -100 .. 100 percent: black to white
class q_HueSlider : public FNSlider {
public:
    q_HueSlider(int y, int w, int h);
};

class q_SaturationSlider : public FNSlider {
public:
    q_SaturationSlider(int y, int w, int h);
};

class q_ValueSlider : public FNSlider {
public:
    q_ValueSlider(int y, int w, int h);
};

// The track look shared by the three (which: 0 hue, 1 saturation, 2 value):
// a groove of base0 lines and side columns over a transparent background,
// filled with the slider's column colours.
void q_PaintColourTrack(FNImage* target, int width, int height, int which);
