#pragma once

#include "framework/platform/virtual/VirtualScreen.h"

#include <deque>
#include <thread>

namespace fnvirtual {

class VirtualConnection final : public FNPlatformConnection {
public:
    VirtualConnection();
    ~VirtualConnection() override;

    void Queue(VirtualEvent event);

    int DispatchEvents(FNPlatformListener& listener) override;
    FNWindowId CreateWindow(const FNWindowDesc& desc) override;
    bool DestroyWindow(FNWindowId window) override;
    void Show(FNWindowId window) override { SetVisible(window, true); }
    void Hide(FNWindowId window) override { SetVisible(window, false); }
    void SetGeometry(FNWindowId window, int x, int y, int width, int height) override;
    void SetTitle(FNWindowId window, const std::string& title) override;
    void SetAlpha(FNWindowId window, int alpha) override;
    void SetShape(FNWindowId window, const std::vector<FNPlatformRect>& shape) override;
    void SetWindowState(FNWindowId window, FNWindowState state) override;
    FNWindowState WindowState(FNWindowId window) override;
    FNPlatformRect WorkArea() override;
    void Present(FNWindowId window, const FNImage& image, const FNPlatformRect& area) override;
    void FillRect(FNWindowId window, const FNPlatformRect& area, uint32_t rgb) override;
    void SetCursor(FNWindowId window, int cursorId) override;
    bool QueryPointer(FNPointerState& state) override;
    bool ScreenToClient(FNWindowId window, int& x, int& y) override;
    bool ClientToScreen(FNWindowId window, int& x, int& y) override;
    void KeyboardState(uint8_t table[256]) override;
    void SetCapture(FNWindowId window) override;
    void ReleaseCapture() override;
    void SetFocus(FNWindowId window) override;
    FNWindowId FocusedWindow() override;
    void Activate(FNWindowId window) override;
    FNWindowId ActiveWindow() override;

    // Button changes for the input samples (FNPointerLatch.h): at the
    // pointer's position, over this connection's deepest window there.
    void LatchPress(int x, int y, int buttons);
    void LatchRelease(int x, int y, int buttons);
    void ForgetButtons();
    // This connection's deepest window on the path, or none.
    FNWindowId DeepestOwn(const std::vector<FNWindowId>& path);
    // Moves and sizes a window as the system would, reporting the changes.
    void ChangeGeometry(FNWindowId id, const FNPlatformRect& rect);

protected:
    bool HasPendingEvents() override;
    int EventDescriptor() override { return m_wake; }

private:
    bool OnEngineThread() const { return std::this_thread::get_id() == m_engineThread; }
    VirtualWindow* Own(FNWindowId id);
    void SetVisible(FNWindowId id, bool visible);
    void DestroyTree(FNWindowId id);
    void Deliver(FNPlatformListener& listener, const VirtualEvent& event);

    std::thread::id m_engineThread;
    int m_wake;
    std::deque<VirtualEvent> m_events; // guarded by the screen's lock
};

// The connection that owns the window, or null.
VirtualConnection* ownerOf(FNWindowId id);
// Queues an event for whoever owns the window.
void queueFor(FNWindowId id, VirtualEvent event);

} // namespace fnvirtual
