#pragma once

#include "widgets/controls/FNScrollBarBase.h"

// FNFloatScroll: a scroll bar over a range of doubles, the shared body of
// FNHFloatScroll and FNVFloatScroll (the canvas's scroll bars). Bars are made
// at (0, 0) with size 1 x 1; their owner lays them out with SetRect.
//
//   thumb length   trunc(L * L / (maximum - minimum + L) + 0.5) pixels, at
//                  least 10, with the track length L: the whole track for an
//                  empty range
//   thumb position trunc((value - minimum) * travel / (maximum - minimum)
//                  + 0.5), 0 for an empty range; travel = L - thumb length
//   arrows         value -/+ step, repeated while held
//   track press    the thumb one thumb length toward the pointer
//   events         23 when a setting changed the value, else 24; only while
//                  the bar is on a stage
class FNFloatScroll : public FNScrollBarBase {
public:
    // minimum := a; maximum := b, or a when a > b; the value is limited to
    // the new range and the thumb laid out again.
    void SetRange(double a, double b);
    void SetValue(double x);
    // The value for a thumb position (Travel() and past: the maximum).
    void SetThumbPosition(int p);
    double Value() const { return m_value; }
    double Minimum() const { return m_minimum; }
    double Maximum() const { return m_maximum; }

    // ---- Geometry -----------------------------------------------------------
    int ThumbLength() const override;
    int ThumbPositionForValue(double v) const;
    double ValueAtThumbPosition(int p) const;

    double step = 1.0;

protected:
    explicit FNFloatScroll(Axis axis);

    void StepBy(int direction) override;
    void PageBy(int direction) override;
    void DragThumbTo(int position) override;
    void Reapply() override;

private:
    // x within [minimum, maximum]; a NaN becomes the minimum.
    double Limited(double x) const;
    void Settle(double newValue, int position);

    double m_value = 0;
    double m_minimum = 0;
    double m_maximum = 0;
};

// The horizontal bar: left arrow, track, right arrow.
class FNHFloatScroll : public FNFloatScroll {
public:
    FNHFloatScroll();
};

// The vertical bar: up arrow, track, down arrow.
class FNVFloatScroll : public FNFloatScroll {
public:
    FNVFloatScroll();
};
