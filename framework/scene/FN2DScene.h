#pragma once

#include "framework/core/FNGUICoreObject.h"
#include "framework/core/FNRect.h"
#include "framework/scene/FN2DPlacement.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class FN2DItemBase;
class FN2DSceneHost;
class FNImage;
class FNStageBase;
class FNWidget;

// FN2DScene: the top-level items of one 2D stage, rendered in depth order
// into the stage's back buffer. Only the dirty region is redrawn: it is grown
// by 2 pixels, cleared by row copies from a prepared background strip, and
// every item is drawn clipped to it.
//
// Every scene is entered in a process-wide list for the engine step's render
// pass. Ownership: the scene owns its background strip, not its items (they
// are detached when it is destroyed) and not the back buffer. Thread: the
// application thread; attaching, detaching and rendering hold the framework
// lock because presentation reads the back buffer under it.
class FN2DScene : public FNGUICoreObject, public FN2DPlacement {
public:
    FN2DScene();
    ~FN2DScene() override;

    FN2DScene(const FN2DScene&) = delete;
    FN2DScene& operator=(const FN2DScene&) = delete;

    // Refused (false) when the item is already placed.
    bool AddItem(FN2DItemBase* item);
    bool RemoveItem(FN2DItemBase* item) override;
    void SetBackground(int red, int green, int blue, int alpha);
    // Connects the scene to a back buffer and the stage dirty rectangle that
    // rendering adds to; `owner` is the stage that shows the scene (null for a
    // buffer that belongs to no stage).
    void Attach(FNImage* targetImage, FNRect* stageDirtyRect, FN2DSceneHost* owner = nullptr);
    void Detach();
    // The topmost hit item, or nothing.
    std::vector<FN2DItemBase*> HitTest(double x, double y);

    // Queues an event raised from code for one of the scene's items, with the
    // showing stage as its stage and `widget` as its target; every other
    // field is zero. Nothing is queued without a stage or an engine.
    void Emit(int code, FN2DItemBase* item, FNWidget* widget = nullptr) override;

    // Adds a screen rectangle to the dirty region.
    void MarkDirty(const FNRect& rect) override;
    // Redraws the dirty region (grown by 2 pixels) into the target, adds it
    // to the stage's dirty rectangle and empties the dirty region; true when
    // it drew something.
    bool Render();
    // Renders every scene of the process-wide list; true when one drew.
    static bool RenderAll();
    // The scenes alive, in creation order. Guarded by the framework lock.
    static const std::vector<FN2DScene*>& List();
    // While Render() draws: the area it cleared; null otherwise.
    const FNRect* RenderingArea() const override { return m_rendering ? &m_renderingArea : nullptr; }
    FN2DScene* Scene() override { return this; }
    FNStageBase* Stage() const override { return stage; }

    FNImage* background = nullptr; // 1024 x 16 strip in the background colour
    int backgroundRed = 0, backgroundGreen = 0, backgroundBlue = 0, backgroundAlpha = 0;
    std::multimap<int, FN2DItemBase*> items; // by depth; equal depths in insertion order
    FNRect dirty;
    bool attached = false;
    bool ready = false;
    FNImage* target = nullptr;
    uint32_t* targetPixels = nullptr;
    int targetWidth = 0;
    int targetHeight = 0;
    int targetRowLength = 0;
    FNRect* stageDirty = nullptr;
    FNStageBase* stage = nullptr; // the stage that shows the scene
    FN2DSceneHost* host = nullptr;

private:
    void FillBackground(const FNRect& area);

    bool m_rendering = false;
    FNRect m_renderingArea;
};
