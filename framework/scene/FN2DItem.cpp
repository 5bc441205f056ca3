#include "framework/scene/FN2DItem.h"

#include "framework/events/FNEventCode.h"
#include "imaging/FNImage.h"

#include <algorithm>
#include <cmath>

namespace {

// Whole pixel containing a local coordinate (floor: -0.5 lies outside pixel 0).
int pixelOf(double value)
{
    return static_cast<int>(std::floor(std::clamp(value, -1.0e9, 1.0e9)));
}

// Inside a clipping ancestor: [0, size - 1], or [size, 0] for a negative size.
bool withinClip(double value, double size)
{
    return size >= 0 ? value >= 0 && value <= size - 1 : value >= size && value <= 0;
}

// Inside the item grown by the hit margin: [-m, size + m), or [size - m, m)
// for a negative size.
bool withinItem(double value, double size, int margin)
{
    return size >= 0 ? value >= -margin && value < size + margin : value >= size - margin && value < margin;
}

} // namespace

FN2DItem::FN2DItem(int width, int height, double x, double y, int depth)
    : FN2DItemBase(depth)
{
    FN_SET_CLASS_NAME(FN2DItem);
    SetRect(x, y, width, height);
}

FN2DItem::~FN2DItem()
{
    FN2DItem::Detach();
}

void FN2DItem::DeleteTextImage()
{
    delete textImage;
    textImage = nullptr;
}

void FN2DItem::Detach()
{
    // Invalidate while the rectangle still covers what is on screen.
    Invalidate(true);
    x = y = width = height = 0;
    picture = nullptr;
    pictureX = pictureY = 0;
    text = FNString();
    textStyle = nullptr;
    textImageX = textImageY = 0;
    DeleteTextImage();
    FN2DItemBase::Detach();
}

bool FN2DItem::MoveBy(double dx, double dy)
{
    return SetRect(x + dx, y + dy, width, height);
}

bool FN2DItem::MoveTo(double newX, double newY)
{
    return SetRect(newX, newY, width, height);
}

bool FN2DItem::Resize(double newWidth, double newHeight)
{
    return SetRect(x, y, newWidth, newHeight);
}

bool FN2DItem::SetRect(double newX, double newY, double newWidth, double newHeight)
{
    const bool moved = newX != x || newY != y;
    const bool resized = newWidth != width || newHeight != height;
    if (!moved && !resized)
        return false;
    Invalidate(true);
    x = newX;
    y = newY;
    width = newWidth;
    height = newHeight;
    UpdateTransform();
    Invalidate(true);
    if (moved)
        Emit(FNEvent::Moved);
    if (resized)
        Emit(FNEvent::Resized);
    return true;
}

void FN2DItem::SetPicture(FNImage* image, int offsetX, int offsetY)
{
    Invalidate(true);
    picture = image;
    pictureX = offsetX;
    pictureY = offsetY;
    Invalidate(true);
}

// ---- Hit testing ------------------------------------------------------------------

void FN2DItem::HitTest(double clientX, double clientY, std::vector<FN2DItemBase*>& results, size_t limit)
{
    if (results.size() >= limit || !IsVisible() || alpha == 0)
        return;
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        it->second->HitTest(clientX, clientY, results, limit);
        if (results.size() >= limit)
            return;
    }
    if (text.empty() && !picture && !solidHit)
        return;
    for (const FN2DItemBase* ancestor = parent; ancestor; ancestor = ancestor->parent) {
        if (!ancestor->clipChildren)
            continue;
        double ax, ay;
        ancestor->ToLocal(clientX, clientY, ax, ay);
        if (!withinClip(ax, ancestor->width) || !withinClip(ay, ancestor->height))
            return;
    }
    double localX, localY;
    ToLocal(clientX, clientY, localX, localY);
    if (!withinItem(localX, width, hitMargin) || !withinItem(localY, height, hitMargin))
        return;
    if (!solidHit && !OpaqueAt(localX, localY))
        return;
    results.push_back(this);
}

// A pixel of the text image, or else of the picture, with alpha >= 1; outside
// an image counts as transparent.
bool FN2DItem::OpaqueAt(double localX, double localY) const
{
    const int px = pixelOf(localX), py = pixelOf(localY);
    if (textImage && textImage->getAlpha(px - textImageX, py - textImageY) >= 1)
        return true;
    return picture && picture->getAlpha(px - pictureX, py - pictureY) >= 1;
}
