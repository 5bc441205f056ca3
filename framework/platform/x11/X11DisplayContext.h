#pragma once

// One display connection and what the backend makes on it: a graphics
// context, the presenter's image, the cursors. Private to the X11 backend:
// only its .cpp files and tests include this header. Used by one thread at a
// time.

#include "framework/platform/x11/X11Cursors.h"
#include "framework/platform/x11/X11Handles.h"
#include "framework/platform/x11/X11Presenter.h"

struct X11DisplayContext {
    _XDisplay* display = nullptr;
    _XGC* gc = nullptr; // Xlib's GC
    X11Presenter presenter;
    X11CursorCache cursors;

    // Takes over an opened display.
    void Open(_XDisplay* opened);
    // Frees everything made on the display, then closes it.
    void Close();
    X11Cursor CursorFor(int cursorId) { return cursors.CursorFor(display, cursorId); }
};
