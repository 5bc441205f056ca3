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
// Alpha is carried over. The part itself is never changed. The result is
// that of q_RGBToHSV and q_HSVToRGB byte for byte, computed without a
// division by a pixel's own value (see ColourAdjust.cpp).
void q_AdjustColour(const FNImage& part, FNImage& adjusted, int hue, int saturation, int value);

// The instructions Adjust uses. Automatic takes AVX2 where the processor
// has it; both give the same bytes. Process-wide; tests set each in turn.
enum class q_ColourAdjustPath { Automatic, Scalar, Avx2 };
// Requests a path and returns the previous request.
q_ColourAdjustPath q_ColourAdjustSetPath(q_ColourAdjustPath path);
// The path the next Adjust takes: Scalar or Avx2.
q_ColourAdjustPath q_ColourAdjustActivePath();
