#include "framework/platform/x11/X11Atoms.h"

#include <X11/Xlib.h>

#include <cstring>

X11Atoms X11InternAtoms(Display* display)
{
    // In the order of the members of X11Atoms.
    const char* names[] = { "WM_PROTOCOLS", "WM_DELETE_WINDOW", "_MOTIF_WM_HINTS", "_NET_WM_NAME", "UTF8_STRING",
        "_NET_WM_WINDOW_OPACITY", "_NET_WORKAREA", "_NET_CURRENT_DESKTOP", "_NET_SUPPORTING_WM_CHECK",
        "_NET_ACTIVE_WINDOW", "XdndAware", "XdndEnter", "XdndPosition", "XdndStatus", "XdndLeave", "XdndDrop",
        "XdndFinished", "XdndSelection", "XdndTypeList", "XdndActionCopy", "text/uri-list" };
    constexpr int count = sizeof names / sizeof names[0];
    static_assert(count * sizeof(Atom) == sizeof(X11Atoms), "one name per atom");
    Atom atoms[count];
    XInternAtoms(display, const_cast<char**>(names), count, False, atoms);
    X11Atoms result;
    std::memcpy(&result, atoms, sizeof result);
    return result;
}
