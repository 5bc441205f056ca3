#pragma once

#include "framework/platform/FNPlatform.h"

class FN2DScene;
class FNEngine;
class FNStageBase;
class FNWidget;

// ============================================================================
// How stages plug in
// ============================================================================
//
// The engine knows stages only as FNStageBase pointers: it never includes the
// stage layer. Everything it needs of a stage goes through one process-wide
// FNStageDriver that the stage layer installs with FNEngine::SetStageDriver
// before it opens a window. The stage layer, above the engine, calls the
// engine's public operations:
//
// Application thread (the stage calls the engine):
//   - Open: push the stage with RequestCreate(stage) (refused once a stop
//     was requested), then PostToThread(FN_MSG_CREATE_STAGES, nullptr) every
//     millisecond until the driver's WindowCreated has marked it created.
//     Close: RequestDestroy(stage), then PostToThread(FN_MSG_DESTROY_STAGES)
//     likewise until WindowDestroyed has run. Never hold the framework lock
//     while waiting: the engine thread needs it to work the queues.
//   - Messages 2055-2058 with PostToThread(message, stage); 2054 with
//     SendToThread(message, stage), which returns once the engine thread has
//     handled it (or at once on the engine thread itself).
//   - Window-system calls of the application thread (Present, FillRect,
//     QueryPointer, ...) go through Platform() under the framework lock; it
//     is null before the engine thread has opened the connection and after
//     the thread has ended.
//   - Events: QueueEvent (any thread), or FNEmitToStage / FNEmitToItem.
//
// Engine thread (the engine calls the driver):
//   - CreateWindow(engine, platform, stage): create the real window of a
//     stage taken from the create queue, return its id (FNNoWindow: the
//     engine retries every millisecond until the engine stops). The engine
//     then records the window and calls WindowCreated(engine, stage, id),
//     which sets the stage's own fields (window, windowCreated, cursor,
//     enabled state, invalidation), and afterwards makes the stage the main
//     stage when there is none and appends it to the engine's stages.
//   - DestroyWindow(engine, platform, stage, id) for stages taken from the
//     destroy queue (retried while it fails and the engine runs), after the
//     engine has cleared the main stage if it was this stage; then the engine
//     forgets the window, calls WindowDestroyed(engine, stage) and removes
//     the stage from its stages.
//   - StageMessage(engine, platform, message, stage) for 2054-2058.
//   - The FNPlatformListener callbacks of the driver: every window-system
//     event of the engine's windows, after the engine's own handling. The
//     engine itself records keys, wheel and input-method text, fills the
//     dropped files and queues FilesDropped (28), queues CloseRequest (22)
//     and forgets windows the system destroyed; the driver handles paint,
//     moves and sizes (events 20, 21), shown and focus.
//     FNEngine::OfThisThread() names the engine inside these callbacks, and
//     FNEngine::StageOfWindow finds the stage of a window.
//   The queues are worked under the framework lock. These callbacks run on
//   the engine thread: they must not wait for the engine thread (post a
//   message and poll for its effect); SendToThread called there handles the
//   message at once.
//
// Application thread, inside FNEngineStep (the engine calls the driver):
//   - Activate(stage) when the main stage changed (step 1).
//   - Scene(stage): the scene hit-tested by input sampling; null for stages
//     without one (plain stages). OwnerWidget(stage): the hover target of a
//     plain stage.
//   - IsEnabled(stage) (the stage and its ancestors), ParentStage(stage) and
//     PassesEventsToParent(stage): dispatch drops events of disabled stages
//     and also reaches the parent stage of a stage that passes them on.
//   - IsDirty(stage) and Present(stage) for each of the engine's stages whose
//     dirty rectangle is not empty (under the framework lock), after which
//     the engine calls ResetDirty(stage) for every stage.
//
// Every operation has a neutral default: no window, no scene, enabled, no
// parent, nothing dirty.
class FNStageDriver : public FNPlatformListener {
public:
    // ---- Engine thread ----
    virtual FNWindowId CreateWindow(FNEngine&, FNPlatformConnection&, FNStageBase*) { return FNNoWindow; }
    virtual void WindowCreated(FNEngine&, FNStageBase*, FNWindowId) { }
    virtual bool DestroyWindow(FNEngine&, FNPlatformConnection& platform, FNStageBase*, FNWindowId window)
    {
        return platform.DestroyWindow(window);
    }
    virtual void WindowDestroyed(FNEngine&, FNStageBase*) { }
    virtual void StageMessage(FNEngine&, FNPlatformConnection&, int /*message*/, FNStageBase*) { }
    // ---- Application thread ----
    virtual void Activate(FNStageBase*) { }
    virtual FN2DScene* Scene(FNStageBase*) { return nullptr; }
    virtual FNWidget* OwnerWidget(const FNStageBase*) { return nullptr; }
    virtual bool IsEnabled(const FNStageBase*) { return true; }
    virtual FNStageBase* ParentStage(const FNStageBase*) { return nullptr; }
    virtual bool PassesEventsToParent(const FNStageBase*) { return false; }
    virtual bool IsDirty(const FNStageBase*) { return false; }
    virtual void Present(FNStageBase*) { }
    virtual void ResetDirty(FNStageBase*) { }
};
