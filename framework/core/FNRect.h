#pragma once

#include <algorithm>

// An integer rectangle with exclusive right and bottom edges, used for dirty
// regions. It is empty when right <= left or bottom <= top. A dirty rectangle
// is reset to (width, height, 0, 0) so that the next union yields exactly the
// rectangle added.
struct FNRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool isEmpty() const { return right <= left || bottom <= top; }

    void reset(int width, int height)
    {
        left = width;
        top = height;
        right = 0;
        bottom = 0;
    }

    // Union; an empty operand adds nothing.
    void unite(const FNRect& other)
    {
        if (other.isEmpty())
            return;
        if (isEmpty()) {
            *this = other;
            return;
        }
        left = std::min(left, other.left);
        top = std::min(top, other.top);
        right = std::max(right, other.right);
        bottom = std::max(bottom, other.bottom);
    }

    void intersect(const FNRect& other)
    {
        left = std::max(left, other.left);
        top = std::max(top, other.top);
        right = std::min(right, other.right);
        bottom = std::min(bottom, other.bottom);
    }

    bool operator==(const FNRect& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};
