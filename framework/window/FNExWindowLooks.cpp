#include "framework/window/FNExWindowLooks.h"

#include "imaging/FNImage.h"

namespace {

void paintSolid(FNImage* target, int width, int height, uint32_t rgb)
{
    if (!target || width <= 0 || height <= 0)
        return;
    if (target->width != width || target->height != height)
        target->resize(width, height);
    target->fill((rgb >> 16) & 255, (rgb >> 8) & 255, rgb & 255, 255);
}

// A button face: darker while hovered or pressed, with a 2-pixel mark in
// its middle so the buttons can be told apart.
void paintButton(FNImage* target, int width, int height, FNButtonState state, int markWidth)
{
    uint32_t face = state == FNButtonPressed ? 0xA0A0A0 : state == FNButtonHover ? 0xC8C8C8 : 0xDCDCDC;
    paintSolid(target, width, height, face);
    if (!target || width <= 0 || height <= 0)
        return;
    int left = (width - markWidth) / 2;
    for (int y = height / 2 - 1; y <= height / 2; ++y) {
        for (int x = left; x < left + markWidth; ++x) {
            if (x >= 0 && x < width && y >= 0 && y < height)
                target->row(y)[x] = 0xFF202020;
        }
    }
}

} // namespace

FNExWindowLooks FNPlainExWindowLooks()
{
    FNExWindowLooks looks;
    looks.titleBar = [](FNImage* t, int w, int h) { paintSolid(t, w, h, 0xD0D8E0); };
    looks.border = [](FNImage* t, int w, int h, FNFrameEdge) { paintSolid(t, w, h, 0xB0B8C0); };
    looks.minimiseButton = [](FNImage* t, int w, int h, FNButtonState s) { paintButton(t, w, h, s, 8); };
    looks.maximiseButton = [](FNImage* t, int w, int h, FNButtonState s) { paintButton(t, w, h, s, 10); };
    looks.restoreButton = [](FNImage* t, int w, int h, FNButtonState s) { paintButton(t, w, h, s, 6); };
    looks.closeButton = [](FNImage* t, int w, int h, FNButtonState s) { paintButton(t, w, h, s, 12); };
    return looks;
}
