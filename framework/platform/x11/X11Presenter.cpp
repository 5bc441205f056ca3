#include "framework/platform/x11/X11Presenter.h"

#include "framework/platform/x11/FNX11Platform.h"
#include "framework/platform/x11/X11ErrorHandlers.h"
#include "framework/platform/x11/X11PixelFormat.h"
#include "imaging/FNImage.h"

#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

namespace {

std::atomic<bool> g_useSharedMemory { true };

void* const kNoAddress = reinterpret_cast<void*>(-1);

} // namespace

void FNX11UseSharedMemory(bool use)
{
    g_useSharedMemory = use;
}

struct X11Presenter::SharedSegment {
    XShmSegmentInfo info {};
};

X11Presenter::X11Presenter() = default;

X11Presenter::~X11Presenter() = default;

void X11Presenter::Open(Display* display)
{
    m_display = display;
    m_fastPixels = X11WordsArePixels(display);
    m_useShm = g_useSharedMemory && m_fastPixels && XShmQueryExtension(display);
}

void X11Presenter::Close()
{
    if (m_display)
        ReleaseImage();
    m_display = nullptr;
}

void X11Presenter::ReleaseImage()
{
    if (!m_image)
        return;
    if (m_shm) {
        XShmDetach(m_display, &m_shm->info);
        XSync(m_display, False);
        shmdt(m_shm->info.shmaddr);
    }
    XDestroyImage(m_image);
    m_image = nullptr;
    m_shm.reset();
}

bool X11Presenter::EnsureImage(int width, int height)
{
    if (m_image && m_image->width >= width && m_image->height >= height)
        return true;
    const int newWidth = std::max(width, m_image ? m_image->width : 0);
    const int newHeight = std::max(height, m_image ? m_image->height : 0);
    ReleaseImage();
    if (m_useShm) {
        if (CreateSharedImage(newWidth, newHeight))
            return true;
        m_useShm = false;
    }
    return CreatePlainImage(newWidth, newHeight);
}

bool X11Presenter::CreateSharedImage(int width, int height)
{
    const int screen = DefaultScreen(m_display);
    const unsigned depth = static_cast<unsigned>(DefaultDepth(m_display, screen));
    auto segment = std::make_unique<SharedSegment>();
    XShmSegmentInfo& shm = segment->info;
    m_image
        = XShmCreateImage(m_display, DefaultVisual(m_display, screen), depth, ZPixmap, nullptr, &shm, width, height);
    if (!m_image)
        return false;
    const int id = shmget(IPC_PRIVATE, static_cast<size_t>(m_image->bytes_per_line) * height, IPC_CREAT | 0600);
    void* address = id >= 0 ? shmat(id, nullptr, 0) : kNoAddress;
    if (address != kNoAddress) {
        shm.shmid = id;
        shm.shmaddr = m_image->data = static_cast<char*>(address);
        shm.readOnly = False;
        const int errorsBefore = X11ThreadErrorCount();
        XShmAttach(m_display, &shm);
        XSync(m_display, False);
        // Marked for removal now: the segment lives until both sides detach.
        shmctl(id, IPC_RMID, nullptr);
        if (X11ThreadErrorCount() == errorsBefore) {
            m_shm = std::move(segment);
            return true;
        }
        // A remote server cannot attach our memory: use plain requests from now on.
        shmdt(address);
    } else if (id >= 0) {
        shmctl(id, IPC_RMID, nullptr);
    }
    m_image->data = nullptr;
    XDestroyImage(m_image);
    m_image = nullptr;
    return false;
}

bool X11Presenter::CreatePlainImage(int width, int height)
{
    const int screen = DefaultScreen(m_display);
    const unsigned depth = static_cast<unsigned>(DefaultDepth(m_display, screen));
    m_image = XCreateImage(m_display, DefaultVisual(m_display, screen), depth, ZPixmap, 0, nullptr,
        static_cast<unsigned>(width), static_cast<unsigned>(height), 32, 0);
    if (!m_image)
        return false;
    m_image->data = static_cast<char*>(std::malloc(static_cast<size_t>(m_image->bytes_per_line) * height));
    if (!m_image->data) {
        XDestroyImage(m_image);
        m_image = nullptr;
        return false;
    }
    return true;
}

void X11Presenter::CopyRows(const FNImage& picture, int left, int top, int width, int height)
{
    const X11ChannelMasks masks = X11DefaultChannelMasks(m_display);
    for (int y = 0; y < height; ++y) {
        const uint32_t* source = picture.row(top + y) + left;
        if (m_fastPixels) {
            std::memcpy(m_image->data + static_cast<size_t>(y) * m_image->bytes_per_line, source,
                static_cast<size_t>(width) * 4);
            continue;
        }
        for (int x = 0; x < width; ++x)
            XPutPixel(m_image, x, y, X11TrueColorPixel(masks, source[x] & 0xFFFFFF));
    }
}

void X11Presenter::Present(Window window, GC gc, const FNImage& picture, int left, int top, int width, int height)
{
    if (!EnsureImage(width, height))
        return;
    CopyRows(picture, left, top, width, height);
    if (m_useShm) {
        XShmPutImage(m_display, window, gc, m_image, 0, 0, left, top, static_cast<unsigned>(width),
            static_cast<unsigned>(height), False);
        // The server reads the shared memory later: wait until it has, so the
        // next Present may write it again.
        XSync(m_display, False);
    } else {
        XPutImage(m_display, window, gc, m_image, 0, 0, left, top, static_cast<unsigned>(width),
            static_cast<unsigned>(height));
        XFlush(m_display);
    }
}
