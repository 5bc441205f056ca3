#include "framework/scene/FN2DItemBase.h"

#include "framework/events/FNEventSink.h"
#include "framework/scene/FN2DPlacement.h"

#include <algorithm>
#include <cmath>

namespace {

// Angles in degrees become radians with pi taken as 3.141592.
constexpr double FNPi = 3.141592;

int toPixel(double value)
{
    // Screen coordinates far outside any buffer are limited so that they stay
    // representable; only their order matters then.
    return static_cast<int>(std::clamp(value, -1.0e9, 1.0e9));
}

} // namespace

FN2DItemBase::FN2DItemBase(int depth)
{
    Initialise(depth);
}

FN2DItemBase::~FN2DItemBase()
{
    FN2DItemBase::Detach();
    for (auto& entry : children)
        entry.second->parent = nullptr;
    children.clear();
}

// ---- Virtual operations ---------------------------------------------------------

void FN2DItemBase::InvalidateRect(double left, double top, double right, double bottom)
{
    FN2DPlacement* placedIn = PlacementOf();
    if (!placedIn || !IsVisible())
        return;
    placedIn->MarkDirty(ScreenBox(left, top, right, bottom));
}

void FN2DItemBase::Invalidate(bool all)
{
    if (!all)
        return;
    FN2DPlacement* placedIn = PlacementOf();
    if (placedIn && IsVisible())
        placedIn->MarkDirty(ScreenBounds());
}

void FN2DItemBase::RequestFocus()
{
    if (!IsPlaced())
        return;
    FNRequestFocus(StageOf(), this, ownerWidget, ownerWidget);
    Invalidate(true);
}

void FN2DItemBase::SetEnabled(bool flag)
{
    enabled = flag;
    Invalidate(true);
    for (auto& entry : children)
        entry.second->SetEnabled(flag);
}

// The tree links (parent, children, scene) are left alone: they are set by
// placing the item, not by its initial values.
void FN2DItemBase::Initialise(int initialDepth)
{
    FN_SET_CLASS_NAME(FN2DItemBase);
    ownerWidget = nullptr;
    depth = initialDepth;
    visible = false;
    enabled = true;
    passEventsToParent = false;
    solidHit = false;
    clipChildren = false;
    x = y = 0;
    width = height = 0;
    alpha = 255;
    blendMode = FNBlendNormal;
    sampling = FNSamplingNearest;
    scaleX = scaleY = 1.0;
    rotation = 0;
    matrix = FNAffine();
    UpdateTransform();
}

void FN2DItemBase::Detach()
{
    Invalidate(true);
    Unlink();
    parent = nullptr;
    scene = nullptr;
    depth = 0;
    visible = false;
    solidHit = false;
    enabled = true;
    UpdateTransform();
}

void FN2DItemBase::DrawTree(
    uint32_t* pixels, int width, int height, int rowLength, int left, int top, int right, int bottom, bool attached)
{
    if (!IsVisible() || !IsPlaced())
        return;
    FNRect area = ScreenBounds();
    area.intersect(FNRect { left, top, right, bottom });
    bool clipped = false;
    for (const FN2DItemBase* ancestor = parent; ancestor; ancestor = ancestor->parent) {
        if (ancestor->clipChildren) {
            area.intersect(ancestor->ScreenBounds());
            clipped = true;
        }
    }
    area.left = std::clamp(area.left, 0, width);
    area.right = std::clamp(area.right, 0, width);
    area.top = std::clamp(area.top, 0, height);
    area.bottom = std::clamp(area.bottom, 0, height);
    // The drawing routines widen the rectangle they are given, so a box that
    // collapsed by less than 4 pixels can still hold pixels of the item.
    if (area.right - area.left > -4 && area.bottom - area.top > -4) {
        if (clipped)
            DrawSelfClipped(pixels, width, height, rowLength, area.left, area.top, area.right, area.bottom);
        else
            DrawSelf(pixels, width, height, rowLength, area.left, area.top, area.right, area.bottom);
    }
    for (auto& entry : children)
        entry.second->DrawTree(pixels, width, height, rowLength, left, top, right, bottom, attached);
}

void FN2DItemBase::DrawSelf(uint32_t*, int, int, int, int, int, int, int) { }

void FN2DItemBase::DrawSelfClipped(uint32_t*, int, int, int, int, int, int, int) { }

// ---- Tree ---------------------------------------------------------------------------

void FN2DItemBase::AddChild(FN2DItemBase* child, bool show)
{
    if (!child || child->parent || child->scene)
        return;
    // Refuse cycles: the child must not be this item or one of its ancestors.
    for (const FN2DItemBase* item = this; item; item = item->parent) {
        if (item == child)
            return;
    }
    child->parent = this;
    children.emplace(child->depth, child); // after the equal depths already present
    child->UpdateTransform(); // its pivot now goes through this item's transform
    if (show) {
        child->visible = true;
        child->Invalidate(true);
    } else {
        child->Invalidate(true);
        child->visible = false;
    }
}

void FN2DItemBase::RemoveChild(FN2DItemBase* child)
{
    if (!child || child->parent != this)
        return;
    child->Invalidate(true);
    child->Unlink();
    child->parent = nullptr;
    child->UpdateTransform();
}

void FN2DItemBase::Unlink()
{
    if (parent) {
        auto& siblings = parent->children;
        auto found = std::find_if(siblings.begin(), siblings.end(), [this](auto& e) { return e.second == this; });
        if (found != siblings.end())
            siblings.erase(found);
    }
    if (scene)
        scene->RemoveItem(this);
}

// ---- Transform ----------------------------------------------------------------------

void FN2DItemBase::SetRotation(double degrees)
{
    Invalidate(true);
    if (!std::isfinite(degrees))
        degrees = 0;
    degrees = std::fmod(degrees, 360.0);
    if (degrees < 0)
        degrees += 360.0;
    if (degrees >= 360.0) // a tiny negative angle rounds up to 360
        degrees -= 360.0;
    rotation = degrees;
    UpdateTransform();
    Invalidate(true);
}

// Rotation r and scale (sx, sy) about the pivot (u, v), the item's centre
// mapped through the parent's world transform:
//   a = C*sx   b = -S*sy   c = u - C*sx*u + S*sy*v
//   d = S*sx   e =  C*sy   f = v - S*sx*u - C*sy*v
void FN2DItemBase::UpdateTransform()
{
    if (scaleX == 1 && scaleY == 1 && rotation == 0) {
        matrix = FNAffine();
    } else {
        const double r = rotation * FNPi / 180.0;
        const double S = std::sin(r), C = std::cos(r);
        double u = WorldX() + 0.5 * width, v = WorldY() + 0.5 * height;
        if (parent)
            parent->WorldMatrix().apply(u, v, u, v);
        matrix.a = C * scaleX;
        matrix.b = -S * scaleY;
        matrix.c = u - C * scaleX * u + S * scaleY * v;
        matrix.d = S * scaleX;
        matrix.e = C * scaleY;
        matrix.f = v - S * scaleX * u - C * scaleY * v;
    }
    for (auto& entry : children)
        entry.second->UpdateTransform();
}

double FN2DItemBase::WorldX() const
{
    double sum = 0;
    for (const FN2DItemBase* item = this; item; item = item->parent)
        sum += item->x;
    return sum;
}

double FN2DItemBase::WorldY() const
{
    double sum = 0;
    for (const FN2DItemBase* item = this; item; item = item->parent)
        sum += item->y;
    return sum;
}

FNAffine FN2DItemBase::WorldMatrix() const
{
    return parent ? matrix.after(parent->WorldMatrix()) : matrix;
}

void FN2DItemBase::ToLocal(double clientX, double clientY, double& localX, double& localY) const
{
    WorldMatrix().inverted().apply(clientX, clientY, localX, localY);
    localX -= WorldX();
    localY -= WorldY();
}

FNRect FN2DItemBase::ScreenBounds() const
{
    return ScreenBox(0, 0, width, height);
}

FNRect FN2DItemBase::ScreenBox(double left, double top, double right, double bottom) const
{
    const FNAffine world = WorldMatrix();
    const double wx = WorldX(), wy = WorldY();
    const double xs[2] = { wx + left, wx + right }, ys[2] = { wy + top, wy + bottom };
    double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
    for (double cx : xs) {
        for (double cy : ys) {
            double sx, sy;
            world.apply(cx, cy, sx, sy);
            minX = std::min(minX, sx);
            maxX = std::max(maxX, sx);
            minY = std::min(minY, sy);
            maxY = std::max(maxY, sy);
        }
    }
    // Outward to whole pixels: the box encloses the transformed rectangle.
    return FNRect { toPixel(std::floor(minX)), toPixel(std::floor(minY)), toPixel(std::ceil(maxX)),
        toPixel(std::ceil(maxY)) };
}

// ---- Effective state ------------------------------------------------------------------

int FN2DItemBase::EffectiveAlpha() const
{
    // own x parent's effective / 255, integer division at each level
    return parent ? parent->EffectiveAlpha() * alpha / 255 : alpha;
}

bool FN2DItemBase::IsVisible() const
{
    for (const FN2DItemBase* item = this; item; item = item->parent) {
        if (!item->visible)
            return false;
    }
    return true;
}

bool FN2DItemBase::IsEnabled() const
{
    for (const FN2DItemBase* item = this; item; item = item->parent) {
        if (!item->enabled)
            return false;
    }
    return true;
}

FN2DPlacement* FN2DItemBase::PlacementOf() const
{
    const FN2DItemBase* top = this;
    while (top->parent)
        top = top->parent;
    return top->scene;
}

FN2DScene* FN2DItemBase::SceneOf() const
{
    FN2DPlacement* placedIn = PlacementOf();
    return placedIn ? placedIn->Scene() : nullptr;
}

FNStageBase* FN2DItemBase::StageOf() const
{
    FN2DPlacement* placedIn = PlacementOf();
    return placedIn ? placedIn->Stage() : nullptr;
}

void FN2DItemBase::Emit(int code, FNWidget* widget)
{
    if (FN2DPlacement* placedIn = PlacementOf())
        placedIn->Emit(code, this, widget);
}
