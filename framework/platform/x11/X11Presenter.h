#pragma once

// Copies pictures into windows for one display connection. Private to the X11
// backend: only its .cpp files and tests include this header.
//
// The presenter keeps one image that grows to the largest area presented so
// far: in shared memory (MIT-SHM) when the server offers it and the picture's
// words are the server's pixels, else in ordinary memory sent with each
// request. Used by one thread at a time, like its connection.

#include "framework/platform/x11/X11Handles.h"

#include <memory>

class FNImage;

class X11Presenter {
public:
    X11Presenter();
    ~X11Presenter();

    // Decides how to send pixels on the newly opened display.
    void Open(_XDisplay* display);
    // Frees the image; called before the display closes.
    void Close();
    // Copies the rectangle (left, top, width, height) of picture, already
    // clipped to it, to the same place in window.
    void Present(X11Window window, _XGC* gc, const FNImage& picture, int left, int top, int width, int height);

private:
    // The image's shared-memory segment (Xlib's XShmSegmentInfo); the image
    // refers to it, so it stays at one address while the image lives.
    struct SharedSegment;

    bool EnsureImage(int width, int height);
    bool CreateSharedImage(int width, int height);
    bool CreatePlainImage(int width, int height);
    void ReleaseImage();
    void CopyRows(const FNImage& picture, int left, int top, int width, int height);

    _XDisplay* m_display = nullptr;
    _XImage* m_image = nullptr;
    std::unique_ptr<SharedSegment> m_shm; // only while the image is shared
    bool m_useShm = false;
    bool m_fastPixels = false;
};
