#pragma once

#include "framework/scene/FN2DItem.h"

// q_BorderBox: a one-pixel outline of its own rectangle, drawn in the
// inverse of the colours under it so that it shows on any picture: each
// colour channel c becomes (c * (255 - a) + (255 - c) * a) >> 8, a being the
// item's effective opacity. The four corners are mapped to the buffer
// (rotation and scale included), rounded, and joined by the editor's line
// walk; pixels outside the buffer or outside an ancestor that clips are left
// alone. With a blend mode other than Normal the inverted colour is combined
// with the pixel by that mode.
class q_BorderBox : public FN2DItem {
public:
    q_BorderBox(double x, double y, double w, double h, int depth);

    void DrawSelf(
        uint32_t* pixels, int width, int height, int rowLength, int left, int top, int right, int bottom) override;
    void DrawSelfClipped(
        uint32_t* pixels, int width, int height, int rowLength, int left, int top, int right, int bottom) override;

private:
    void DrawOutline(
        uint32_t* pixels, int width, int height, int rowLength, int left, int top, int right, int bottom, bool clipped);
    bool InsideClippingAncestors(int x, int y) const;
};
