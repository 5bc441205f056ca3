#include "widgets/controls/FNFloatScroll.h"

#include <algorithm>

FNFloatScroll::FNFloatScroll(Axis axis)
    : FNScrollBarBase(axis, 0, 0, 1, 1)
{
    FN_SET_CLASS_NAME(FNFloatScroll);
}

FNHFloatScroll::FNHFloatScroll()
    : FNFloatScroll(Axis::Horizontal)
{
    FN_SET_CLASS_NAME(FNHFloatScroll);
}

FNVFloatScroll::FNVFloatScroll()
    : FNFloatScroll(Axis::Vertical)
{
    FN_SET_CLASS_NAME(FNVFloatScroll);
}

// ---- Value ------------------------------------------------------------------------

void FNFloatScroll::SetRange(double a, double b)
{
    m_minimum = a;
    m_maximum = a > b ? a : b;
    // The thumb's length follows the range; the limited value places it.
    Settle(Limited(m_value), ThumbPositionForValue(Limited(m_value)));
}

void FNFloatScroll::SetValue(double x)
{
    const double v = Limited(x);
    Settle(v, ThumbPositionForValue(v));
}

void FNFloatScroll::SetThumbPosition(int p)
{
    const int position = p <= 0 ? 0 : std::min(p, Travel());
    Settle(ValueAtThumbPosition(position), position);
}

void FNFloatScroll::Settle(double newValue, int position)
{
    const bool changed = newValue != m_value;
    m_value = newValue;
    PlaceThumb(position);
    Notify(changed);
}

double FNFloatScroll::Limited(double x) const
{
    if (!(x > m_minimum))
        return m_minimum;
    return x > m_maximum ? m_maximum : x;
}

// ---- Parts ---------------------------------------------------------------------------

void FNFloatScroll::StepBy(int direction)
{
    SetValue(m_value + direction * step);
}

void FNFloatScroll::PageBy(int direction)
{
    SetThumbPosition(ThumbPosition() + direction * ThumbLength());
}

void FNFloatScroll::DragThumbTo(int position)
{
    SetThumbPosition(position);
}

void FNFloatScroll::Reapply()
{
    SetRange(m_minimum, m_maximum);
    SetValue(m_value);
}

// ---- Geometry -----------------------------------------------------------------------

int FNFloatScroll::ThumbLength() const
{
    const int track = TrackLength();
    return ProportionalThumbLength(track, m_maximum - m_minimum, track);
}

int FNFloatScroll::ThumbPositionForValue(double v) const
{
    return PositionForOffset(Limited(v) - m_minimum, m_maximum - m_minimum);
}

double FNFloatScroll::ValueAtThumbPosition(int p) const
{
    if (p <= 0)
        return m_minimum;
    if (p >= Travel())
        return m_maximum;
    return m_minimum + (m_maximum - m_minimum) * p / Travel();
}
