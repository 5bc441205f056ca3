#pragma once

// The process's Xlib error handlers. Private to the X11 backend: only its
// .cpp files and tests include this header.

#include "framework/platform/x11/X11Handles.h"

// Installs both handlers, once per process; called before the first display
// connection opens.
//   - Protocol errors (a request on a window another thread has just
//     destroyed) are counted per thread and otherwise ignored: Xlib's default
//     handler would end the process for them.
//   - Losing the connection (the server ended, the socket broke) is final:
//     one line goes to standard error and the process ends at once with
//     status 1, without running static destructors while engine threads
//     still use the display.
void X11InstallErrorHandlers();

// Protocol errors reported on the calling thread so far. Compare the count
// before and after a request (and an XSync) to learn whether it failed.
int X11ThreadErrorCount();

// Makes the connection's own end-of-connection step (libX11 1.7 and later)
// end the process the same way, in case a library replaced the I/O error
// handler with one that returns.
void X11WatchConnection(_XDisplay* display);
