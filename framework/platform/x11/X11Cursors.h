#pragma once

// Cursors on one display connection: the X cursor font for the system
// cursors, pixmap cursors for the program's own pictures (FNCursorShapes).
// Private to the X11 backend: only its .cpp files and tests include this
// header.

#include "framework/platform/FNCursorShapes.h"
#include "framework/platform/x11/X11Handles.h"

#include <map>

// A cursor picture as the two bitmaps X wants, rows of FNCursorShapeSize / 8
// bytes with the leftmost pixel in the lowest bit: source holds the '#'
// (black) pixels, mask every pixel that is drawn ('#' and '.').
struct X11CursorBitmaps {
    static constexpr int rowBytes = FNCursorShapeSize / 8;
    unsigned char source[FNCursorShapeSize * rowBytes] = {};
    unsigned char mask[FNCursorShapeSize * rowBytes] = {};
};
X11CursorBitmaps X11CursorBitmapsOf(const FNCursorShape& shape);

// The cursor-font glyph for a system cursor id; the arrow for unknown ids.
unsigned X11FontCursorGlyph(int cursorId);

// The cursors made so far on one display, made on first use and freed
// before the display closes. Used by one thread at a time, like its display.
class X11CursorCache {
public:
    X11Cursor CursorFor(_XDisplay* display, int cursorId);
    void Free(_XDisplay* display);

private:
    std::map<int, X11Cursor> m_cursors;
};
