#pragma once

// q_LineWalk: the integer line stepping shared by every pen of the editor
// (blur pen, cut pen and eraser) and the transform box outline. One pixel per
// step along the major axis; the start point is never yielded and the walk
// ends on the end point.
//
//     q_LineWalk walk(x0, y0, x1, y1);
//     int x, y;
//     while (walk.next(x, y))
//         stamp(x, y);
class q_LineWalk {
public:
    q_LineWalk(int x0, int y0, int x1, int y1);

    // Advances one step and yields the new point; false once the end point
    // has been yielded (at once when both points are equal).
    bool next(int& x, int& y);

private:
    int m_major, m_minor; // current position along the two axes
    int m_majorStep, m_minorStep; // +1 or -1
    int m_majorLength, m_minorLength;
    int m_error = 0;
    int m_stepsLeft;
    bool m_xMajor, m_forward;
};
