#include "widgets/controls/FNSlider.h"

#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/scene/FN2DItem.h"
#include "framework/stage/FNEmit.h"
#include "widgets/looks/FNLooks.h"

#include <algorithm>
#include <cstdint>

FNSlider::FNSlider(int y, int w, int h)
    : FNWidget(kX, y, w, h)
    , m_track(0, 0, w, h)
    , m_thumb(w / 2 - kThumbWidth / 2, 0, kThumbWidth, h, FNString())
{
    FN_SET_CLASS_NAME(FNSlider);
    look.Set(FNLookInfo(), &FNSliderTrackLook);
    // Presses and releases on the parts reach the slider's own listeners
    // too (the editor's colour sliders record a step per release).
    m_track.passToParent = true;
    m_thumb.passToParent = true;
}

FNSlider::~FNSlider()
{
    m_trackConnector.reset();
    m_thumbConnector.reset();
}

void FNSlider::OnItemCreated()
{
    // Geometry set before placing counts for the parts as well.
    m_track.SetRect(0, 0, Width(), Height());
    m_thumb.SetRect(std::min(m_thumb.X(), Travel()), 0, kThumbWidth, Height());
    AddChild(&m_track);
    m_track.Item()->solidHit = true; // the whole groove area takes presses
    AddChild(&m_thumb); // after the track: on top of it
    m_trackConnector = std::make_unique<FNEventConnector>(m_track.Item());
    m_trackConnector->Connect(FNEvent::LeftDown, &FNSlider::OnTrackPress, this);
    m_thumbConnector = std::make_unique<FNEventConnector>(m_thumb.Item());
    m_thumbConnector->Connect(FNEvent::LeftDown, &FNSlider::OnThumbPress, this);
    m_thumbConnector->Connect(FNEvent::MouseMove, &FNSlider::OnThumbMove, this);
    m_thumbConnector->Connect(FNEvent::LeftUp, &FNSlider::OnThumbRelease, this);
}

// A disabled slider's track fades toward the background like a disabled
// button's face (the thumb, a button, fades by itself).
void FNSlider::Repaint()
{
    look.Draw(&m_groove, Width(), Height());
    if (!IsEnabled())
        FNDisabledOverlayLook(&m_groove, Width(), Height(), FNLookInfo());
    m_track.SetPicture(&m_groove);
    Redraw();
}

void FNSlider::OnEnabledChanged(bool)
{
    if (item)
        Repaint();
}

void FNSlider::OnResized(int w, int h)
{
    m_track.SetRect(0, 0, w, h);
    m_thumb.SetRect(m_thumb.X(), 0, kThumbWidth, h);
    Repaint();
    maximum = std::max(maximum, minimum);
    // Listeners hear a resize as two settings of the (re-limited) value.
    SetValue(m_value);
    SetValue(m_value);
}

// ---- Value ------------------------------------------------------------------------

void FNSlider::SetValue(int v)
{
    v = std::min(std::max(v, minimum), maximum);
    Settle(ThumbXForValue(v), v);
}

void FNSlider::SetThumbPosition(int p)
{
    p = std::clamp(p, 0, Travel());
    Settle(p, ValueAtThumbX(p));
}

void FNSlider::Settle(int thumbX, int newValue)
{
    const bool changed = newValue != m_value;
    m_value = newValue;
    m_thumb.MoveTo(thumbX, 0);
    if (IsOnStage())
        FNEmitToWidget(this, changed ? FNEvent::ValueChanged : FNEvent::ValueUnchanged);
    Redraw();
}

// ---- Geometry -----------------------------------------------------------------------

int FNSlider::Travel() const
{
    return std::max(0, Width() - kThumbWidth);
}

int FNSlider::ThumbXForValue(int v) const
{
    const int64_t range = static_cast<int64_t>(maximum) - minimum;
    if (range == 0)
        return 0;
    return static_cast<int>((static_cast<int64_t>(v) - minimum) * Travel() / range);
}

int FNSlider::ValueAtThumbX(int p) const
{
    const int t = Travel();
    p = std::clamp(p, 0, t);
    if (t == 0)
        return minimum;
    return static_cast<int>(minimum + (static_cast<int64_t>(maximum) - minimum) * p / t);
}

FNRect FNSlider::ThumbRect() const
{
    return FNRect { m_thumb.X(), 0, m_thumb.X() + m_thumb.Width(), m_thumb.Height() };
}

// ---- Pointer ------------------------------------------------------------------------

void FNSlider::OnTrackPress(FNEventState event)
{
    SetThumbPosition(static_cast<int>(event.localX) - kThumbWidth / 2);
}

void FNSlider::OnThumbPress(FNEventState event)
{
    m_drag.Begin(event.screenX, m_thumb.X());
}

void FNSlider::OnThumbMove(FNEventState event)
{
    if (m_drag.active)
        SetThumbPosition(m_drag.PositionAt(event.screenX));
}

void FNSlider::OnThumbRelease(FNEventState)
{
    m_drag.End();
    Redraw();
}
