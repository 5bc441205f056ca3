#pragma once

#include <cstdint>
#include <functional>

class FNImage;

// The painters of a framed window's title bar, edges and buttons. The
// framework does not know the widgets' looks (they live a layer above), so
// the program hands them in: FNExWindow::SetDefaultLooks() with the set made
// by widgets/window/FNWindowFrameLooks.h. Each painter makes the target
// width x height and paints it whole.
struct FNExWindowLooks {
    std::function<void(FNImage* target, int width, int height)> titleBar;
    // edge: 0 left, 1 right, 2 bottom.
    std::function<void(FNImage* target, int width, int height, int edge)> border;
    // state: 0 normal, 1 hover, 2 pressed.
    std::function<void(FNImage* target, int width, int height, int state)> minimiseButton;
    std::function<void(FNImage* target, int width, int height, int state)> maximiseButton;
    std::function<void(FNImage* target, int width, int height, int state)> restoreButton;
    std::function<void(FNImage* target, int width, int height, int state)> closeButton;
    uint32_t background = 0xF0F0F0; // frame scene fill, 0xRRGGBB
    uint32_t titleText = 0x202020; // title text colour, 0xRRGGBB
};

// Plain painters in fixed colours, used until a program sets others.
FNExWindowLooks FNPlainExWindowLooks();
