#pragma once

#include <cstdint>
#include <functional>

class FNImage;

// The states a button face is painted in (title bar buttons here, and the
// widgets' scroll buttons and highlights).
enum FNButtonState : int { FNButtonNormal = 0, FNButtonHover, FNButtonPressed };
// The three edges of a framed window's border.
enum FNFrameEdge : int { FNFrameEdgeLeft = 0, FNFrameEdgeRight, FNFrameEdgeBottom };

// The painters of a framed window's title bar, edges and buttons. The
// framework does not know the widgets' looks (they live a layer above), so
// the program hands them in: FNExWindow::SetDefaultLooks() with the set made
// by widgets/window/FNWindowFrameLooks.h. Each painter makes the target
// width x height and paints it whole.
struct FNExWindowLooks {
    std::function<void(FNImage* target, int width, int height)> titleBar;
    std::function<void(FNImage* target, int width, int height, FNFrameEdge edge)> border;
    std::function<void(FNImage* target, int width, int height, FNButtonState state)> minimiseButton;
    std::function<void(FNImage* target, int width, int height, FNButtonState state)> maximiseButton;
    std::function<void(FNImage* target, int width, int height, FNButtonState state)> restoreButton;
    std::function<void(FNImage* target, int width, int height, FNButtonState state)> closeButton;
    uint32_t background = 0xF0F0F0; // frame scene fill, 0xRRGGBB
    uint32_t titleText = 0x202020; // title text colour, 0xRRGGBB
};

// Plain painters in fixed colours, used until a program sets others.
FNExWindowLooks FNPlainExWindowLooks();
