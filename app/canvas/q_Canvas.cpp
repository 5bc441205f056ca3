#include "app/canvas/q_Canvas.h"

#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/platform/FNVirtualKey.h"
#include "imaging/FNImage.h"
#include "widgets/controls/FNFloatScroll.h"

#include <algorithm>
#include <cmath>

namespace {

// Angles in degrees become radians with pi taken as 3.141592.
constexpr double kPi = 3.141592;

double truncated(double v)
{
    return std::trunc(v);
}

} // namespace

q_Canvas::q_Canvas()
    : FN2DItem(500, 500, 240, 10, 1)
{
    FN_SET_CLASS_NAME(q_Canvas);
    passEventsToParent = true;
    m_backdrop = std::make_unique<FNImage>(1, 1);
    m_viewport = std::make_unique<FN2DItem>(1, 1, 0, 0, 0);
    m_viewport->passEventsToParent = true;
    // A zoomed picture and the box over it stay inside the view: not over
    // the scroll bars, not over the command panel beside the canvas.
    m_viewport->clipChildren = true;
    AddChild(m_viewport.get());
    m_viewGroup = std::make_unique<FN2DItem>(0, 0, 0, 0, 1);
    m_viewGroup->passEventsToParent = true;
    m_viewport->AddChild(m_viewGroup.get());
    m_picture = std::make_unique<FN2DItem>(0, 0, 0, 0, 2);
    m_picture->clipChildren = true;
    m_picture->sampling = FNSamplingSharpBilinear;
    m_picture->passEventsToParent = true;
    m_viewGroup->AddChild(m_picture.get());
    m_vertical = std::make_unique<FNVFloatScroll>();
    m_vertical->PlaceIn(this);
    m_horizontal = std::make_unique<FNHFloatScroll>();
    m_horizontal->PlaceIn(this);
    FNWidget* bars[2] = { m_vertical.get(), m_horizontal.get() };
    for (int i = 0; i < 2; ++i) {
        m_scrollConnectors[i] = std::make_unique<FNEventConnector>(bars[i]);
        m_scrollConnectors[i]->Connect(FNEvent::ValueChanged, &q_Canvas::OnScrolled, this);
    }
    FN2DItemBase* bound[2] = { this, m_picture.get() };
    for (int i = 0; i < 2; ++i) {
        FNEventConnector& c = *(m_pointerConnectors[i] = std::make_unique<FNEventConnector>(bound[i]));
        c.Connect(FNEvent::KeyDown, &q_Canvas::OnKey, this);
        c.Connect(FNEvent::KeyUp, &q_Canvas::OnKey, this);
        c.Connect(FNEvent::LeftDown, &q_Canvas::OnPress, this);
        c.Connect(FNEvent::MouseMove, &q_Canvas::OnMove, this);
        c.Connect(FNEvent::LeftUp, &q_Canvas::OnRelease, this);
        c.Connect(FNEvent::Wheel, &q_Canvas::OnWheel, this);
    }
    m_horizontal->SetValue(0);
    m_vertical->SetValue(0);
    PositionView();
    LayOut(x, y, width, height);
}

q_Canvas::~q_Canvas()
{
    for (auto& connector : m_pointerConnectors)
        connector.reset();
    for (auto& connector : m_scrollConnectors)
        connector.reset();
    m_vertical.reset();
    m_horizontal.reset();
    m_viewGroup->RemoveChild(m_picture.get());
    m_picture.reset();
    m_viewport->RemoveChild(m_viewGroup.get());
    m_viewGroup.reset();
    RemoveChild(m_viewport.get());
    m_viewport.reset();
    m_backdrop.reset();
}

// ---- Layout and view ------------------------------------------------------------------

double q_Canvas::ViewWidth() const
{
    return m_viewport->width;
}

double q_Canvas::ViewHeight() const
{
    return m_viewport->height;
}

void q_Canvas::LayOut(double newX, double newY, double w, double h)
{
    SetRect(newX, newY, w, h);
    const int vw = std::max(1, static_cast<int>(w) - kBarThickness);
    const int vh = std::max(1, static_cast<int>(h) - kBarThickness);
    // The backdrop: one pixel, then the filled span doubled by block copies.
    m_backdrop->resize(vw, vh);
    m_backdrop->fill((kBackdrop >> 16) & 255, (kBackdrop >> 8) & 255, kBackdrop & 255, kBackdrop >> 24);
    m_viewport->SetRect(0, 0, vw, vh);
    m_viewport->SetPicture(m_backdrop.get());
    m_vertical->SetRect(vw, 0, kBarThickness, vh);
    m_horizontal->SetRect(0, vh, vw, kBarThickness);
    UpdateScrollRanges();
    m_horizontal->SetValue(m_horizontal->Value());
    m_vertical->SetValue(m_vertical->Value());
    PositionView();
}

void q_Canvas::ShowPicture(FNImage* picture)
{
    m_shown = picture;
    m_picture->SetPicture(picture);
    if (picture)
        m_picture->Resize(picture->width, picture->height);
    PositionView();
    UpdateScrollRanges();
}

double q_Canvas::Zoom() const
{
    return m_picture->scaleX;
}

void q_Canvas::SetZoom(double zoom)
{
    zoom = std::clamp(zoom, kMinimumZoom, kMaximumZoom);
    m_picture->Invalidate(true);
    m_picture->scaleX = zoom;
    m_picture->UpdateTransform();
    m_picture->Invalidate(true);
    m_picture->scaleY = zoom;
    m_picture->UpdateTransform();
    m_picture->Invalidate(true);
    UpdateScrollRanges();
    if (zoomChanged)
        zoomChanged();
}

double q_Canvas::Snapped(double zoom)
{
    return zoom > 0.92 && zoom < 1.08 ? 1.0 : zoom;
}

// The picture's rectangle about its centre, zoomed and turned by its angle:
// its bounding box widened by half the viewport on every side.
void q_Canvas::UpdateScrollRanges()
{
    const double z = Zoom(), r = m_picture->rotation * kPi / 180.0;
    const double hw = m_picture->width * z / 2, hh = m_picture->height * z / 2;
    const double c = std::cos(r), s = std::sin(r);
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (const double u : { -hw, hw }) {
        for (const double v : { -hh, hh }) {
            const double px = u * c - v * s, py = u * s + v * c;
            minX = std::min(minX, px), maxX = std::max(maxX, px);
            minY = std::min(minY, py), maxY = std::max(maxY, py);
        }
    }
    m_limits[0] = minX - ViewWidth() / 2;
    m_limits[1] = maxX + ViewWidth() / 2;
    m_limits[2] = minY - ViewHeight() / 2;
    m_limits[3] = maxY + ViewHeight() / 2;
    const double horizontal = m_horizontal->Value(), vertical = m_vertical->Value();
    m_horizontal->SetRange(m_limits[0], m_limits[1]);
    m_vertical->SetRange(m_limits[2], m_limits[3]);
    m_horizontal->SetValue(horizontal);
    m_vertical->SetValue(vertical);
}

void q_Canvas::PositionView()
{
    m_viewGroup->MoveTo((ViewWidth() - m_picture->width) * 0.5 - m_horizontal->Value(),
        (ViewHeight() - m_picture->height) * 0.5 - m_vertical->Value());
}

// ---- Navigation -----------------------------------------------------------------------

bool q_Canvas::KeyHeld(int virtualKey) const
{
    FNEngine* engine = FNEngine::Current();
    return engine && (engine->System().keys[virtualKey] & 0x80) != 0;
}

void q_Canvas::UpdateMode()
{
    if (!KeyHeld(FNKeySpace))
        m_mode = None;
    else if (!KeyHeld(FNKeyControl))
        m_mode = Pan;
    else
        m_mode = KeyHeld(FNKeyAlt) ? ZoomOut : ZoomIn;
}

void q_Canvas::OnKey(FNEventState)
{
    if (!m_dragging)
        UpdateMode();
}

void q_Canvas::OnPress(FNEventState event)
{
    if (m_mode == ZoomOut || m_mode == ZoomIn) {
        SetZoom(Snapped(m_mode == ZoomOut ? Zoom() / 1.5 : Zoom() * 1.5));
        return;
    }
    m_lastX = event.clientX;
    m_lastY = event.clientY;
    m_dragging = true;
}

void q_Canvas::OnMove(FNEventState event)
{
    if (!m_dragging) {
        // Hovering gives the canvas the keys (Space, Ctrl and Alt).
        FNEngine* engine = FNEngine::Current();
        const FN2DItemBase* focused = engine ? engine->current.focusItem : nullptr;
        if (focused != this && focused != m_picture.get())
            RequestFocus();
        return;
    }
    if (m_mode != Pan)
        return;
    const double dx = event.clientX - m_lastX, dy = event.clientY - m_lastY;
    m_viewGroup->MoveBy(truncated(dx + 0.5), truncated(dy + 0.5));
    m_horizontal->SetValue(truncated((ViewWidth() - m_picture->width) * 0.5 - m_viewGroup->x));
    m_vertical->SetValue(truncated((ViewHeight() - m_picture->height) * 0.5 - m_viewGroup->y));
    m_lastX = event.clientX;
    m_lastY = event.clientY;
}

void q_Canvas::OnRelease(FNEventState)
{
    m_dragging = false;
    UpdateMode();
}

void q_Canvas::OnWheel(FNEventState event)
{
    if (m_dragging)
        return;
    SetZoom(Snapped(event.wheel <= 0 ? Zoom() * 1.25 : Zoom() / 1.25));
}

void q_Canvas::OnScrolled(FNEventState)
{
    if (!m_dragging)
        PositionView();
}
