#include "framework/platform/x11/X11Handles.h"

#include <X11/Xlib.h>

#include <type_traits>

// The names in X11Handles.h must stay Xlib's own types: these fail to
// compile on a client whose Xlib defines them otherwise.
static_assert(std::is_same_v<XID, X11Id> && sizeof(XID) == sizeof(X11Id), "X11Id is Xlib's XID");
static_assert(std::is_same_v<Window, X11Window>, "X11Window is Xlib's Window");
static_assert(std::is_same_v<Atom, X11Atom>, "X11Atom is Xlib's Atom");
static_assert(std::is_same_v<Cursor, X11Cursor>, "X11Cursor is Xlib's Cursor");
static_assert(std::is_same_v<Display, _XDisplay>, "Display is struct _XDisplay");
static_assert(std::is_same_v<GC, _XGC*>, "GC is a pointer to struct _XGC");
static_assert(std::is_same_v<XImage, _XImage>, "XImage is struct _XImage");
static_assert(std::is_same_v<XIM, _XIM*>, "XIM is a pointer to struct _XIM");
static_assert(std::is_same_v<XIC, _XIC*>, "XIC is a pointer to struct _XIC");
static_assert(std::is_same_v<XEvent, _XEvent>, "XEvent is union _XEvent");
