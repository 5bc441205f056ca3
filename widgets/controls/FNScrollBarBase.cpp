#include "widgets/controls/FNScrollBarBase.h"

#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/scene/FN2DItem.h"
#include "framework/stage/FNEmit.h"
#include "widgets/looks/FNLooks.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The normal, hover and pressed faces of one sub-button.
std::vector<FNLookFunc> scrollButtonFaces(FNScrollPart part)
{
    std::vector<FNLookFunc> faces;
    for (int state : { FNButtonNormal, FNButtonHover, FNButtonPressed }) {
        faces.emplace_back([part, state](FNImage* target, int w, int h, FNLookInfo info) {
            info.value = part;
            info.state = state;
            FNScrollButtonLook(target, w, h, info);
        });
    }
    return faces;
}

FNScrollPart backArrowPart(FNScrollBarBase::Axis axis)
{
    return axis == FNScrollBarBase::Axis::Horizontal ? FNScrollArrowLeft : FNScrollArrowUp;
}

FNScrollPart forwardArrowPart(FNScrollBarBase::Axis axis)
{
    return axis == FNScrollBarBase::Axis::Horizontal ? FNScrollArrowRight : FNScrollArrowDown;
}

} // namespace

FNScrollBarBase::FNScrollBarBase(Axis axis, int x, int y, int w, int h)
    : FNWidget(x, y, w, h)
    , m_axis(axis)
    , m_track(0, 0, 1, 1)
    , m_backArrow(0, 0, 1, 1, FNString(), scrollButtonFaces(backArrowPart(axis)))
    , m_forwardArrow(0, 0, 1, 1, FNString(), scrollButtonFaces(forwardArrowPart(axis)))
    , m_thumb(0, 0, 1, 1, FNString(), scrollButtonFaces(FNScrollThumb))
{
    FN_SET_CLASS_NAME(FNScrollBarBase);
    m_trackLook.Set(FNLookInfo(), &FNScrollTrackLook);
    m_repeat.SetOnFinish(&FNScrollBarBase::OnRepeatTimer, this);
}

FNScrollBarBase::~FNScrollBarBase()
{
    m_trackConnector.reset();
    m_backConnector.reset();
    m_forwardConnector.reset();
    m_thumbConnector.reset();
}

void FNScrollBarBase::OnItemCreated()
{
    Layout();
    AddChild(&m_track);
    m_track.Item()->solidHit = true; // pages wherever the groove is pressed
    AddChild(&m_backArrow);
    AddChild(&m_forwardArrow);
    AddChild(&m_thumb); // last: on top of the track
    m_trackConnector = std::make_unique<FNEventConnector>(m_track.Item());
    m_trackConnector->Connect(FNEvent::LeftDown, &FNScrollBarBase::OnTrackPress, this);
    for (auto* connector : { &m_backConnector, &m_forwardConnector }) {
        FNPushButton& arrow = connector == &m_backConnector ? m_backArrow : m_forwardArrow;
        *connector = std::make_unique<FNEventConnector>(arrow.Item());
        (*connector)->Connect(FNEvent::LeftDown, &FNScrollBarBase::OnArrowPress, this);
        (*connector)->Connect(FNEvent::LeftUp, &FNScrollBarBase::OnArrowRelease, this);
    }
    m_thumbConnector = std::make_unique<FNEventConnector>(m_thumb.Item());
    m_thumbConnector->Connect(FNEvent::LeftDown, &FNScrollBarBase::OnThumbPress, this);
    m_thumbConnector->Connect(FNEvent::MouseMove, &FNScrollBarBase::OnThumbMove, this);
    m_thumbConnector->Connect(FNEvent::LeftUp, &FNScrollBarBase::OnThumbRelease, this);
}

// ---- Layout -------------------------------------------------------------------------

void FNScrollBarBase::Repaint()
{
    m_trackLook.Draw(&m_trackFace, m_track.Width(), m_track.Height());
    m_track.SetPicture(&m_trackFace);
    Redraw();
}

void FNScrollBarBase::OnResized(int, int)
{
    Layout();
    Repaint();
    Reapply();
}

void FNScrollBarBase::OnEnabledChanged(bool enabled)
{
    if (!enabled)
        StopRepeat(); // a disabled arrow never hears its release
}

void FNScrollBarBase::OnHide()
{
    StopRepeat();
}

void FNScrollBarBase::OnDetach()
{
    StopRepeat();
}

void FNScrollBarBase::Layout()
{
    Place(m_backArrow, BackArrowRect());
    Place(m_forwardArrow, ForwardArrowRect());
    Place(m_track, TrackRect());
    PlaceThumb(m_thumbPosition);
}

void FNScrollBarBase::Place(FNWidget& part, const FNRect& rect)
{
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (part.Width() == w && part.Height() == h)
        part.MoveTo(rect.left, rect.top); // same size: the faces stay as painted
    else
        part.SetRect(rect.left, rect.top, w, h);
}

void FNScrollBarBase::PlaceThumb(int position)
{
    m_thumbPosition = position;
    Place(m_thumb, ThumbRect());
    Redraw();
}

void FNScrollBarBase::Notify(bool changed)
{
    if (IsOnStage())
        FNEmitToWidget(this, changed ? FNEvent::ValueChanged : FNEvent::ValueUnchanged);
}

// ---- Geometry -----------------------------------------------------------------------

int FNScrollBarBase::Length() const
{
    return m_axis == Axis::Horizontal ? Width() : Height();
}

int FNScrollBarBase::Thickness() const
{
    return m_axis == Axis::Horizontal ? Height() : Width();
}

int FNScrollBarBase::TrackLength() const
{
    return std::max(0, Length() - 2 * ArrowLength());
}

int FNScrollBarBase::Travel() const
{
    return std::max(0, TrackLength() - ThumbLength());
}

FNRect FNScrollBarBase::Span(int from, int length) const
{
    if (m_axis == Axis::Horizontal)
        return FNRect { from, 0, from + length, Thickness() };
    return FNRect { 0, from, Thickness(), from + length };
}

FNRect FNScrollBarBase::BackArrowRect() const
{
    return Span(0, ArrowLength());
}

FNRect FNScrollBarBase::ForwardArrowRect() const
{
    return Span(Length() - ArrowLength(), ArrowLength());
}

FNRect FNScrollBarBase::TrackRect() const
{
    return Span(ArrowLength(), TrackLength());
}

FNRect FNScrollBarBase::ThumbRect() const
{
    return Span(ArrowLength() + m_thumbPosition, ThumbLength());
}

int FNScrollBarBase::PositionForOffset(double offset, double range) const
{
    if (range == 0)
        return 0;
    const double position = std::trunc(offset * Travel() / range + 0.5);
    // Written so that a NaN lands on 0 too.
    if (!(position > 0))
        return 0;
    return position >= Travel() ? Travel() : static_cast<int>(position);
}

int FNScrollBarBase::ProportionalThumbLength(int track, double range, double visible)
{
    const double whole = range + visible;
    if (!(whole > 0))
        return std::max(track, kMinimumThumbLength);
    const double length = std::trunc(track * visible / whole + 0.5);
    if (!(length > kMinimumThumbLength))
        return kMinimumThumbLength;
    return length >= track ? track : static_cast<int>(length);
}

int FNScrollBarBase::Along(const FNEventState& event, bool screen) const
{
    const double along = m_axis == Axis::Horizontal ? (screen ? event.screenX : event.localX)
                                                    : (screen ? event.screenY : event.localY);
    return static_cast<int>(along);
}

// ---- Pointer ------------------------------------------------------------------------

void FNScrollBarBase::OnTrackPress(FNEventState event)
{
    // Pages toward the pointer: forward when the thumb starts before it.
    PageBy(m_thumbPosition < Along(event, false) ? +1 : -1);
}

void FNScrollBarBase::OnThumbPress(FNEventState event)
{
    m_drag.Begin(Along(event, true), m_thumbPosition);
}

void FNScrollBarBase::OnThumbMove(FNEventState event)
{
    if (m_drag.active)
        DragThumbTo(m_drag.PositionAt(Along(event, true)));
}

void FNScrollBarBase::OnThumbRelease(FNEventState)
{
    m_drag.End();
    Redraw();
}

// An arrow held down, by the repeat timer's runs:
//
//   when                      what happens
//   press                     one step at once; a 300 ms run starts
//   held 300 ms               one step; the run becomes a 50 ms loop
//   every further 50 ms held  one step
//   release                   the loop stops; no step follows
//
// A run ends at the first engine step at or past its duration: steps come
// at most one engine step late, never early. A stopped run still finishes
// once more, which then finds no arrow held.
void FNScrollBarBase::OnArrowPress(FNEventState event)
{
    m_heldDirection = event.item == m_backArrow.Item() ? -1 : +1;
    StepBy(m_heldDirection);
    m_repeat.duration = kFirstRepeatDelay;
    m_repeat.loop = false;
    m_repeat.Start();
}

void FNScrollBarBase::OnArrowRelease(FNEventState)
{
    StopRepeat();
}

bool FNScrollBarBase::OnRepeatTimer(FNAnimeData)
{
    if (m_heldDirection == 0)
        return false;
    StepBy(m_heldDirection);
    m_repeat.duration = kRepeatInterval;
    m_repeat.loop = true;
    return false;
}

void FNScrollBarBase::StopRepeat()
{
    m_heldDirection = 0;
    m_repeat.Stop();
}
