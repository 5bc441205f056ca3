#include "app/pictures/CanvasLimit.h"

#include "imaging/FNImage.h"

#include <algorithm>

bool q_LimitCanvasSize(FNImage& canvas)
{
    if (canvas.width <= q_kMaxCanvasSide && canvas.height <= q_kMaxCanvasSide)
        return false;
    const double f = double(q_kMaxCanvasSide) / std::max(canvas.width, canvas.height);
    // A side that would shrink to 0 (an extreme strip) is kept at 1 pixel:
    // a zero size has no scale to resample with.
    const int newHeight = std::max(static_cast<int>(canvas.height * f), 1);
    const int newWidth = std::max(static_cast<int>(canvas.width * f), 1);
    return canvas.transform(newWidth, newHeight, 0);
}
