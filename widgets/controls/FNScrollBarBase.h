#pragma once

#include "framework/animation/FNAnimation.h"
#include "framework/core/FNRect.h"
#include "imaging/FNImage.h"
#include "widgets/base/FNWidget.h"
#include "widgets/controls/FNPushButton.h"
#include "widgets/controls/ThumbDrag.h"
#include "widgets/looks/FNLook.h"

#include <cstdint>
#include <memory>

class FNEventConnector;
struct FNEventState;

// FNScrollBarBase: the parts and the pointer handling shared by the scroll
// bars (FNHFloatScroll, FNVFloatScroll, FNVScroll). Along its long axis a bar
// holds a back arrow, the track and a forward arrow; the thumb lies on the
// track. Arrows are as long as the bar is thick.
//
//   arrow        steps back or forward at once and again while held
//   track        a press pages toward the pointer
//   thumb        pressed and moved, it follows the pointer
//
// What a step, a page and a thumb position mean for the value is the
// subclass's: it also says how long the thumb is. Events 23 and 24 are
// raised only while the bar is on a stage.
class FNScrollBarBase : public FNWidget {
public:
    enum class Axis { Horizontal, Vertical };
    static constexpr int kMinimumThumbLength = 10;
    // Arrow repeat (milliseconds of the platform clock).
    static constexpr uint32_t kFirstRepeatDelay = 300;
    static constexpr uint32_t kRepeatInterval = 50;

    FNScrollBarBase(Axis axis, int x, int y, int w, int h);
    ~FNScrollBarBase() override;

    // ---- Geometry (bar coordinates) -------------------------------------------
    int Length() const; // along the bar
    int Thickness() const; // across it
    int ArrowLength() const { return Thickness(); }
    // Bar length minus both arrows (never below 0).
    int TrackLength() const;
    virtual int ThumbLength() const = 0;
    // How far the thumb moves on the track (never below 0).
    int Travel() const;
    // The thumb's offset from the track's start.
    int ThumbPosition() const { return m_thumbPosition; }
    FNRect BackArrowRect() const;
    FNRect ForwardArrowRect() const;
    FNRect TrackRect() const;
    FNRect ThumbRect() const;

    void Repaint() override;
    void OnResized(int w, int h) override;
    // A held arrow stops repeating when the bar is disabled, hidden or
    // taken out of its parent.
    void OnEnabledChanged(bool enabled) override;
    void OnHide() override;
    void OnDetach() override;

protected:
    // The subclass's meaning of the parts; `direction` is -1 (back, toward
    // the start) or +1.
    virtual void StepBy(int direction) = 0;
    virtual void PageBy(int direction) = 0;
    virtual void DragThumbTo(int position) = 0;
    // After a new layout: the range and the value are applied again.
    virtual void Reapply() = 0;

    // Helpers for the value models, on the current travel:
    // the thumb position for an offset into a range of values, rounded to
    // the nearest pixel (0 when the range is empty);
    int PositionForOffset(double offset, double range) const;
    // a thumb showing how much of the whole is visible:
    // trunc(track * visible / (range + visible) + 0.5), at least 10, the
    // whole track when nothing is visible and the range is empty.
    static int ProportionalThumbLength(int track, double range, double visible);

    // The thumb at a track offset (and at the current thumb length).
    void PlaceThumb(int position);
    // Raises 23 when `changed`, else 24, while the bar is on a stage.
    void Notify(bool changed);
    void OnItemCreated() override;

    Axis m_axis;

private:
    // A rectangle from a span along the bar and the bar's whole thickness.
    FNRect Span(int from, int length) const;
    void Place(FNWidget& part, const FNRect& rect);
    void Layout();
    // The pointer's coordinate along the bar: on the screen, or in the
    // pressed part's own coordinates.
    int Along(const FNEventState& event, bool screen) const;

    void OnArrowPress(FNEventState event);
    void OnArrowRelease(FNEventState event);
    void OnTrackPress(FNEventState event);
    void OnThumbPress(FNEventState event);
    void OnThumbMove(FNEventState event);
    void OnThumbRelease(FNEventState event);
    bool OnRepeatTimer(FNAnimeData data);
    void StopRepeat();

    FNLook m_trackLook;
    FNImage m_trackFace { 1, 1 };
    FNWidget m_track;
    FNPushButton m_backArrow;
    FNPushButton m_forwardArrow;
    FNPushButton m_thumb;
    std::unique_ptr<FNEventConnector> m_trackConnector;
    std::unique_ptr<FNEventConnector> m_backConnector;
    std::unique_ptr<FNEventConnector> m_forwardConnector;
    std::unique_ptr<FNEventConnector> m_thumbConnector;
    FNAnimation m_repeat;
    int m_heldDirection = 0; // the arrow held down: -1, +1, or 0 for none
    FNThumbDrag m_drag;
    int m_thumbPosition = 0;
};
