#pragma once

#include "framework/platform/FNPlatform.h"

#include <cstdint>
#include <string>
#include <vector>

class FNImage;

// Control of the virtual window system, for tests linked with
// tesserine_platform_virtual. The virtual system is one process-wide screen
// shared by every open FNPlatformConnection: windows are records, what each
// window last presented is kept as pixels, and the pointer, buttons, keys,
// clock and window-system actions are whatever the test sets. Actions that
// would reach a program as window-system events (keys, text, wheel, drops,
// close requests, moves) are queued to the connection that owns the window
// and delivered by its DispatchEvents, as a real window system would.
//
// Threads: every function may be called from any thread; one mutex guards
// the whole virtual screen.
namespace FNVirtualPlatform {

// Everything back to the start: clock 0, no idle waits counted, pointer at (0, 0), no buttons or
// keys down, no focus or capture, screen and work area 1280 x 1024.
// Windows of open connections are kept.
void Reset();

// ---- Clock ---------------------------------------------------------------
void SetMilliseconds(uint32_t now);
void AdvanceMilliseconds(uint32_t delta);

// ---- Idle steps ----------------------------------------------------------
// How often an engine step found nothing to do and waited for activity
// (each such wait pauses 1 ms and returns; see FNPlatformWaitForActivity).
uint64_t IdleWaits();

// ---- Screen ----------------------------------------------------------------
// The work area reported to programs (the screen when never set).
void SetWorkArea(const FNPlatformRect& area);

// ---- Pointer and keys --------------------------------------------------------
void SetPointer(int screenX, int screenY);
// FNButtonLeft | FNButtonRight | FNButtonMiddle.
void SetButtons(int buttons);
// Key state and a key event for the window with focus (no event without
// one). Left and right modifier keys also set the generic entry.
void PressKey(int virtualKey);
void ReleaseKey(int virtualKey);
// Text committed by the input method, to the window with focus; cut to
// FNTextInputLimit bytes at a letter boundary like real input.
void TypeText(const std::string& utf8);
// Wheel notches (delta in units of 120) to the window under the pointer.
void Wheel(int delta);

// ---- Window-system actions ---------------------------------------------------
void DropFiles(FNWindowId window, const std::vector<std::string>& paths);
void RequestClose(FNWindowId window);
// A move or size by the window system or the user: geometry changes and
// OnMoved / OnResized follow.
void MoveWindow(FNWindowId window, int x, int y);
void ResizeWindow(FNWindowId window, int width, int height);
// Asks the window to paint the area again.
void Expose(FNWindowId window, const FNPlatformRect& area);

// ---- Reading back ------------------------------------------------------------
struct WindowInfo {
    bool exists = false;
    FNWindowClass windowClass = FNWindowClass::Owner;
    FNWindowId parent = FNNoWindow;
    bool child = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::string title;
    bool visible = false;
    int alpha = 255;
    int cursor = FNCursorArrow;
    FNWindowState state = FNWindowState::Normal;
    int presentCount = 0; // Present and FillRect calls so far
    std::vector<FNPlatformRect> shape; // empty: the whole window
};
WindowInfo Window(FNWindowId window);
// The window's pixels as a picture of its size (alpha 255); false for
// unknown windows.
bool ReadPixels(FNWindowId window, FNImage& picture);
// Every existing window, oldest first.
std::vector<FNWindowId> Windows();
FNWindowId Focus();
FNWindowId Capture();

} // namespace FNVirtualPlatform
