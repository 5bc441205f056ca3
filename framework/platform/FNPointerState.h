#pragma once

#include <cstdint>

// The window of a platform connection: an X window id on X11, a record number
// in the virtual backend.
using FNWindowId = uint64_t;
constexpr FNWindowId FNNoWindow = 0;

// Pointer as sampled from the window system.
struct FNPointerState {
    int screenX = 0;
    int screenY = 0;
    // The deepest window of this connection under the pointer, or none (the
    // pointer is over another program's window or over no window).
    FNWindowId window = FNNoWindow;
    // FNButtonLeft | FNButtonRight | FNButtonMiddle, the keyboard table's
    // entries 1, 2 and 4.
    int buttons = 0;
    // When the window system reported this state (FNPlatformMilliseconds):
    // a latched press keeps the time it happened at, so that two clicks far
    // apart never make a double click because a busy step sampled them late.
    uint32_t time = 0;
};
constexpr int FNButtonLeft = 1;
constexpr int FNButtonRight = 2;
constexpr int FNButtonMiddle = 4;
