#pragma once

// The atoms the X11 backend uses, interned once per connection. Private to
// the X11 backend: only its .cpp files and tests include this header.

#include "framework/platform/x11/X11Handles.h"

struct X11Atoms {
    X11Atom wmProtocols, wmDeleteWindow, motifHints, netWmName, utf8String, opacity, workArea, currentDesktop,
        supportingWm, activeWindow, xdndAware, xdndEnter, xdndPosition, xdndStatus, xdndLeave, xdndDrop, xdndFinished,
        xdndSelection, xdndTypeList, xdndActionCopy, uriList;
};

// Every atom above in one round trip.
X11Atoms X11InternAtoms(_XDisplay* display);
