#include "framework/platform/x11/X11DisplayContext.h"

#include <X11/Xlib.h>

void X11DisplayContext::Open(Display* opened)
{
    display = opened;
    gc = XCreateGC(display, DefaultRootWindow(display), 0, nullptr);
    XSetGraphicsExposures(display, gc, False);
    presenter.Open(display);
}

void X11DisplayContext::Close()
{
    if (!display)
        return;
    presenter.Close();
    cursors.Free(display);
    XFreeGC(display, gc);
    XCloseDisplay(display);
    display = nullptr;
}
