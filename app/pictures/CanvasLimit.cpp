#include "app/pictures/CanvasLimit.h"

#include "imaging/FNImage.h"

#include <algorithm>

bool q_LimitedCanvasSize(int width, int height, int& newWidth, int& newHeight)
{
    newWidth = width, newHeight = height;
    if (width <= q_kMaxCanvasSide && height <= q_kMaxCanvasSide)
        return false;
    const double f = double(q_kMaxCanvasSide) / std::max(width, height);
    // A side that would shrink to 0 (an extreme strip) is kept at 1 pixel:
    // a zero size has no scale to resample with.
    newHeight = std::max(static_cast<int>(height * f), 1);
    newWidth = std::max(static_cast<int>(width * f), 1);
    return true;
}

// transform's result is the bounding box of the resampled picture, which
// for a reduction is one pixel larger than asked on each side; the canvas
// keeps exactly the computed size, cut from the top-left.
bool q_LimitCanvasSize(FNImage& canvas)
{
    int newWidth, newHeight;
    if (!q_LimitedCanvasSize(canvas.width, canvas.height, newWidth, newHeight))
        return false;
    if (!canvas.transform(newWidth, newHeight, 0))
        return false;
    if (canvas.width == newWidth && canvas.height == newHeight)
        return true;
    FNImage cropped;
    if (!cropped.tryCreate(newWidth, newHeight))
        return false;
    for (int y = 0; y < newHeight; ++y)
        std::copy_n(canvas.row(std::min(y, canvas.height - 1)), std::min(newWidth, canvas.width), cropped.row(y));
    canvas.takePixels(cropped);
    return true;
}
