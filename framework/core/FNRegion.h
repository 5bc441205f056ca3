#pragma once

#include "framework/core/FNRect.h"

#include <vector>

// A window shape: the union of rectangles in client coordinates. A stage
// that is given a region owns it and applies it to its window; the pointer
// passes through the parts of the window outside it.
class FNRegion {
public:
    FNRegion() = default;
    FNRegion(int left, int top, int right, int bottom) { Add(FNRect { left, top, right, bottom }); }

    // Empty rectangles add nothing.
    void Add(const FNRect& rect)
    {
        if (!rect.isEmpty())
            m_rects.push_back(rect);
    }
    bool Contains(int x, int y) const
    {
        for (const FNRect& rect : m_rects) {
            if (x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom)
                return true;
        }
        return false;
    }
    bool Empty() const { return m_rects.empty(); }
    const std::vector<FNRect>& Rects() const { return m_rects; }

private:
    std::vector<FNRect> m_rects;
};
