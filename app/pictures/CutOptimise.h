#pragma once

#include <iosfwd>

class FNImage;

// Erode the mark by one pixel: from a copy of the region taken before the
// pass, every inner pixel (the outermost ring is never changed) with a
// 4-neighbour that lacks the mark's colour becomes the clear value.
void q_Erode(FNImage& region);
// Dilate the mark by one pixel: every inner pixel whose left or right, or
// else upper or lower, neighbour in the copy has the mark's colour becomes
// the mark value.
void q_Dilate(FNImage& region);

// Shrinks a generous mark onto the object of the part:
//  a. boundary pixels: inner pixels (the part's outermost ring excluded)
//     opaque in both region and part with a 4-neighbour transparent in
//     either, in scan order;
//  b. writes "境界線対象色の数:" and their number to `log` (one line, flushed);
//  c. from each boundary pixel, breadth first through marked pixels whose
//     part colour lies within +-15 of that pixel's colour in every byte, one
//     visited map shared by all seeds;
//  d. every visited pixel of the region becomes the clear value;
//  e. erode twice, dilate four times.
// Returns the number of boundary pixels.
int q_OptimiseCutRegion(FNImage& region, const FNImage& part, std::ostream& log);
