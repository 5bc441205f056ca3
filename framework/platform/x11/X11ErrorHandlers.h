#pragma once

// The process's Xlib error handler. Private to the X11 backend: only its
// .cpp files include this header.

// Installs the handler, once per process; called before the first display
// connection opens. Protocol errors (a request on a window another thread
// has just destroyed) are counted per thread and otherwise ignored: Xlib's
// default handler would end the process for them.
void X11InstallErrorHandlers();

// Protocol errors reported on the calling thread so far. Compare the count
// before and after a request (and an XSync) to learn whether it failed.
int X11ThreadErrorCount();
