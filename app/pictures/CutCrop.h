#pragma once

class FNImage;

// What the cut found: the bounding box of the marked pixels and the size of
// the cropped part (box plus a 2-pixel margin on every side).
struct q_CutBounds {
    int count = 0; // marked pixels of the part; 0 means the part was emptied
    int minX = 10000000, minY = 10000000, maxX = -1, maxY = -1;
    int width = 0, height = 0; // maxX - minX + 5, maxY - minY + 5 when count > 0
};

// The cut: every pixel of the part whose region alpha is 0 (or that lies
// outside the region) becomes transparent; if any pixel was marked, the part
// is replaced by the W x H picture whose pixel (i, j) is the old part's pixel
// (minX - 2 + i, minY - 2 + j), or all zero bytes where that lies outside.
// With nothing marked the part keeps its size with every alpha 0.
q_CutBounds q_CropToCutRegion(FNImage& part, const FNImage& region);
