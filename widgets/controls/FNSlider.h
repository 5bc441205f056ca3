#pragma once

#include "framework/core/FNRect.h"
#include "imaging/FNImage.h"
#include "widgets/base/FNWidget.h"
#include "widgets/controls/FNPushButton.h"
#include "widgets/controls/ThumbDrag.h"
#include "widgets/looks/FNLook.h"

#include <memory>

class FNEventConnector;
struct FNEventState;

// FNSlider: an integer in [minimum, maximum] chosen by dragging a 12 pixel
// wide thumb along a groove. It always sits at x = 25 of its parent.
//
//   track      the whole slider; a press centres the thumb on the pointer
//   thumb      a push button; pressed and moved, it follows the pointer
//   value      thumb x = (value - minimum) * t / (maximum - minimum) and
//              value = minimum + (maximum - minimum) * x / t, integer
//              divisions, with the travel t = width - 12
//   presses    on the track or the thumb reach the slider's listeners too
//   events     23 ValueChanged or 24 ValueUnchanged after every setting,
//              only while the slider is on a stage (unplaced, a setting is
//              stored and the thumb put where the value will show)
//
// Owners set `minimum` and `maximum` and then call SetValue. Subclasses may
// paint their own groove by setting `look` before the slider is placed.
class FNSlider : public FNWidget {
public:
    static constexpr int kX = 25;
    static constexpr int kThumbWidth = 12;

    FNSlider(int y, int w, int h);
    ~FNSlider() override;

    // The value limited to the range, the thumb moved to it; on a stage 23
    // or 24 is raised.
    void SetValue(int v);
    // The thumb to x (limited to the travel), the value from where it lies.
    void SetThumbPosition(int p);
    int Value() const { return m_value; }

    // ---- Geometry (slider coordinates) ---------------------------------------
    // How far the thumb can move: width - 12, never below 0.
    int Travel() const;
    // The thumb's x for a value of the range (0 when the range is empty).
    int ThumbXForValue(int v) const;
    // The value for a thumb x, which is first limited to [0, travel].
    int ValueAtThumbX(int p) const;
    int ThumbX() const { return m_thumb.X(); }
    FNRect ThumbRect() const;

    void Repaint() override;
    void OnEnabledChanged(bool enabled) override;
    // The track takes the new size, the thumb the new height; the value is
    // limited again and applied twice.
    void OnResized(int w, int h) override;

    int minimum = 0;
    int maximum = 0;
    FNLook look;

protected:
    void OnItemCreated() override;

private:
    void OnTrackPress(FNEventState event);
    void OnThumbPress(FNEventState event);
    void OnThumbMove(FNEventState event);
    void OnThumbRelease(FNEventState event);
    // Moves the thumb, stores the value and tells listeners.
    void Settle(int thumbX, int newValue);

    FNImage m_groove { 1, 1 };
    FNWidget m_track;
    FNPushButton m_thumb;
    std::unique_ptr<FNEventConnector> m_trackConnector;
    std::unique_ptr<FNEventConnector> m_thumbConnector;
    FNThumbDrag m_drag;
    int m_value = 0;
};
