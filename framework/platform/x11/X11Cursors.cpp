#include "framework/platform/x11/X11Cursors.h"

#include "framework/platform/FNPlatform.h"

#include <X11/Xlib.h>
#include <X11/cursorfont.h>

X11CursorBitmaps X11CursorBitmapsOf(const FNCursorShape& shape)
{
    X11CursorBitmaps bitmaps;
    for (int y = 0; y < FNCursorShapeSize; ++y) {
        for (int x = 0; x < FNCursorShapeSize; ++x) {
            const char c = shape.rows[y][x];
            const int byte = y * X11CursorBitmaps::rowBytes + x / 8;
            const unsigned char bit = static_cast<unsigned char>(1u << (x % 8));
            if (c == '#')
                bitmaps.source[byte] |= bit;
            if (c == '#' || c == '.')
                bitmaps.mask[byte] |= bit;
        }
    }
    return bitmaps;
}

unsigned X11FontCursorGlyph(int cursorId)
{
    switch (cursorId) {
    case FNCursorWait:
        return XC_watch;
    case FNCursorSizeNWSE:
        return XC_bottom_right_corner;
    case FNCursorSizeNESW:
        return XC_bottom_left_corner;
    case FNCursorSizeWE:
        return XC_sb_h_double_arrow;
    case FNCursorSizeNS:
        return XC_sb_v_double_arrow;
    case FNCursorSizeAll:
        return XC_fleur;
    default:
        return XC_left_ptr;
    }
}

namespace {

// '#' pixels take the foreground (black), '.' pixels the background (white).
Cursor shapeCursor(Display* display, const FNCursorShape& shape)
{
    X11CursorBitmaps bitmaps = X11CursorBitmapsOf(shape);
    const Window root = DefaultRootWindow(display);
    Pixmap source = XCreateBitmapFromData(
        display, root, reinterpret_cast<char*>(bitmaps.source), FNCursorShapeSize, FNCursorShapeSize);
    Pixmap mask = XCreateBitmapFromData(
        display, root, reinterpret_cast<char*>(bitmaps.mask), FNCursorShapeSize, FNCursorShapeSize);
    XColor black {}, white {};
    white.red = white.green = white.blue = 0xFFFF;
    black.flags = white.flags = DoRed | DoGreen | DoBlue;
    Cursor cursor = XCreatePixmapCursor(
        display, source, mask, &black, &white, static_cast<unsigned>(shape.hotX), static_cast<unsigned>(shape.hotY));
    XFreePixmap(display, source);
    XFreePixmap(display, mask);
    return cursor;
}

} // namespace

Cursor X11CursorCache::CursorFor(Display* display, int cursorId)
{
    auto found = m_cursors.find(cursorId);
    if (found != m_cursors.end())
        return found->second;
    const FNCursorShape* shape = FNFindCursorShape(cursorId);
    const Cursor cursor
        = shape ? shapeCursor(display, *shape) : XCreateFontCursor(display, X11FontCursorGlyph(cursorId));
    m_cursors[cursorId] = cursor;
    return cursor;
}

void X11CursorCache::Free(Display* display)
{
    for (auto& entry : m_cursors)
        XFreeCursor(display, entry.second);
    m_cursors.clear();
}
