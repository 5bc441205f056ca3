#pragma once

#include "framework/core/FNInitialise.h"
#include "framework/core/FNThread.h"
#include "framework/engine/FNStageDriver.h"
#include "framework/events/FNEventSink.h"
#include "framework/events/FNEventState.h"
#include "framework/events/FNInputEvents.h"
#include "framework/events/FNKeyLatch.h"
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

class FNEngineStackGuard;

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
// The framework lock (FNFrameworkLock.h) guards the event queue, the create
// and destroy queues, the window map (written by the engine thread under it,
// read by the application thread under it), the stages, the main stage and
// the platform connection's lifetime. The raw input, the keyboard snapshot
// and the input method's text are written by the engine thread and read by
// the application thread under the engine's own input lock. `current`,
// `previous`, the click bookkeeping and the focus requests belong to the
// application thread. The accessors below take the right lock.
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

// What an engine step does after its work.
enum class FNStepPause {
    None, // returns at once (benchmarks time the work alone)
    OneMillisecond, // sleeps 1 ms
    // Sleeps 1 ms after a step that did something; after one that found
    // nothing to do (no input, no event, no running animation, nothing
    // drawn or presented, nothing left to free) sleeps until something
    // arrives that the next step may see: input or another window-system
    // event, a thread message, an event queued from another thread, or the
    // engine thread ending.
    UntilActivity,
};

class FNEngine : public FNThread, public FNEventSink {
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
    // The engine that was current before this one.
    FNEngine* PreviousEngine() const { return previousEngine; }

    static void SetStageDriver(FNStageDriver* driver);
    static FNStageDriver& StageDriver();

    // ---- Events and messages ----
    // Appends one event under the framework lock (any thread).
    void QueueEvent(const FNEventState& event) override;
    // Appends a focus request for the next step (application thread).
    void RequestFocus(const FNFocusRequest& request) override;
    // Posts a thread message with the stage as parameter (any thread).
    void PostToThread(int message, FNStageBase* stage);
    // Posts and waits until the engine thread has handled it; on the engine
    // thread it is handled at once. Do not hold the framework lock.
    void SendToThread(int message, FNStageBase* stage);
    // Queue a stage for window creation or destruction; false (nothing
    // queued) once a stop was requested.
    bool RequestCreate(FNStageBase* stage);
    bool RequestDestroy(FNStageBase* stage);
    // True once a stop was requested or the engine thread has ended.
    bool IsStopping() const { return stopRequested || finished; }

    // ---- What the engine holds (each read takes the lock that guards it) ----
    // The window of a stage of this engine, or FNNoWindow.
    FNWindowId WindowOf(const FNStageBase* stage) const;
    // The stage of one of this engine's windows, or null.
    FNStageBase* StageOfWindow(FNWindowId window) const;
    size_t WindowCount() const;
    // The first stage whose window this engine created (null until then).
    FNStageBase* MainStage() const;
    // The stages whose windows exist, in creation order.
    std::vector<FNStageBase*> Stages() const;
    // The events waiting for dispatch, first in first out, and dropping them.
    std::vector<FNEventState> QueuedEvents() const;
    void DiscardQueuedEvents();
    // The focus requests waiting for the next step (application thread).
    const std::vector<FNFocusRequest>& FocusRequests() const { return focusRequests; }
    // The keyboard snapshot and the last dropped files. Handlers test
    // modifier keys here, e.g. System().keys[FNKeyControl] & 0x80.
    FNSystemState System() const;
    // The last text the input method produced.
    FNString ImeText() const;
    // The engine thread's identifier (a hash of its id), set when it starts.
    uint64_t ThreadId() const { return threadId; }

    // ---- The platform ----
    // Null until the engine thread has opened the connection, and after the
    // thread has ended; use it under the framework lock.
    FNPlatformConnection* Platform() { return platform.get(); }
    // Why the connection could not be opened (empty when it was).
    const std::string& PlatformFailure() const { return platformFailure; }

    // ---- One engine step (application thread) ----
    // One step for this engine, then the pause (FNEngineStep pauses
    // UntilActivity). The step, in order:
    //   1. a new main stage: queue MainStageChanged for it and activate it;
    //   2. stopping (or the thread has ended): free pending objects, false;
    //   3. sample input (SampleInput); 4. derive input events
    //      (DeriveInputEvents): on failure free pending objects, false;
    //   5. dispatch every queued event (Dispatch), presenting dirty stages
    //      after each handler call;
    //   6. advance the animations;
    //   7. render every scene with a dirty region into its back buffer;
    //   8. present the dirty stages (PresentDirtyStages);
    //   9. free pending objects, pause, true.
    bool RunStep(FNStepPause pause);
    // `sleepAfter`: the 1 ms pause, else none.
    bool RunStep(bool sleepAfter = true)
    {
        return RunStep(sleepAfter ? FNStepPause::OneMillisecond : FNStepPause::None);
    }
    // Steps 3, 4 and 5; false when the engine has no platform connection.
    // Dispatch returns the number of events it took from the queue.
    bool SampleInput();
    bool DeriveInputEvents();
    size_t Dispatch();
    // Presents every stage with a dirty rectangle, then empties them all;
    // true when one was presented.
    bool PresentDirtyStages();
    // Whether the application thread is in the wait of a step that found
    // nothing to do (tests wait for it before they act).
    bool WaitingForActivity() const { return activity.Waiting(); }
    // Returns once the engine thread has dispatched every window-system
    // event and handled every thread message posted before the call (at once
    // on the engine thread or when the thread has ended). Do not hold the
    // framework lock.
    void Synchronise();

    // ---- The input state of the step (application thread) ----
    // Where the input method's composition window goes, in client
    // coordinates of the focused window (set by text entry widgets).
    int imePosition[2] = { 0, 0 };
    FNUserState current; // this step's input
    FNUserState previous; // the previous step's input

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
    friend class FNEngineStackGuard;

    bool HandleThreadMessage(const FNThreadMessage& message);
    void CreateQueuedWindows();
    void DestroyQueuedWindows();
    void SnapshotKeyboard();
    // The pause of a step; `idle`: the step found nothing to do, `seen`: the
    // activity count when it began.
    void Pause(FNStepPause pause, bool idle, uint64_t seen);
    // Input sampling's parts: one latched key change (or text) and one wheel
    // notch move into `current`; the hover block is filled for the stage
    // under the pointer (or the captured one).
    void TakeRawInput();
    void SampleHover(const FNPointerState& pointer, FNStageBase* under);
    void Pin();

    // Written by the engine thread, read by the application thread; guarded
    // by inputLock.
    FNString imeText; // last text from the input method
    FNUserState pending; // raw values since the last step (the hover and focus blocks stay empty)
    FNKeyLatch keys; // key changes and texts since the last step
    std::deque<int> wheelNotches; // wheel movements since the last step
    FNSystemState system; // keyboard snapshot and dropped files
    mutable std::mutex inputLock;
    // The application thread's: double-click bookkeeping, focus requests and
    // the keys down at the key change this step took (see System()).
    FNClickMemory clicks;
    uint8_t stepKeys[256] = {};
    bool rawInputLeft = false; // this step's sample left key changes, notches or button changes waiting
    size_t pendingAfterLastStep = 0; // objects the last step left pending
    std::vector<FNFocusRequest> focusRequests;
    // Guarded by the framework lock.
    std::vector<FNStageBase*> stages; // windows that exist, in creation order
    std::deque<FNEventState> events; // first in, first out
    std::deque<FNStageBase*> createQueue;
    std::deque<FNStageBase*> destroyQueue;
    std::map<FNWindowId, FNStageBase*> windows;
    FNStageBase* mainStage = nullptr;
    FNEngine* previousEngine = nullptr;
    std::atomic<uint64_t> threadId { 0 };
    // Noted by the engine thread (events and messages handled, its end) and
    // by other threads queueing events; an idle step waits for it. While the
    // application thread waits, the engine thread waits for the window
    // system without a limit instead of in 1 ms steps.
    FNActivitySignal activity;
    std::atomic<bool> applicationWaiting { false };

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
