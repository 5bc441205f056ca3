#pragma once

#include "widgets/controls/FNScrollBarBase.h"

// FNVScroll: the vertical scroll bar of lists (list views, the drop-down's
// pop-up list). It scrolls `count` rows of which `visible` fit at once; its
// value is the first row shown, from 0 to count - visible (0 when all fit).
//
//   thumb length   track * visible / count, rounded, at least 10; the whole
//                  track when every row fits
//   thumb position the value's share of the travel, rounded; a dragged thumb
//                  snaps to the nearest row
//   arrows         one row back or forward, repeated while held (like the
//                  float bars: at once, after 300 ms, then every 50 ms)
//   track press    one page (the visible rows) toward the pointer
//   events         23 when a setting changed the value, else 24; only while
//                  the bar is on a stage
class FNVScroll : public FNScrollBarBase {
public:
    FNVScroll(int x, int y, int w, int h);

    // Negative numbers count as 0; the value is limited again.
    void SetRange(int count, int visible);
    void SetValue(int row);
    int Value() const { return m_value; }
    int Count() const { return m_count; }
    int Visible() const { return m_visible; }
    // The last first row: count - visible, or 0 when every row fits.
    int Maximum() const;

    // ---- Geometry -----------------------------------------------------------
    int ThumbLength() const override;
    int ThumbPositionForValue(int row) const;
    // The nearest row for a thumb position (0 at or before the start, the
    // maximum at or past the travel's end).
    int ValueAtThumbPosition(int p) const;

protected:
    void StepBy(int direction) override;
    void PageBy(int direction) override;
    void DragThumbTo(int position) override;
    void Reapply() override;

private:
    int m_count = 0;
    int m_visible = 0;
    int m_value = 0;
};
