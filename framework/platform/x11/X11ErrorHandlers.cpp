#include "framework/platform/x11/X11ErrorHandlers.h"

#include <X11/Xlib.h>
#include <errno.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>

namespace {

// The handler runs on the thread that reads the reply, so each thread sees
// only its own requests' errors.
thread_local int t_errors = 0;

int countError(Display*, XErrorEvent*)
{
    ++t_errors;
    return 0;
}

// Every thread with a display may find the connection gone at about the same
// time; only the first one reports, the others wait for the process to end.
std::atomic<bool> g_lost { false };

void writeAll(const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = write(STDERR_FILENO, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        done += static_cast<size_t>(written);
    }
}

[[noreturn]] void endForLostDisplay(Display* display)
{
    if (g_lost.exchange(true)) {
        for (;;)
            pause();
    }
    std::string line = std::string(program_invocation_short_name) + ": lost the connection to the X display";
    const char* name = display ? DisplayString(display) : nullptr;
    if (name && *name)
        line += std::string(" \"") + name + "\"";
    writeAll(line + "\n");
    // Nothing can be shown or saved through the display any more, and engine
    // threads are still inside Xlib: end without exit()'s destructors.
    _exit(1);
}

int lostDisplay(Display* display)
{
    endForLostDisplay(display);
}

void lostDisplayExit(Display* display, void*)
{
    endForLostDisplay(display);
}

} // namespace

void X11InstallErrorHandlers()
{
    static std::once_flag once;
    std::call_once(once, [] {
        XSetErrorHandler(countError);
        XSetIOErrorHandler(lostDisplay);
    });
}

int X11ThreadErrorCount()
{
    return t_errors;
}

void X11WatchConnection(_XDisplay* display)
{
    XSetIOErrorExitHandler(display, lostDisplayExit, nullptr);
}
