#pragma once

#include "framework/scene/FN2DItem.h"

#include <functional>
#include <memory>

class FNEventConnector;
class FNHFloatScroll;
class FNImage;
class FNVFloatScroll;
struct FNEventState;

// q_Canvas: the editor's view of a picture. Inside a viewport (the canvas
// less 16 pixels on the right and at the bottom, where the two scroll bars
// lie) a view group carries the picture item, which shows the picture at its
// pixel size scaled by the zoom; the part item, the cut overlay and the
// transform box float over it (the first two as children of the picture
// item, in picture pixels; the box in the view group).
//
//   Space + drag             pans (the view group follows the pointer)
//   Space + Ctrl + click     zooms in by 1.5; with Alt too, out
//   wheel toward the user    zooms in by 1.25; away, out
//   scroll bars              pan
// Zooms stay within [0.25, 8]; one that lands strictly between 0.92 and
// 1.08 is exactly 1. The mode (0 none, 1 pan, 3 zoom in, 4 zoom out) comes
// from the key table on key changes and releases, not during a drag.
//
// The canvas, viewport, view group and picture item pass their events on,
// and the canvas's pointer handlers are bound to both the canvas and the
// picture item: an event on the picture runs them twice (a wheel notch over
// the picture zooms by 1.25 twice, over the backdrop once).
//
// The canvas does not own the picture it shows. Thread: application thread.
class q_Canvas : public FN2DItem {
public:
    enum Mode { None = 0, Pan = 1, ZoomIn = 3, ZoomOut = 4 };
    static constexpr int kBarThickness = 16;
    static constexpr double kMinimumZoom = 0.25;
    static constexpr double kMaximumZoom = 8;
    static constexpr uint32_t kBackdrop = 0xFFDCDCEB;

    q_Canvas();
    ~q_Canvas() override;

    void LayOut(double x, double y, double w, double h);
    void ShowPicture(FNImage* picture);
    void SetZoom(double zoom);
    // Called after every zoom change: what floats over the picture in view
    // units (the transform box) follows it.
    std::function<void()> zoomChanged;
    double Zoom() const;
    FNImage* ShownPicture() const { return m_shown; }

    FN2DItem& Viewport() { return *m_viewport; }
    FN2DItem& ViewGroup() { return *m_viewGroup; }
    FN2DItem& PictureItem() { return *m_picture; }
    FNHFloatScroll& HorizontalBar() { return *m_horizontal; }
    FNVFloatScroll& VerticalBar() { return *m_vertical; }
    const FNImage& Backdrop() const { return *m_backdrop; }
    Mode NavigationMode() const { return m_mode; }
    bool IsDragging() const { return m_dragging; }
    // The scroll limits: min x, max x, min y, max y.
    const double* ScrollLimits() const { return m_limits; }

    void OnKey(FNEventState event);
    void OnPress(FNEventState event);
    void OnMove(FNEventState event);
    void OnRelease(FNEventState event);
    void OnWheel(FNEventState event);
    void OnScrolled(FNEventState event);

    // A zoom step: the result, with the snap to exactly 1.
    static double Snapped(double zoom);

protected:
    // Whether a key is held now (the current engine's key table).
    virtual bool KeyHeld(int virtualKey) const;

private:
    void UpdateScrollRanges();
    void PositionView();
    void UpdateMode();
    // The viewport's size.
    double ViewWidth() const;
    double ViewHeight() const;

    std::unique_ptr<FNImage> m_backdrop;
    std::unique_ptr<FN2DItem> m_viewport;
    std::unique_ptr<FN2DItem> m_viewGroup;
    std::unique_ptr<FN2DItem> m_picture;
    std::unique_ptr<FNVFloatScroll> m_vertical;
    std::unique_ptr<FNHFloatScroll> m_horizontal;
    std::unique_ptr<FNEventConnector> m_scrollConnectors[2];
    std::unique_ptr<FNEventConnector> m_pointerConnectors[2];
    FNImage* m_shown = nullptr;
    double m_limits[4] = { 0, 0, 0, 0 };
    Mode m_mode = None;
    bool m_dragging = false;
    double m_lastX = 0, m_lastY = 0;
};
