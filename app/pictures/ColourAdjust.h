#pragma once

class FNImage;

// Integer HSV: h 0 .. 359 degrees, s and v 0 .. 255.
struct q_HSV {
    int h, s, v;
};
struct q_RGB {
    int r, g, b;
};

q_HSV q_RGBToHSV(int red, int green, int blue);
q_RGB q_HSVToRGB(int hue, int saturation, int value);

// Adjust: recolours `part` into `adjusted` with the three slider values
// (hue -180 .. 180 degrees, saturation and value -100 .. 100 percent).
// All three 0 make an exact copy; otherwise each pixel goes through HSV:
// hue shifted and wrapped, saturation scaled by (1 + ds / 255), then the
// value change added to the three channels after the conversion back.
// Alpha is carried over. The part itself is never changed.
void q_AdjustColour(const FNImage& part, FNImage& adjusted, int hue, int saturation, int value);
