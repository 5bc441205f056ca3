#pragma once

#include <cstdint>

class FNImage;

// The cut region R marks which pixels of a part are kept: a pixel is marked
// when its alpha byte is not 0. Only two pixel words are ever written into it.
constexpr uint32_t q_kMarkValue = 0xFFFF40FFu; // opaque pink-violet (B FF, G 40, R FF)
constexpr uint32_t q_kClearValue = 0x00FFFFFFu; // transparent white

// True when the pixel's three colour bytes equal the mark's (alpha ignored).
inline bool q_HasMarkColour(uint32_t pixel)
{
    return (pixel & 0x00FFFFFFu) == (q_kMarkValue & 0x00FFFFFFu);
}

// Pen disc: offsets lo <= i, k < hi with lo = -(s/2), hi = (s+1)/2 and
// i^2 + k^2 <= (s/2)^2; pixel (cx + k, cy + i) becomes the mark. For even s
// the disc lacks its last row and column (size 2: three pixels).
void q_PenDisc(FNImage& region, int size, int cx, int cy);
// Eraser disc: the same with both ends included, writing the clear value, so
// it is symmetric about its centre (size 2: the five pixels of a plus).
void q_EraserDisc(FNImage& region, int size, int cx, int cy);
// Stamp the disc at every point of the line walk from (x0, y0) to (x1, y1);
// the start point itself is not stamped.
void q_PenLine(FNImage& region, int size, int x0, int y0, int x1, int y1);
void q_EraserLine(FNImage& region, int size, int x0, int y0, int x1, int y1);
