#include "framework/platform/x11/X11ErrorHandlers.h"

#include <X11/Xlib.h>

#include <mutex>

namespace {

// The handler runs on the thread that reads the reply, so each thread sees
// only its own requests' errors.
thread_local int t_errors = 0;

int countError(Display*, XErrorEvent*)
{
    ++t_errors;
    return 0;
}

} // namespace

void X11InstallErrorHandlers()
{
    static std::once_flag once;
    std::call_once(once, [] { XSetErrorHandler(countError); });
}

int X11ThreadErrorCount()
{
    return t_errors;
}
