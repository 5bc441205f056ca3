// Opening the X11 backend's connections, and its clock.

#include "framework/platform/FNPlatform.h"
#include "framework/platform/x11/X11Connection.h"
#include "framework/platform/x11/X11ErrorHandlers.h"

#include <X11/Xlib.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// A busy server can turn a connection away for a moment (its listen queue
// full); a few quick retries tell that apart from a display that is not
// there at all.
Display* openDisplay(const char* name)
{
    for (int attempt = 0;; ++attempt) {
        errno = 0;
        if (Display* display = XOpenDisplay(name)) {
            X11WatchConnection(display);
            return display;
        }
        if (attempt == 4)
            return nullptr;
        usleep(20000);
    }
}

std::string openFailure(int error)
{
    const char* name = std::getenv("DISPLAY");
    std::string failure = std::string("cannot open the X display \"") + (name ? name : "") + "\"";
    if (error)
        failure += std::string(" (") + std::strerror(error) + ")";
    return failure;
}

} // namespace

std::unique_ptr<FNPlatformConnection> FNPlatformConnection::Open(std::string& failure)
{
    failure.clear();
    X11InstallErrorHandlers();
    // One connection for the engine thread, one for every other thread.
    Display* engine = openDisplay(nullptr);
    Display* client = engine ? openDisplay(DisplayString(engine)) : nullptr;
    if (!client) {
        const int error = errno;
        if (engine)
            XCloseDisplay(engine);
        failure = openFailure(error);
        return nullptr;
    }
    return std::make_unique<X11Connection>(engine, client);
}

std::vector<std::string> FNPlatformLibraryLines()
{
    // libX11 has no run-time version query: the version it was built with.
    return { std::string("Xlib ") + TESSERINE_XLIB_VERSION + ", the X.Org Foundation (https://www.x.org/)" };
}

void FNPlatformWaitForActivity(FNActivitySignal& activity, uint64_t seen)
{
    // Every input reaches the engine thread's display connection as an event
    // (pointer motion, crossings, buttons, keys), so nothing is missed by
    // sleeping until the engine thread reports it.
    activity.WaitForChange(seen);
}

uint32_t FNPlatformMilliseconds()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    // Wraps at 2^32 like the system's millisecond counter.
    return static_cast<uint32_t>(
        static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}
