#pragma once

// FNExWindowMenuBar: what a framed window needs of the menu bar it shows
// between its title bar and its client area. The bar itself (its titles,
// panels and keys, drawn with widgets) lives a layer above, in
// widgets/menu/FNMenuBar.h; the window owns it through this interface, makes
// room for it and tells it where it lies.
//
// Thread: the application thread, like the window.
class FNExWindowMenuBar {
public:
    virtual ~FNExWindowMenuBar() = default;

    // Height of the bar in pixels: the client area starts this much lower.
    virtual int Height() const = 0;
    // The bar's rectangle on the frame (frame coordinates), given whenever
    // the frame is laid out anew.
    virtual void Place(int x, int y, int width) = 0;
    // Closes an open panel: the window moved, was hidden, disabled or closed.
    virtual void CloseMenus() = 0;
};
