// BM_EditorStartup: the editor program from its process start to the first
// presented frame of its main window (the blank canvas on the screen), on
// the X display named by DISPLAY (an Xvfb will do). Each repetition starts
// and ends one process. The counter rss_at_rest_mib is the program's
// resident memory one second after that frame, with the 500 x 540 start
// canvas and nothing happening.

// benchmark first: Xlib defines macros that clash with common names.
#include <benchmark/benchmark.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// A point of the canvas picture's blank area on the screen: the main
// window's client at (50, 68), the picture at client (257, 22).
constexpr int kCanvasX = 50 + 257 + 250, kCanvasY = 68 + 22 + 270;

unsigned long pixelAt(Display* display, int x, int y)
{
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return 0;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
}

// Paints the probe point black so that the next program's white canvas is
// seen arriving, not the last one's.
void blackenProbe(Display* display)
{
    Window root = DefaultRootWindow(display);
    XSetWindowBackground(display, root, BlackPixel(display, DefaultScreen(display)));
    XClearWindow(display, root);
    XSync(display, False);
}

double residentMiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

void BM_EditorStartup(benchmark::State& state)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        state.SkipWithError("no X display (set DISPLAY, for example to an Xvfb)");
        return;
    }
    double rss = 0;
    for (auto _ : state) {
        blackenProbe(display);
        char program[] = TESSERINE_PROGRAM;
        char* argv[] = { program, nullptr };
        pid_t pid = 0;
        const auto start = Clock::now();
        if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start the editor");
            break;
        }
        while (pixelAt(display, kCanvasX, kCanvasY) != 0xFFFFFF && Clock::now() - start < std::chrono::seconds(30))
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        std::this_thread::sleep_for(std::chrono::seconds(1));
        rss = residentMiB(pid);
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    state.counters["rss_at_rest_mib"] = rss;
    XCloseDisplay(display);
}
BENCHMARK(BM_EditorStartup)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
