#pragma once

// What the backend tells the window manager and the server about a window
// (hints, title, opacity, shape, state changes) and what it reads from the
// root window (work area, whether a manager runs). Private to the X11
// backend: only its .cpp files and tests include this header. Each function
// flushes nothing; the caller flushes once it is done with the display.

#include "framework/platform/FNPlatform.h"
#include "framework/platform/x11/X11Atoms.h"
#include "framework/platform/x11/X11Handles.h"

#include <string>
#include <vector>

// A new top-level window's properties: close requests by message
// (WM_DELETE_WINDOW), no decorations (Motif hints), the requested position
// kept, input focus taken, the class hint, transient for owner (when not 0),
// XDND version 5 and the title.
void X11SetTopLevelProperties(
    _XDisplay* display, const X11Atoms& atoms, X11Window window, const FNWindowDesc& desc, X11Window owner);
// WM_NAME and _NET_WM_NAME (UTF-8).
void X11SetTitle(_XDisplay* display, const X11Atoms& atoms, X11Window window, const std::string& title);
// _NET_WM_WINDOW_OPACITY for alpha 0..254; removed (opaque) otherwise.
void X11SetOpacity(_XDisplay* display, const X11Atoms& atoms, X11Window window, int alpha);
// The bounding shape as the union of the rectangles; the whole window again
// for an empty list. Nothing when the server has no SHAPE extension.
void X11SetShape(_XDisplay* display, X11Window window, const std::vector<FNPlatformRect>& shape);
// Moves a top-level window from state old to state: minimising iconifies
// with a window manager and unmaps without one; leaving it maps the window
// again; maximising and leaving it move and size the window to area.
void X11ChangeWindowState(_XDisplay* display, X11Window window, FNWindowState old, FNWindowState state,
    const FNPlatformRect& area, bool windowManager);
// Asks a window manager to activate a top-level window (_NET_ACTIVE_WINDOW).
void X11RequestActivation(_XDisplay* display, const X11Atoms& atoms, X11Window window);
// The current desktop's _NET_WORKAREA, else the whole screen.
FNPlatformRect X11WorkArea(_XDisplay* display, const X11Atoms& atoms);
// Whether an EWMH window manager runs (_NET_SUPPORTING_WM_CHECK on the root).
bool X11HasWindowManager(_XDisplay* display, const X11Atoms& atoms);
