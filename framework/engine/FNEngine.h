#pragma once

#include "framework/core/FNThread.h"
#include "framework/events/FNEventState.h"
#include "framework/events/FNInputEvents.h"
#include "framework/events/FNUserState.h"
#include "framework/platform/FNPlatform.h"
#include "imaging/FNString.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class FN2DScene;
class FNEngine;
class FNEngineStackGuard;

// ============================================================================
// How stages plug in
// ============================================================================
//
// The engine knows stages only as FNStageBase pointers (engine, parent,
// ownerWidget, enabled, dirty). Everything else a stage does goes through
// one process-wide FNStageDriver that the stage layer installs with
// FNEngine::SetStageDriver before it opens a window. Its calls:
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
//   - Events: QueueEvent (any thread) or FNEmitToStage/FNEmitToItem.
//
// Engine thread (the engine calls the driver):
//   - CreateWindow(engine, platform, stage): create the real window of a
//     stage taken from createQueue, return its id (FNNoWindow: the engine
//     retries every millisecond until the engine stops). The engine then
//     enters it in `windows` and calls WindowCreated(engine, stage, id),
//     which sets the stage's own fields (window, windowCreated, cursor,
//     enabled state, invalidation), and afterwards makes the stage
//     `mainStage` when there is none and appends it to `stages`.
//   - DestroyWindow(engine, platform, stage, id) for stages taken from
//     destroyQueue (retried while it fails and the engine runs), after the
//     engine has cleared `mainStage` if it was this stage; then the engine
//     removes it from `windows`, calls WindowDestroyed(engine, stage) and
//     removes it from `stages`.
//   - StageMessage(engine, platform, message, stage) for 2054-2058.
//   - The FNPlatformListener callbacks of the driver: every window-system
//     event of the engine's windows, after the engine's own handling. The
//     engine itself records keys, wheel and input-method text into
//     `pending`, fills `system.droppedFiles` and queues FilesDropped (28),
//     queues CloseRequest (22) and forgets windows the system destroyed; the
//     driver handles paint, moves and sizes (events 20, 21), shown and focus.
//     FNEngine::OfThisThread() names the engine inside these callbacks.
//   The queues are worked under the framework lock. These callbacks run on
//   the engine thread: they must not wait for the engine thread (post a
//   message and poll for its effect); SendToThread called there handles the
//   message at once.
//
// Application thread, inside FNEngineStep (the engine calls the driver):
//   - Activate(stage) when the main stage changed (step 1).
//   - Scene(stage): the scene hit-tested by input sampling; null for stages
//     without one (plain stages).
//   - PassesEventsToParent(stage): dispatch also reaches the parent stage.
//   - Present(stage) for each stage in `stages` whose dirty rectangle is not
//     empty (under the framework lock), after which the engine empties every
//     stage's dirty rectangle.
//
// ============================================================================
// Threads, ownership and the lock
// ============================================================================
//
// Each FNEngine owns one engine thread. It opens the engine's platform
// connection, works the create and destroy queues, runs the message loop
// (thread messages and window-system events) and records raw input. The
// application thread drives everything else through FNEngineStep: it samples
// input, derives events, dispatches them, advances animations, renders scenes
// and presents stages.
//
// The framework lock (FNFrameworkLock.h) guards `events`, `createQueue`,
// `destroyQueue`, `windows` (written by the engine thread under it, read by
// the application thread under it), `stages`, `mainStage` and the platform
// connection's lifetime. `pending`, `system` and `imeText` are written by the
// engine thread and read by the application thread under the engine's own
// input lock. `current`, `previous`, the click bookkeeping and
// `focusRequests` belong to the application thread.
//
// Engines form a stack: a new engine becomes current; deleting it makes the
// previous one current again. The process-wide engine is made by
// FNEngine::StartProcessEngine (explicitly from main, or by the first caller)
// and destroyed by the static destructors at exit.

// Thread messages of the engine thread.
enum FNThreadMessageCode : int {
    FN_MSG_CREATE_STAGES = 2050, // create the windows waiting in createQueue
    FN_MSG_DESTROY_STAGES = 2051, // destroy the windows waiting in destroyQueue
    FN_MSG_QUIT = 2052, // leave the message loop
    FN_MSG_FIT_CLIENT = 2054, // fit the window to the stage's client rectangle (sent)
    FN_MSG_SET_FOCUS = 2055, // keyboard focus to the stage's window (null: none)
    FN_MSG_SET_CURSOR = 2056, // show the stage's cursor
    FN_MSG_ENABLE = 2057, // enable the stage's window and mark the stage enabled
    FN_MSG_DISABLE = 2058, // disable it
};

// What the engine needs of the stage layer; see "How stages plug in" above.
// Every operation has a neutral default. The installed driver must outlive
// every engine, the process-wide one included (make it a namespace-scope
// object, not a function-local static).
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
    virtual bool PassesEventsToParent(const FNStageBase*) { return false; }
    virtual void Present(FNStageBase*) { }
};

class FNEngine : public FNThread {
public:
    // Starts the engine thread, waits until it has opened its platform
    // connection (or failed to), and becomes the current engine.
    FNEngine();
    // Destroys the windows, stops and joins the thread, pops the engine.
    ~FNEngine() override;

    // ---- The engine stack ----
    static FNEngine* Current();
    // The process-wide engine, made on the first call; null when its
    // platform connection could not be opened (then `failure` says why, e.g.
    // that no display can be reached) and after it has been destroyed.
    static FNEngine* StartProcessEngine(std::string& failure);
    static FNEngine* ProcessEngine();
    // The engine whose engine thread is the calling thread, or null.
    static FNEngine* OfThisThread();

    static void SetStageDriver(FNStageDriver* driver);
    static FNStageDriver& StageDriver();

    // ---- Events and messages ----
    // Appends one event under the framework lock (any thread).
    void QueueEvent(const FNEventState& event);
    // Posts a thread message with the stage as parameter (any thread).
    void PostToThread(int message, FNStageBase* stage);
    // Posts and waits until the engine thread has handled it; on the engine
    // thread it is handled at once. Do not hold the framework lock.
    void SendToThread(int message, FNStageBase* stage);
    // Queue a stage for window creation or destruction; false (nothing
    // queued) once a stop was requested.
    bool RequestCreate(FNStageBase* stage);
    bool RequestDestroy(FNStageBase* stage);
    // The window of a stage of this engine, or FNNoWindow.
    FNWindowId WindowOf(const FNStageBase* stage);

    // ---- The platform ----
    // Null until the engine thread has opened the connection, and after the
    // thread has ended; use it under the framework lock.
    FNPlatformConnection* Platform() { return platform.get(); }
    // Why the connection could not be opened (empty when it was).
    const std::string& PlatformFailure() const { return platformFailure; }

    // ---- One engine step (application thread) ----
    // FNEngineStep for this engine; `sleepAfter` false leaves out the 1 ms
    // pause at its end (benchmarks time the work alone).
    bool RunStep(bool sleepAfter = true);
    // Input sampling, input events and dispatch; false when the engine has
    // no platform connection.
    bool SampleInput();
    bool DeriveInputEvents();
    void Dispatch();
    // Presents every stage with a dirty rectangle, then empties them all.
    void PresentDirtyStages();
    // Returns once the engine thread has dispatched every window-system
    // event and handled every thread message posted before the call (at once
    // on the engine thread or when the thread has ended). Do not hold the
    // framework lock.
    void Synchronise();

    // ---- Fields ----
    int imePosition[2] = { 0, 0 }; // composition window, client coordinates of the focused window
    FNString imeText; // last text from the input method (guarded by inputLock)
    FNString imeFontFace = "ＭＳ ゴシック";
    int imeFontHeight = 12;
    FNUserState current; // this step's input
    FNUserState previous; // the previous step's input
    FNUserState pending; // raw values from the engine thread (guarded by inputLock)
    FNSystemState system; // keyboard snapshot and dropped files (guarded by inputLock)
    FNClickMemory clicks; // lastPressTime, lastClickTime, lastReleasedButton
    std::vector<FNFocusRequest> focusRequests;
    std::atomic<uint64_t> threadId { 0 }; // engine thread (a hash of its id), set when it starts
    std::vector<FNStageBase*> stages; // windows that exist, in creation order
    std::deque<FNEventState> events; // first in, first out
    std::deque<FNStageBase*> createQueue;
    std::deque<FNStageBase*> destroyQueue;
    std::map<FNWindowId, FNStageBase*> windows;
    FNStageBase* mainStage = nullptr;
    FNEngine* previousEngine = nullptr;
    std::mutex inputLock;

    // Sets stopRequested when running and posts FN_MSG_QUIT (any thread).
    void RequestStop() override;

protected:
    // The engine thread's body: open the platform connection; the message
    // loop; discard the events left and close the connection.
    void OnStart() override;
    void Run() override;
    void OnEnd() override;

private:
    class Listener;
    friend class Listener;

    bool HandleThreadMessage(const FNThreadMessage& message);
    void CreateQueuedWindows();
    void DestroyQueuedWindows();
    void SnapshotKeyboard();
    // Input sampling's parts: the raw key, text and wheel values move from
    // `pending` into `current`; the hover block is filled for the stage under
    // the pointer (or the captured one).
    void TakeRawInput();
    void SampleHover(const FNPointerState& pointer, FNStageBase* under);
    void Pin();

    std::unique_ptr<FNPlatformConnection> platform;
    std::string platformFailure;
    std::atomic<bool> platformSettled { false };
    std::atomic<uint64_t> sendsPosted { 0 };
    std::atomic<uint64_t> sendsHandled { 0 };
    std::unique_ptr<Listener> listener;
    std::unique_ptr<FNEngineStackGuard> stackEntry;
};

// Pushes an engine onto the engine stack for its lifetime: the engine becomes
// current, and on every way out the engine that was current before it is
// current again, with the main stage seen by the step set to that engine's.
class FNEngineStackGuard {
public:
    explicit FNEngineStackGuard(FNEngine* engine);
    ~FNEngineStackGuard();
    FNEngineStackGuard(const FNEngineStackGuard&) = delete;
    FNEngineStackGuard& operator=(const FNEngineStackGuard&) = delete;

private:
    FNEngine* m_engine;
};

// One step of the current engine; false once it is stopping or gone.
bool FNEngineStep();
// Asks the framework to stop.
void FNQuit();
// One-time framework initialisation; only the first call acts.
void FNInitialise();
