#pragma once

#include "framework/core/FNGUICoreObject.h"
#include "framework/core/FNRect.h"
#include "framework/scene/FNAffine.h"
#include "imaging/raster/FNRaster.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

class FN2DPlacement;
class FN2DScene;
class FNStageBase;
class FNWidget;

// FN2DItemBase: a node of the scene tree. An item is a rectangle with a
// position relative to its parent, a size, a scale and rotation about its
// centre and an opacity; it is placed either directly in a scene (top-level)
// or under a parent item. Items are drawn in depth order (larger on top;
// equal depths in insertion order) and receive events through hit testing.
//
// Ownership: the scene and parents do not own items; whoever created an item
// deletes it, and deleting it detaches it first. Children of a deleted item
// lose their parent. Thread: the application thread; drawing runs under the
// framework lock taken by the scene.
class FN2DItemBase : public FNGUICoreObject {
public:
    explicit FN2DItemBase(int depth = 0);
    ~FN2DItemBase() override;

    FN2DItemBase(const FN2DItemBase&) = delete;
    FN2DItemBase& operator=(const FN2DItemBase&) = delete;

    // ---- Virtual operations -------------------------------------------------
    // Marks the local rectangle, mapped to the screen, dirty in the scene.
    virtual void InvalidateRect(double left, double top, double right, double bottom);
    // Marks the item's screen bounding box dirty (when `all` is true).
    virtual void Invalidate(bool all);
    virtual void RequestFocus();
    // Sets the flag on this item and every descendant.
    virtual void SetEnabled(bool flag);
    // Appends hit items (children first, topmost first) until `limit` are held.
    virtual void HitTest(double x, double y, std::vector<FN2DItemBase*>& results, size_t limit) = 0;
    virtual void Initialise(int depth);
    virtual void Detach();
    virtual void DrawTree(uint32_t* pixels, int width, int height, int rowLength, int left, int top, int right,
        int bottom, bool attached);
    virtual void DrawSelf(
        uint32_t* pixels, int width, int height, int rowLength, int left, int top, int right, int bottom);
    virtual void DrawSelfClipped(
        uint32_t* pixels, int width, int height, int rowLength, int left, int top, int right, int bottom);

    // ---- Tree -------------------------------------------------------------------
    // Refused when the child is already placed. `show` makes it visible.
    void AddChild(FN2DItemBase* child, bool show = true);
    void RemoveChild(FN2DItemBase* child);

    // ---- Transform --------------------------------------------------------------
    void SetRotation(double degrees);
    // Rebuilds the own matrix from scale and rotation about the item's centre,
    // then every descendant's.
    void UpdateTransform();
    double WorldX() const;
    double WorldY() const;
    // Parent's world transform first, then the own matrix.
    FNAffine WorldMatrix() const;
    // Client point to item coordinates: (0, 0) is the unrotated top-left corner.
    void ToLocal(double clientX, double clientY, double& localX, double& localY) const;
    // Enclosing whole-pixel box of the item's rectangle on the screen.
    FNRect ScreenBounds() const;
    // The same for a rectangle in item coordinates.
    FNRect ScreenBox(double left, double top, double right, double bottom) const;

    // ---- Effective state --------------------------------------------------------
    int EffectiveAlpha() const;
    bool IsVisible() const;
    bool IsEnabled() const;
    // The scene of the top-level ancestor, or null when the item is unplaced.
    FN2DScene* SceneOf() const;
    bool IsPlaced() const { return PlacementOf() != nullptr; }
    FNStageBase* StageOf() const;
    // Raises an event from code for this item (FN2DScene::Emit); nothing
    // happens while the item is unplaced.
    void Emit(int code, FNWidget* widget = nullptr);

    FN2DItemBase* parent = nullptr;
    FNWidget* ownerWidget = nullptr;
    std::multimap<int, FN2DItemBase*> children; // by depth; equal depths in insertion order
    FN2DPlacement* scene = nullptr; // top-level items only: the scene they are placed in
    int depth = 0;
    bool visible = false;
    bool enabled = true;
    bool passEventsToParent = false;
    bool solidHit = false;
    bool clipChildren = false;
    double x = 0, y = 0;
    double width = 0, height = 0;
    int alpha = 255;
    FNBlendMode blendMode = FNBlendNormal;
    FNSampling sampling = FNSamplingNearest;
    double scaleX = 1.0, scaleY = 1.0;
    double rotation = 0;
    FNAffine matrix;

protected:
    // The top-level ancestor's placement, or null when the item is unplaced.
    FN2DPlacement* PlacementOf() const;
    // Takes the item out of its parent's or scene's map; fields stay.
    void Unlink();
};
