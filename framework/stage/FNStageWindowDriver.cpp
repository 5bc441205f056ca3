// The stage layer's side of the engine: what the engines call on stages. On
// the engine thread it makes and destroys the real windows of queued stages,
// acts on the stage messages (fit, focus, cursor, enable) and turns the
// window system's paint, move, size and show events into stage fields and
// events; on the application thread it gives the engine step a stage's
// scene, owner, enabled state, parent passing, dirty rectangle and
// presentation. One process-wide instance, installed on every engine the
// first time a stage asks for a window.

#include "framework/core/FNFrameworkLock.h"
#include "framework/engine/FNEngine.h"
#include "framework/stage/FNStageBase.h"

#include <algorithm>

namespace {

// The stage of a window of the calling engine thread's engine.
FNStageBase* stageOf(FNWindowId window)
{
    FNEngine* engine = FNEngine::OfThisThread();
    return engine ? engine->StageOfWindow(window) : nullptr;
}

class FNStageWindowDriver final : public FNStageDriver {
public:
    FNWindowId CreateWindow(FNEngine&, FNPlatformConnection& platform, FNStageBase* stage) override;
    void WindowCreated(FNEngine& engine, FNStageBase* stage, FNWindowId window) override;
    void WindowDestroyed(FNEngine& engine, FNStageBase* stage) override;
    void StageMessage(FNEngine& engine, FNPlatformConnection& platform, int message, FNStageBase* stage) override;

    void Activate(FNStageBase* stage) override { stage->Activate(); }
    FN2DScene* Scene(FNStageBase* stage) override { return stage->ShownScene(); }
    FNWidget* OwnerWidget(const FNStageBase* stage) override { return stage->ownerWidget; }
    bool IsEnabled(const FNStageBase* stage) override { return stage->IsEnabled(); }
    FNStageBase* ParentStage(const FNStageBase* stage) override { return stage->parent; }
    bool PassesEventsToParent(const FNStageBase* stage) override { return stage->passEventsToParent; }
    bool IsDirty(const FNStageBase* stage) override { return !stage->dirty.isEmpty(); }
    void Present(FNStageBase* stage) override { stage->Present(); }
    void ResetDirty(FNStageBase* stage) override { stage->dirty.reset(0, 0); }

    void OnPaint(FNWindowId window, const FNPlatformRect& area) override;
    void OnMoved(FNWindowId window, int x, int y) override;
    void OnResized(FNWindowId window, int width, int height) override;
    void OnCloseRequest(FNWindowId window) override;
    void OnShown(FNWindowId window, bool shown) override;
};

// At namespace scope, so that it is made before main and outlives every
// engine, the process-wide one (made later) included.
FNStageWindowDriver theDriver;

} // namespace

void FNStageBase::InstallWindowDriver()
{
    if (&FNEngine::StageDriver() != &theDriver)
        FNEngine::SetStageDriver(&theDriver);
}

// ---- Engine thread -------------------------------------------------------------

FNWindowId FNStageWindowDriver::CreateWindow(FNEngine&, FNPlatformConnection& platform, FNStageBase* stage)
{
    FNWindowId window = platform.CreateWindow(stage->WindowDesc());
    if (window != FNNoWindow && stage->alpha != 255)
        platform.SetAlpha(window, stage->alpha);
    return window;
}

void FNStageWindowDriver::WindowCreated(FNEngine& engine, FNStageBase* stage, FNWindowId window)
{
    stage->window = window;
    stage->frameWidth = 0;
    stage->frameHeight = 0;
    stage->cursor = FNCursorArrow;
    engine.PostToThread(FN_MSG_SET_CURSOR, stage);
    stage->SetEnabled(stage->enabled);
    stage->windowCreated = true;
    stage->Invalidate(true);
}

void FNStageWindowDriver::WindowDestroyed(FNEngine&, FNStageBase* stage)
{
    stage->window = FNNoWindow;
    stage->shown = false;
    stage->windowCreated = false;
}

void FNStageWindowDriver::StageMessage(FNEngine&, FNPlatformConnection& platform, int message, FNStageBase* stage)
{
    FNWindowId window = stage ? stage->window : FNNoWindow;
    switch (message) {
    case FN_MSG_FIT_CLIENT:
        if (window != FNNoWindow)
            platform.SetGeometry(window, stage->x, stage->y, std::max(1, stage->width), std::max(1, stage->height));
        break;
    case FN_MSG_SET_FOCUS:
        if (window == FNNoWindow)
            platform.SetFocus(FNNoWindow);
        else if (stage->IsEnabled())
            platform.SetFocus(window);
        break;
    case FN_MSG_SET_CURSOR:
        if (window != FNNoWindow)
            platform.SetCursor(window, stage->cursor);
        break;
    default: // enabling: the flag is all there is (see FNStageBase::SetEnabled)
        break;
    }
}

void FNStageWindowDriver::OnPaint(FNWindowId window, const FNPlatformRect& area)
{
    if (FNStageBase* stage = stageOf(window))
        stage->OnSystemPaint(area);
}

void FNStageWindowDriver::OnMoved(FNWindowId window, int x, int y)
{
    if (FNStageBase* stage = stageOf(window))
        stage->OnSystemMoved(x, y);
}

void FNStageWindowDriver::OnResized(FNWindowId window, int width, int height)
{
    if (FNStageBase* stage = stageOf(window))
        stage->OnSystemResized(width, height);
}

void FNStageWindowDriver::OnCloseRequest(FNWindowId window)
{
    if (FNStageBase* stage = stageOf(window))
        stage->OnSystemCloseRequest();
}

void FNStageWindowDriver::OnShown(FNWindowId window, bool shown)
{
    if (FNStageBase* stage = stageOf(window))
        stage->shown = shown;
}
