#pragma once

class FNImage;

// The longest canvas side the editor works with.
constexpr int q_kMaxCanvasSide = 1200;

// A canvas wider or higher than 1200 pixels is scaled down (transform, no
// rotation) by f = 1200.0 / max(width, height), each side becoming
// trunc(side * f) in double arithmetic: the longer side becomes 1200, or 1199
// for the few sizes where the product falls just below (2191 is one).
// Returns true when the picture was scaled.
bool q_LimitCanvasSize(FNImage& canvas);
