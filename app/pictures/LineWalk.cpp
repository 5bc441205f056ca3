#include "app/pictures/LineWalk.h"

#include <cstdlib>

q_LineWalk::q_LineWalk(int x0, int y0, int x1, int y1)
{
    const int dx = x1 - x0, dy = y1 - y0;
    const int ax = std::abs(dx), ay = std::abs(dy);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    m_xMajor = ax >= ay;
    // The minor coordinate rounds down along a forward walk and up otherwise.
    m_forward = m_xMajor ? dy > 0 : dx > 0;
    m_major = m_xMajor ? x0 : y0;
    m_minor = m_xMajor ? y0 : x0;
    m_majorStep = m_xMajor ? sx : sy;
    m_minorStep = m_xMajor ? sy : sx;
    m_majorLength = m_xMajor ? ax : ay;
    m_minorLength = m_xMajor ? ay : ax;
    m_stepsLeft = m_majorLength;
}

bool q_LineWalk::next(int& x, int& y)
{
    if (m_stepsLeft <= 0)
        return false;
    --m_stepsLeft;
    m_major += m_majorStep;
    if (m_forward) {
        m_error += m_minorLength;
        if (m_error >= m_majorLength) {
            m_minor += m_minorStep;
            m_error -= m_majorLength;
        }
    } else {
        m_error -= m_minorLength;
        if (m_error < 0) {
            m_minor += m_minorStep;
            m_error += m_majorLength;
        }
    }
    x = m_xMajor ? m_major : m_minor;
    y = m_xMajor ? m_minor : m_major;
    return true;
}
