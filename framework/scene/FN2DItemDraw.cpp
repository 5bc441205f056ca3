// Drawing of FN2DItem: turns the item's place in the tree into the fixed-point
// mapping, visible region and clipping rectangles of the rasteriser, then
// draws the picture and the text image over it.

#include "framework/scene/FN2DItem.h"

#include "framework/scene/FN2DPlacement.h"
#include "imaging/FNImage.h"
#include "imaging/raster/FNRaster.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Whole part of a scale for the update margins; a scale <= 0 counts as 0.
int scaleMargin(double scale)
{
    return scale > 0 ? static_cast<int>(std::min(scale, 1.0e6)) : 0;
}

int truncated(double value)
{
    return static_cast<int>(std::clamp(value, -1.0e9, 1.0e9));
}

bool isFinite(const FNAffine& m)
{
    return std::isfinite(m.a) && std::isfinite(m.b) && std::isfinite(m.c) && std::isfinite(m.d) && std::isfinite(m.e)
        && std::isfinite(m.f);
}

// An item's rectangle (0, 0)-(width, height) in its own coordinates as two
// clipping axes: 0 <= local < size per axis (size <= local < 0 for a negative size).
void appendClipAxes(const FN2DItemBase& item, const FNAffine& inverse, std::vector<FNRasterAxis>& axes)
{
    const int64_t sizes[2] = { FNRasterFixed(item.width), FNRasterFixed(item.height) };
    const double steps[2][3]
        = { { inverse.a, inverse.b, inverse.c - item.WorldX() }, { inverse.d, inverse.e, inverse.f - item.WorldY() } };
    for (int k = 0; k < 2; ++k) {
        FNRasterAxis axis;
        axis.stepX = FNRasterFixed(steps[k][0]);
        axis.stepY = FNRasterFixed(steps[k][1]);
        axis.start = FNRasterFixed(steps[k][2]);
        axis.low = std::min<int64_t>(0, sizes[k]);
        axis.high = std::max<int64_t>(0, sizes[k]) - 1;
        axes.push_back(axis);
    }
}

} // namespace

FNRect FN2DItem::WidenedUpdateRect(int bufferWidth, int bufferHeight, int left, int top, int right, int bottom) const
{
    const int mx = scaleMargin(scaleX), my = scaleMargin(scaleY);
    FNRect area { left - std::max(2, mx + 1), top - std::max(2, my + 1), right + std::max(4, mx + 3),
        bottom + std::max(4, my + 3) };
    area.intersect(FNRect { 0, 0, bufferWidth, bufferHeight });
    if (FN2DPlacement* placedIn = PlacementOf()) {
        if (const FNRect* rendering = placedIn->RenderingArea())
            area.intersect(*rendering);
    }
    return area;
}

void FN2DItem::DrawSelf(
    uint32_t* pixels, int bufferWidth, int bufferHeight, int rowLength, int left, int top, int right, int bottom)
{
    DrawPictures(pixels, bufferWidth, bufferHeight, rowLength, left, top, right, bottom, false);
}

void FN2DItem::DrawSelfClipped(
    uint32_t* pixels, int bufferWidth, int bufferHeight, int rowLength, int left, int top, int right, int bottom)
{
    DrawPictures(pixels, bufferWidth, bufferHeight, rowLength, left, top, right, bottom, true);
}

void FN2DItem::DrawPictures(uint32_t* pixels, int bufferWidth, int bufferHeight, int rowLength, int left, int top,
    int right, int bottom, bool clipped)
{
    const int opacity = EffectiveAlpha();
    if (opacity < 1 || !pixels)
        return;
    const FNRect area = WidenedUpdateRect(bufferWidth, bufferHeight, left, top, right, bottom);
    if (area.isEmpty())
        return;
    const FNAffine inverse = WorldMatrix().inverted();
    if (!isFinite(inverse))
        return; // a zero scale maps nothing onto the screen

    FNRasterJob job;
    job.pixels = pixels;
    job.width = bufferWidth;
    job.height = bufferHeight;
    job.rowLength = rowLength;
    job.left = area.left;
    job.top = area.top;
    job.right = area.right;
    job.bottom = area.bottom;
    job.a = FNRasterFixed(inverse.a);
    job.b = FNRasterFixed(inverse.b);
    job.c = FNRasterFixed(inverse.c - WorldX());
    job.d = FNRasterFixed(inverse.d);
    job.e = FNRasterFixed(inverse.e);
    job.f = FNRasterFixed(inverse.f - WorldY());
    job.lastX = truncated(width - 1);
    job.lastY = truncated(height - 1);
    job.opacity = opacity;
    job.blendMode = blendMode;
    job.sampling = sampling;
    job.scaleX = scaleX;
    job.scaleY = scaleY;

    std::vector<FNRasterAxis> clips;
    if (clipped) {
        for (const FN2DItemBase* ancestor = parent; ancestor; ancestor = ancestor->parent) {
            if (!ancestor->clipChildren)
                continue;
            const FNAffine ancestorInverse = ancestor->WorldMatrix().inverted();
            if (!isFinite(ancestorInverse))
                return;
            appendClipAxes(*ancestor, ancestorInverse, clips);
        }
        job.clips = clips.data();
        job.clipCount = static_cast<int>(clips.size());
    }

    if (picture && picture->created) {
        job.image = picture;
        job.offsetX = pictureX;
        job.offsetY = pictureY;
        FNRasterDraw(job);
    }
    if (textImage) {
        job.image = textImage;
        job.offsetX = textImageX;
        job.offsetY = textImageY;
        FNRasterDraw(job);
    }
}
