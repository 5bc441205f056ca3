#pragma once

// What a platform scenario needs of a window system, so that one scenario
// runs on both backends: platform_virtual_tests links the virtual window
// system and virtual/VirtualPlatformHarness.cpp, platform_x11_tests links
// Xlib and x11/X11PlatformHarness.cpp (xdotool plays the user).

#include "framework/platform/FNPlatform.h"
#include "tests/framework/platform/RecordingListener.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class PlatformHarness : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    FNWindowId Make(
        FNWindowClass windowClass, int x, int y, int w, int h, FNWindowId parent = FNNoWindow, bool child = false);
    // Shows the window and waits until it is on the screen.
    void ShowAndWait(FNWindowId window);
    void MovePointer(int x, int y);
    // Wheel notches at the pointer, back to back (positive: away from the user).
    void Wheel(int notches);
    // Dispatches events until the condition holds; false if it never does.
    bool PumpUntil(const std::function<bool()>& condition);

    std::unique_ptr<FNPlatformConnection> connection;
    RecordingListener listener;
};
