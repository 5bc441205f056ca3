#pragma once

class FNImage;

// The longest canvas side the editor works with.
constexpr int q_kMaxCanvasSide = 1200;

// The size a canvas of width x height is scaled to when it is opened: with
// f = 1200.0 / max(width, height), each side becomes trunc(side * f) in double
// arithmetic, so the longer side becomes 1200, or 1199 for the few sizes where
// the product falls just below (2191 is one). A side that would become 0 is
// kept at 1. Returns false (and the size unchanged) when no side exceeds 1200.
bool q_LimitedCanvasSize(int width, int height, int& newWidth, int& newHeight);

// Scales an opened canvas wider or higher than 1200 pixels down with
// transform(newWidth, newHeight, 0) and keeps exactly newWidth x newHeight of
// the result (transform's bounding box is one pixel larger for a
// reduction). Returns true when scaled.
bool q_LimitCanvasSize(FNImage& canvas);
