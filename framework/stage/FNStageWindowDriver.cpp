#include "framework/stage/FNStageWindowDriver.h"

#include "framework/core/FNFrameworkLock.h"
#include "framework/stage/FN2DStage.h"

#include <algorithm>

namespace {

// The stage of a window of the calling engine thread's engine.
FNStageBase* stageOf(FNWindowId window)
{
    FNEngine* engine = FNEngine::OfThisThread();
    if (!engine)
        return nullptr;
    FNFrameworkLockGuard lock;
    auto found = engine->windows.find(window);
    return found == engine->windows.end() ? nullptr : found->second;
}

// At namespace scope, so that it is made before main and outlives every
// engine, the process-wide one (made later) included.
FNStageWindowDriver theDriver;

} // namespace

void FNStageWindowDriver::Install()
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

// ---- Application thread ------------------------------------------------------------

void FNStageWindowDriver::Activate(FNStageBase* stage)
{
    stage->Activate();
}

FN2DScene* FNStageWindowDriver::Scene(FNStageBase* stage)
{
    return stage->kind == 2 ? static_cast<FN2DStage*>(stage)->LiveScene() : nullptr;
}

bool FNStageWindowDriver::PassesEventsToParent(const FNStageBase* stage)
{
    return stage->passEventsToParent;
}

void FNStageWindowDriver::Present(FNStageBase* stage)
{
    stage->Present();
}
