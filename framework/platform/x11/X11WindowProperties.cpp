#include "framework/platform/x11/X11WindowProperties.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <climits>

namespace {

// The Motif window-manager hints: flags, functions, decorations, input mode,
// status; flag 2 says the decorations field is valid, and 0 there asks for
// none.
struct MotifHints {
    unsigned long flags, functions, decorations;
    long inputMode;
    unsigned long status;
};

// One 32-bit property of the root window read as longs; false when it is
// missing. The caller frees data.
bool readRootLongs(Display* display, Atom property, long length, unsigned long& items, int& format, long*& data)
{
    Atom type = 0;
    unsigned long after = 0;
    unsigned char* bytes = nullptr;
    if (XGetWindowProperty(display, DefaultRootWindow(display), property, 0, length, False, XA_CARDINAL, &type, &format,
            &items, &after, &bytes)
            != Success
        || !bytes)
        return false;
    data = reinterpret_cast<long*>(bytes);
    return true;
}

long currentDesktop(Display* display, const X11Atoms& atoms)
{
    unsigned long items = 0;
    int format = 0;
    long* data = nullptr;
    if (!readRootLongs(display, atoms.currentDesktop, 1, items, format, data))
        return 0;
    const long desktop = items == 1 ? data[0] : 0;
    XFree(data);
    return desktop;
}

void setWindowManagerHints(Display* display, Window window, const FNWindowDesc& desc)
{
    // Keep the position the program asked for.
    XSizeHints size {};
    size.flags = USPosition | PPosition;
    size.x = desc.x;
    size.y = desc.y;
    XSetWMNormalHints(display, window, &size);
    XWMHints wmHints {};
    wmHints.flags = InputHint;
    wmHints.input = True;
    XSetWMHints(display, window, &wmHints);
    XClassHint classHint { const_cast<char*>(FNWindowClassRecordOf(desc.windowClass).name),
        const_cast<char*>("Tesserine") };
    XSetClassHint(display, window, &classHint);
}

} // namespace

void X11SetTopLevelProperties(
    Display* display, const X11Atoms& atoms, Window window, const FNWindowDesc& desc, Window owner)
{
    XSetWMProtocols(display, window, const_cast<Atom*>(&atoms.wmDeleteWindow), 1);
    MotifHints hints { 2, 0, 0, 0, 0 };
    XChangeProperty(display, window, atoms.motifHints, atoms.motifHints, 32, PropModeReplace,
        reinterpret_cast<unsigned char*>(&hints), 5);
    setWindowManagerHints(display, window, desc);
    if (owner)
        XSetTransientForHint(display, window, owner);
    const long dndVersion = 5;
    XChangeProperty(display, window, atoms.xdndAware, XA_ATOM, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(&dndVersion), 1);
    X11SetTitle(display, atoms, window, desc.title);
}

void X11SetTitle(Display* display, const X11Atoms& atoms, Window window, const std::string& title)
{
    XStoreName(display, window, title.c_str());
    XChangeProperty(display, window, atoms.netWmName, atoms.utf8String, 8, PropModeReplace,
        reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
}

void X11SetOpacity(Display* display, const X11Atoms& atoms, Window window, int alpha)
{
    if (alpha < 0 || alpha >= 255) {
        XDeleteProperty(display, window, atoms.opacity);
        return;
    }
    // Opacity as a fraction of 0xFFFFFFFF: alpha * 0xFFFFFFFF / 255.
    const unsigned long opacity = static_cast<unsigned long>(alpha) * 0xFFFFFFFFul / 255;
    XChangeProperty(display, window, atoms.opacity, XA_CARDINAL, 32, PropModeReplace,
        reinterpret_cast<const unsigned char*>(&opacity), 1);
}

void X11SetShape(Display* display, Window window, const std::vector<FNPlatformRect>& shape)
{
    int eventBase = 0, errorBase = 0;
    if (!XShapeQueryExtension(display, &eventBase, &errorBase))
        return;
    if (shape.empty()) {
        // No mask: the bounding shape is the window's rectangle again.
        XShapeCombineMask(display, window, ShapeBounding, 0, 0, None, ShapeSet);
        return;
    }
    std::vector<XRectangle> rects;
    for (const FNPlatformRect& rect : shape) {
        if (rect.Empty())
            continue;
        rects.push_back(XRectangle { static_cast<short>(std::clamp(rect.left, SHRT_MIN, SHRT_MAX)),
            static_cast<short>(std::clamp(rect.top, SHRT_MIN, SHRT_MAX)),
            static_cast<unsigned short>(std::min(rect.Width(), USHRT_MAX)),
            static_cast<unsigned short>(std::min(rect.Height(), USHRT_MAX)) });
    }
    XShapeCombineRectangles(
        display, window, ShapeBounding, 0, 0, rects.data(), static_cast<int>(rects.size()), ShapeSet, Unsorted);
}

void X11ChangeWindowState(Display* display, Window window, FNWindowState old, FNWindowState state,
    const FNPlatformRect& area, bool windowManager)
{
    if (state == FNWindowState::Minimised) {
        // A window manager keeps an icon; without one the window is simply
        // unmapped until it is restored.
        if (windowManager)
            XIconifyWindow(display, window, DefaultScreen(display));
        else
            XUnmapWindow(display, window);
        return;
    }
    if (old == FNWindowState::Minimised)
        XMapRaised(display, window);
    if (state == FNWindowState::Maximised || old == FNWindowState::Maximised)
        XMoveResizeWindow(display, window, area.left, area.top, static_cast<unsigned>(std::max(1, area.Width())),
            static_cast<unsigned>(std::max(1, area.Height())));
}

void X11RequestActivation(Display* display, const X11Atoms& atoms, Window window)
{
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = atoms.activeWindow;
    event.xclient.format = 32;
    event.xclient.data.l[0] = 1; // from an application
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

FNPlatformRect X11WorkArea(Display* display, const X11Atoms& atoms)
{
    const int screen = DefaultScreen(display);
    FNPlatformRect area { 0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen) };
    const long desktop = currentDesktop(display, atoms);
    unsigned long items = 0;
    int format = 0;
    long* values = nullptr;
    if (!readRootLongs(display, atoms.workArea, LONG_MAX / 4, items, format, values))
        return area;
    // Four values per desktop: x, y, width, height.
    const unsigned long first = static_cast<unsigned long>(desktop) * 4;
    if (format == 32 && desktop >= 0 && first + 4 <= items && values[first + 2] > 0 && values[first + 3] > 0) {
        area = { static_cast<int>(values[first]), static_cast<int>(values[first + 1]),
            static_cast<int>(values[first] + values[first + 2]),
            static_cast<int>(values[first + 1] + values[first + 3]) };
    }
    XFree(values);
    return area;
}

bool X11HasWindowManager(Display* display, const X11Atoms& atoms)
{
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, DefaultRootWindow(display), atoms.supportingWm, 0, 1, False, XA_WINDOW, &type,
            &format, &items, &after, &data)
            != Success
        || !data)
        return false;
    XFree(data);
    return items == 1;
}
