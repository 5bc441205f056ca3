#include "widgets/controls/FNVScroll.h"

#include <algorithm>
#include <cmath>

FNVScroll::FNVScroll(int x, int y, int w, int h)
    : FNScrollBarBase(Axis::Vertical, x, y, w, h)
{
    FN_SET_CLASS_NAME(FNVScroll);
}

void FNVScroll::SetRange(int count, int visible)
{
    m_count = std::max(0, count);
    m_visible = std::max(0, visible);
    SetValue(m_value);
}

void FNVScroll::SetValue(int row)
{
    row = std::clamp(row, 0, Maximum());
    const bool changed = row != m_value;
    m_value = row;
    PlaceThumb(ThumbPositionForValue(row));
    Notify(changed);
}

int FNVScroll::Maximum() const
{
    return std::max(0, m_count - m_visible);
}

// ---- Parts ---------------------------------------------------------------------------

void FNVScroll::StepBy(int direction)
{
    SetValue(m_value + direction);
}

void FNVScroll::PageBy(int direction)
{
    SetValue(m_value + direction * std::max(1, m_visible));
}

void FNVScroll::DragThumbTo(int position)
{
    SetValue(ValueAtThumbPosition(position));
}

void FNVScroll::Reapply()
{
    SetRange(m_count, m_visible);
}

// ---- Geometry -----------------------------------------------------------------------

int FNVScroll::ThumbLength() const
{
    return ProportionalThumbLength(TrackLength(), Maximum(), std::min(m_visible, m_count));
}

int FNVScroll::ThumbPositionForValue(int row) const
{
    return PositionForOffset(std::clamp(row, 0, Maximum()), Maximum());
}

int FNVScroll::ValueAtThumbPosition(int p) const
{
    if (p <= 0)
        return 0;
    if (p >= Travel())
        return Maximum();
    return static_cast<int>(std::trunc(static_cast<double>(Maximum()) * p / Travel() + 0.5));
}
