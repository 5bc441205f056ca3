#pragma once

#include "framework/engine/FNEngine.h"

// FNStageWindowDriver: what the engines call on stages. On the engine thread
// it makes and destroys the real windows of queued stages, acts on the
// stage messages (fit, focus, cursor, enable) and turns the window system's
// paint, move, size and show events into stage fields and events; on the
// application thread it gives the engine step a stage's scene, its parent
// passing and its presentation.
//
// One process-wide instance, installed on every engine by Install() the
// first time a stage asks for a window.
class FNStageWindowDriver : public FNStageDriver {
public:
    static void Install();

    FNWindowId CreateWindow(FNEngine&, FNPlatformConnection& platform, FNStageBase* stage) override;
    void WindowCreated(FNEngine& engine, FNStageBase* stage, FNWindowId window) override;
    void WindowDestroyed(FNEngine& engine, FNStageBase* stage) override;
    void StageMessage(FNEngine& engine, FNPlatformConnection& platform, int message, FNStageBase* stage) override;

    void Activate(FNStageBase* stage) override;
    FN2DScene* Scene(FNStageBase* stage) override;
    bool PassesEventsToParent(const FNStageBase* stage) override;
    void Present(FNStageBase* stage) override;

    void OnPaint(FNWindowId window, const FNPlatformRect& area) override;
    void OnMoved(FNWindowId window, int x, int y) override;
    void OnResized(FNWindowId window, int width, int height) override;
    void OnCloseRequest(FNWindowId window) override;
    void OnShown(FNWindowId window, bool shown) override;
};
