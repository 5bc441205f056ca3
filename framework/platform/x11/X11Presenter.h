#pragma once

// Copies pictures into windows for one display connection. Private to the
// X11 backend: only its .cpp files include this header.
//
// The presenter keeps one image that grows to the largest area presented so
// far: in shared memory (MIT-SHM) when the server offers it and the picture's
// words are the server's pixels, else in ordinary memory sent with each
// request. Used by one thread at a time, like its connection.

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

class FNImage;

class X11Presenter {
public:
    // Decides how to send pixels on the newly opened display.
    void Open(Display* display);
    // Frees the image; called before the display closes.
    void Close();
    // Copies the rectangle (left, top, width, height) of picture, already
    // clipped to it, to the same place in window.
    void Present(Window window, GC gc, const FNImage& picture, int left, int top, int width, int height);

private:
    bool EnsureImage(int width, int height);
    bool CreateSharedImage(int width, int height);
    bool CreatePlainImage(int width, int height);
    void ReleaseImage();
    void CopyRows(const FNImage& picture, int left, int top, int width, int height);

    Display* m_display = nullptr;
    XImage* m_image = nullptr;
    XShmSegmentInfo m_shm {};
    bool m_useShm = false;
    bool m_fastPixels = false;
};
