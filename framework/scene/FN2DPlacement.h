#pragma once

#include "framework/core/FNRect.h"

class FN2DItemBase;
class FN2DScene;
class FNStageBase;
class FNWidget;

// What a top-level item sees of the scene it is placed in (FN2DScene
// implements it). Items reach their scene only through this, so that the
// scene, which draws and hit-tests items, is the one that knows the other's
// class.
class FN2DPlacement {
public:
    virtual FN2DScene* Scene() = 0;
    // The stage that shows the scene, or null.
    virtual FNStageBase* Stage() const = 0;
    // Adds a screen rectangle to the scene's dirty region.
    virtual void MarkDirty(const FNRect& rect) = 0;
    // While the scene renders: the area it cleared; null otherwise.
    virtual const FNRect* RenderingArea() const = 0;
    virtual bool RemoveItem(FN2DItemBase* item) = 0;
    // Queues an event raised from code for one of the scene's items.
    virtual void Emit(int code, FN2DItemBase* item, FNWidget* widget) = 0;

protected:
    ~FN2DPlacement() = default;
};
