#pragma once

// Xlib's types as the X11 backend's headers name them, so that no header
// includes an X header: Xlib defines None, Bool, Status, True and False as
// macros, which would reach every file that includes ours. Only the
// backend's .cpp files include <X11/...>; X11Handles.cpp checks that the
// names below are Xlib's own types.

// Xlib's opaque structures, declared exactly as Xlib declares them:
// Display is _XDisplay, GC is _XGC*, XIM is _XIM*, XIC is _XIC*.
struct _XDisplay;
struct _XGC;
struct _XImage;
struct _XIM;
struct _XIC;
// XEvent; the handler of a kind of event reads its member (xkey, xclient,
// ...) in a .cpp file.
union _XEvent;

// A server resource id (Xlib's XID) and the names it goes by.
using X11Id = unsigned long;
using X11Window = X11Id;
using X11Atom = X11Id;
using X11Cursor = X11Id;
