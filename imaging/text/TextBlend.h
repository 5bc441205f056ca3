#pragma once

class FNImage;

// The rectangle text may be written to: columns x .. x + width - 1 and rows
// y .. y + height - 1 of the target.
struct FNTextClip {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Blends a picture of black text on white (`text`, drawn at (x, y) of
// `target`) into the target in the colour (red, green, blue): the darkness
// of each text pixel is its coverage. Only target pixels inside both the
// clip rectangle and the target are written, whatever the position and the
// clip. With writeAlpha the target's alpha is raised to the coverage.
void blendTextPicture(FNImage& target, const FNImage& text, int x, int y, const FNTextClip& clip, int red, int green,
    int blue, bool writeAlpha);
