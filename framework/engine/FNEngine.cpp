#include "framework/engine/FNEngine.h"

#include "framework/animation/FNAnimation.h"
#include "framework/core/FNDeferredFree.h"
#include "framework/core/FNFrameworkLock.h"
#include "framework/core/FNInitialise.h"
#include "framework/events/FNEventCode.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/scene/FN2DScene.h"
#include "imaging/text/Utf8.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

namespace {

// Set on a message posted by SendToThread; the engine thread counts it.
constexpr int sentFlag = 0x40000000;
// Engine-internal: dispatch waiting window-system events, then acknowledge.
constexpr int syncMessage = 2059;
// Engine-internal: the application thread's idle wait is over; the engine
// thread goes back to its 1 ms pace.
constexpr int wakeMessage = 2060;

FNEngine*& currentEngine()
{
    static FNEngine* engine = nullptr;
    return engine;
}

// The main stage the last FNEngineStep saw, to notice a change.
FNStageBase*& seenMainStage()
{
    static FNStageBase* stage = nullptr;
    return stage;
}

thread_local FNEngine* t_threadEngine = nullptr;

// Constant-initialised, so they exist before any engine and outlive the
// process-wide engine.
FNStageDriver neutralDriver;
FNStageDriver* installedDriver = &neutralDriver;

struct ProcessEngineHolder {
    std::unique_ptr<FNEngine> engine;
    bool made = false;
};

ProcessEngineHolder& processHolder()
{
    static ProcessEngineHolder holder;
    return holder;
}

void sleepOneMillisecond()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

FNEventState windowEvent(int code, FNStageBase* stage)
{
    FNEventState event;
    event.code = code;
    event.stage = stage;
    return event;
}

} // namespace

// ---- The engine thread's window procedure ----------------------------------------
//
// Records raw input for the next step and queues window-level events; every
// call then goes on to the stage driver for window-specific work.
class FNEngine::Listener final : public FNPlatformListener {
public:
    explicit Listener(FNEngine& engine)
        : m_engine(engine)
    {
    }

    FNStageDriver& Driver() { return FNEngine::StageDriver(); }

    void OnPaint(FNWindowId w, const FNPlatformRect& area) override { Driver().OnPaint(w, area); }
    void OnMoved(FNWindowId w, int x, int y) override { Driver().OnMoved(w, x, y); }
    void OnResized(FNWindowId w, int width, int height) override { Driver().OnResized(w, width, height); }
    void OnShown(FNWindowId w, bool shown) override { Driver().OnShown(w, shown); }
    void OnFocus(FNWindowId w, bool focused) override
    {
        if (!focused) {
            std::lock_guard<std::mutex> guard(m_engine.inputLock);
            m_engine.keys.FocusLost();
        }
        Driver().OnFocus(w, focused);
    }

    void OnCloseRequest(FNWindowId w) override
    {
        Queue(FNEvent::CloseRequest, w);
        Driver().OnCloseRequest(w);
    }

    void OnKeyDown(FNWindowId w, int virtualKey) override
    {
        {
            std::lock_guard<std::mutex> guard(m_engine.inputLock);
            m_engine.keys.KeyDown(virtualKey);
        }
        Driver().OnKeyDown(w, virtualKey);
    }

    void OnKeyUp(FNWindowId w, int virtualKey) override
    {
        {
            std::lock_guard<std::mutex> guard(m_engine.inputLock);
            m_engine.keys.KeyUp(virtualKey);
        }
        Driver().OnKeyUp(w, virtualKey);
    }

    void OnWheel(FNWindowId w, int delta) override
    {
        {
            std::lock_guard<std::mutex> guard(m_engine.inputLock);
            m_engine.wheelNotches.push_back(delta);
        }
        Driver().OnWheel(w, delta);
    }

    void OnTextInput(FNWindowId w, const std::string& utf8) override
    {
        {
            // Kept within the input limit, cut only between letters.
            std::lock_guard<std::mutex> guard(m_engine.inputLock);
            m_engine.imeText = utf8Cut(utf8, FNTextInputLimit);
            m_engine.keys.Text(m_engine.imeText);
        }
        Driver().OnTextInput(w, utf8);
    }

    void OnFilesDropped(FNWindowId w, const std::vector<std::string>& paths) override
    {
        {
            std::lock_guard<std::mutex> guard(m_engine.inputLock);
            m_engine.system.droppedFiles = paths; // whole paths, in the order given
        }
        QueueAtPointer(FNEvent::FilesDropped, w);
        Driver().OnFilesDropped(w, paths);
    }

    void OnDestroyed(FNWindowId w) override
    {
        FNFrameworkLockGuard guard;
        auto found = m_engine.windows.find(w);
        if (found != m_engine.windows.end()) {
            FNStageBase* stage = found->second;
            m_engine.windows.erase(found);
            m_engine.stages.erase(
                std::remove(m_engine.stages.begin(), m_engine.stages.end(), stage), m_engine.stages.end());
            if (m_engine.mainStage == stage)
                m_engine.mainStage = nullptr;
            Driver().WindowDestroyed(m_engine, stage);
        }
        Driver().OnDestroyed(w);
    }

private:
    void Queue(int code, FNWindowId w)
    {
        FNFrameworkLockGuard guard;
        auto found = m_engine.windows.find(w);
        if (found != m_engine.windows.end())
            m_engine.QueueEvent(windowEvent(code, found->second));
    }

    // A window event that happens where the pointer is (a drop): it carries
    // the pointer's screen position and its place in the window.
    void QueueAtPointer(int code, FNWindowId w)
    {
        FNFrameworkLockGuard guard;
        auto found = m_engine.windows.find(w);
        if (found == m_engine.windows.end())
            return;
        FNEventState event = windowEvent(code, found->second);
        FNPointerState pointer;
        FNPlatformConnection* platform = m_engine.Platform();
        if (platform && platform->QueryPointer(pointer)) {
            int x = pointer.screenX, y = pointer.screenY;
            event.screenX = x, event.screenY = y;
            if (platform->ScreenToClient(w, x, y))
                event.clientX = x, event.clientY = y;
        }
        m_engine.QueueEvent(event);
    }

    FNEngine& m_engine;
};

// ---- Construction and the stack -----------------------------------------------------

FNEngineStackGuard::FNEngineStackGuard(FNEngine* engine)
    : m_engine(engine)
{
    FNFrameworkLockGuard guard;
    engine->previousEngine = currentEngine();
    currentEngine() = engine;
    FNEventSink::SetCurrent(engine);
}

FNEngineStackGuard::~FNEngineStackGuard()
{
    FNFrameworkLockGuard guard;
    // Engines are popped in the reverse order of their creation; one deleted
    // out of order only unlinks itself.
    if (currentEngine() == m_engine) {
        currentEngine() = m_engine->previousEngine;
        FNEventSink::SetCurrent(currentEngine());
        seenMainStage() = currentEngine() ? currentEngine()->mainStage : nullptr;
        return;
    }
    for (FNEngine* engine = currentEngine(); engine; engine = engine->previousEngine) {
        if (engine->previousEngine == m_engine) {
            engine->previousEngine = m_engine->previousEngine;
            break;
        }
    }
}

FNEngine::FNEngine()
{
    FN_SET_CLASS_NAME(FNEngine);
    Start();
    // Thread messages need the connection: wait until the thread has it.
    while (!platformSettled)
        sleepOneMillisecond();
    stackEntry = std::make_unique<FNEngineStackGuard>(this);
}

FNEngine::~FNEngine()
{
    // 1. Windows of the stages go first, while the thread still runs.
    std::vector<FNStageBase*> open;
    {
        FNFrameworkLockGuard guard;
        open = stages;
    }
    if (!stopRequested && !finished && !open.empty()) {
        for (FNStageBase* stage : open)
            RequestDestroy(stage);
        PostToThread(FN_MSG_DESTROY_STAGES, nullptr);
        Synchronise();
    }
    // 2. Stop the thread and wait for it.
    if (running) {
        stopRequested = true;
        PostToThread(FN_MSG_QUIT, nullptr);
        while (!finished)
            sleepOneMillisecond();
    }
    // 3. Forget everything queued.
    {
        FNFrameworkLockGuard guard;
        focusRequests.clear();
        stages.clear();
        events.clear();
        createQueue.clear();
        destroyQueue.clear();
        windows.clear();
    }
    // 4. Pop the stack; 5. release the thread.
    stackEntry.reset();
    Join();
}

FNEngine* FNEngine::Current()
{
    FNFrameworkLockGuard guard;
    return currentEngine();
}

FNEngine* FNEngine::StartProcessEngine(std::string& failure)
{
    // The lock and the deferred-free store are made first so that they
    // outlive the engine, which the static destructors destroy at exit.
    FNFrameworkLock();
    FNDeferredFreeing();
    FNIsLiveObject(nullptr);
    ProcessEngineHolder& holder = processHolder();
    failure.clear();
    if (holder.made)
        return holder.engine.get();
    holder.made = true;
    FNInitialise();
    holder.engine = std::make_unique<FNEngine>();
    if (!holder.engine->Platform()) {
        failure = holder.engine->PlatformFailure();
        holder.engine.reset();
    }
    return holder.engine.get();
}

FNEngine* FNEngine::ProcessEngine()
{
    return processHolder().engine.get();
}

FNEngine* FNEngine::OfThisThread()
{
    return t_threadEngine;
}

void FNEngine::SetStageDriver(FNStageDriver* driver)
{
    FNFrameworkLockGuard guard;
    installedDriver = driver ? driver : &neutralDriver;
}

FNStageDriver& FNEngine::StageDriver()
{
    FNFrameworkLockGuard guard;
    return *installedDriver;
}

// ---- Messages ----------------------------------------------------------------------------

void FNEngine::QueueEvent(const FNEventState& event)
{
    {
        FNFrameworkLockGuard guard;
        events.push_back(event);
    }
    // The engine thread notes its own events once it has dispatched them all.
    if (OfThisThread() != this)
        activity.Note();
}

void FNEngine::RequestFocus(const FNFocusRequest& request)
{
    focusRequests.push_back(request);
}

void FNEngine::PostToThread(int message, FNStageBase* stage)
{
    FNFrameworkLockGuard guard;
    if (platform)
        platform->Post(message, reinterpret_cast<uintptr_t>(stage));
}

void FNEngine::SendToThread(int message, FNStageBase* stage)
{
    if (OfThisThread() == this) {
        HandleThreadMessage({ message, reinterpret_cast<uintptr_t>(stage) });
        return;
    }
    uint64_t ticket = 0;
    {
        FNFrameworkLockGuard guard;
        if (!platform || finished)
            return;
        ticket = ++sendsPosted;
        platform->Post(message | sentFlag, reinterpret_cast<uintptr_t>(stage));
    }
    while (sendsHandled < ticket && !finished)
        sleepOneMillisecond();
}

void FNEngine::Synchronise()
{
    SendToThread(syncMessage, nullptr);
}

bool FNEngine::RequestCreate(FNStageBase* stage)
{
    FNFrameworkLockGuard guard;
    if (stopRequested || !stage)
        return false;
    createQueue.push_back(stage);
    return true;
}

bool FNEngine::RequestDestroy(FNStageBase* stage)
{
    FNFrameworkLockGuard guard;
    if (stopRequested || !stage)
        return false;
    destroyQueue.push_back(stage);
    return true;
}

// ---- What the engine holds ------------------------------------------------------------

FNWindowId FNEngine::WindowOf(const FNStageBase* stage) const
{
    FNFrameworkLockGuard guard;
    for (const auto& [window, owner] : windows) {
        if (owner == stage)
            return window;
    }
    return FNNoWindow;
}

FNStageBase* FNEngine::StageOfWindow(FNWindowId window) const
{
    FNFrameworkLockGuard guard;
    auto found = windows.find(window);
    return found == windows.end() ? nullptr : found->second;
}

size_t FNEngine::WindowCount() const
{
    FNFrameworkLockGuard guard;
    return windows.size();
}

FNStageBase* FNEngine::MainStage() const
{
    FNFrameworkLockGuard guard;
    return mainStage;
}

std::vector<FNStageBase*> FNEngine::Stages() const
{
    FNFrameworkLockGuard guard;
    return stages;
}

std::vector<FNEventState> FNEngine::QueuedEvents() const
{
    FNFrameworkLockGuard guard;
    return std::vector<FNEventState>(events.begin(), events.end());
}

void FNEngine::DiscardQueuedEvents()
{
    FNFrameworkLockGuard guard;
    events.clear();
}

FNSystemState FNEngine::System() const
{
    std::lock_guard<std::mutex> guard(inputLock);
    FNSystemState view = system;
    // A key change taken this step shows the keys down at that moment too:
    // the snapshot may already show them released.
    for (int key = 0; key < 256; ++key) {
        if (key != FNKeyLeftButton && key != FNKeyRightButton && key != FNKeyMiddleButton)
            view.keys[key] |= stepKeys[key];
    }
    return view;
}

FNString FNEngine::ImeText() const
{
    std::lock_guard<std::mutex> guard(inputLock);
    return imeText;
}

void FNEngine::RequestStop()
{
    if (running)
        stopRequested = true;
    PostToThread(FN_MSG_QUIT, nullptr);
}

// ---- The engine thread ----------------------------------------------------------------------

void FNEngine::OnStart()
{
    t_threadEngine = this;
    threadId = std::hash<std::thread::id>()(std::this_thread::get_id());
    std::string failure;
    std::unique_ptr<FNPlatformConnection> opened = FNPlatformConnection::Open(failure);
    {
        FNFrameworkLockGuard guard;
        platform = std::move(opened);
        platformFailure = platform ? std::string() : (failure.empty() ? "the window system refused" : failure);
        listener = std::make_unique<Listener>(*this);
    }
    if (!platform)
        stopRequested = true;
    platformSettled = true;
}

void FNEngine::Run()
{
    if (stopRequested || !platform)
        return;
    // Events and messages handled that the application thread has not been
    // told of yet: it hears of them once everything waiting is handled and
    // the keyboard snapshot is fresh, so the step it wakes for sees them all.
    bool unnoted = false;
    for (;;) {
        if (!platform->HasPending()) {
            SnapshotKeyboard();
            if (unnoted)
                activity.Note();
            unnoted = false;
            platform->Wait(applicationWaiting ? -1 : 1);
            continue;
        }
        if (platform->DispatchEvents(*listener) > 0)
            unnoted = true;
        FNThreadMessage message;
        if (platform->NextThreadMessage(message)) {
            if (!HandleThreadMessage(message))
                return;
            unnoted = unnoted || message.message != wakeMessage;
        }
    }
}

void FNEngine::OnEnd()
{
    FNFrameworkLockGuard guard;
    events.clear();
    // The connection closes on its own thread; it destroys the windows left.
    platform.reset();
    windows.clear();
    stages.clear();
    mainStage = nullptr;
    t_threadEngine = nullptr;
    // A step waiting for activity must see that the thread has ended.
    activity.Note();
}

bool FNEngine::HandleThreadMessage(const FNThreadMessage& posted)
{
    const bool sent = (posted.message & sentFlag) != 0;
    const int message = posted.message & ~sentFlag;
    FNStageBase* stage = reinterpret_cast<FNStageBase*>(posted.param);
    bool keepRunning = true;
    switch (message) {
    case FN_MSG_CREATE_STAGES:
        CreateQueuedWindows();
        break;
    case FN_MSG_DESTROY_STAGES:
        DestroyQueuedWindows();
        break;
    case FN_MSG_QUIT:
        DestroyQueuedWindows();
        keepRunning = false;
        break;
    case syncMessage:
        platform->DispatchEvents(*listener);
        break;
    case FN_MSG_FIT_CLIENT:
    case FN_MSG_SET_FOCUS:
    case FN_MSG_SET_CURSOR:
    case FN_MSG_ENABLE:
    case FN_MSG_DISABLE:
        if (message == FN_MSG_SET_FOCUS && !stage)
            platform->SetFocus(FNNoWindow); // a null stage removes focus
        else
            StageDriver().StageMessage(*this, *platform, message, stage);
        break;
    default:
        break;
    }
    if (sent)
        ++sendsHandled;
    return keepRunning;
}

void FNEngine::CreateQueuedWindows()
{
    FNFrameworkLockGuard guard;
    while (!createQueue.empty()) {
        FNStageBase* stage = createQueue.front();
        createQueue.pop_front();
        if (WindowOf(stage) != FNNoWindow)
            continue;
        FNWindowId window = StageDriver().CreateWindow(*this, *platform, stage);
        while (window == FNNoWindow && !stopRequested) {
            sleepOneMillisecond();
            window = StageDriver().CreateWindow(*this, *platform, stage);
        }
        if (window == FNNoWindow)
            continue;
        windows[window] = stage;
        StageDriver().WindowCreated(*this, stage, window);
        if (!mainStage)
            mainStage = stage;
        stages.push_back(stage);
    }
}

void FNEngine::DestroyQueuedWindows()
{
    FNFrameworkLockGuard guard;
    while (!destroyQueue.empty()) {
        FNStageBase* stage = destroyQueue.front();
        destroyQueue.pop_front();
        if (mainStage == stage)
            mainStage = nullptr;
        const FNWindowId window = WindowOf(stage);
        if (window != FNNoWindow) {
            while (!StageDriver().DestroyWindow(*this, *platform, stage, window) && windows.count(window)
                && !stopRequested)
                sleepOneMillisecond();
            windows.erase(window);
        }
        StageDriver().WindowDestroyed(*this, stage);
        stages.erase(std::remove(stages.begin(), stages.end(), stage), stages.end());
    }
}

void FNEngine::SnapshotKeyboard()
{
    uint8_t table[256];
    platform->KeyboardState(table);
    std::lock_guard<std::mutex> guard(inputLock);
    std::memcpy(system.keys, table, sizeof table);
    system.keys[FNPollCounterIndex]++; // wraps from 255 to 0
}

// ---- The engine step (application thread) ---------------------------------------------------

bool FNEngine::RunStep(FNStepPause pause)
{
    const uint64_t seen = activity.Count();
    // 1. A new main stage hears about it and is activated.
    FNStageBase* main = nullptr;
    {
        FNFrameworkLockGuard guard;
        main = mainStage;
    }
    if (main != seenMainStage()) {
        seenMainStage() = main;
        if (main) {
            QueueEvent(windowEvent(FNEvent::MainStageChanged, main));
            StageDriver().Activate(main);
        }
    }
    // 2-4. Stopping, or no input to be had: the loop ends.
    if (stopRequested || finished || !SampleInput() || !DeriveInputEvents()) {
        FNFreePending();
        return false;
    }
    const size_t dispatched = Dispatch(); // 5
    const bool animated = FNAnimation::UpdateAll(); // 6
    const bool rendered = FN2DScene::RenderAll(); // 7
    const bool presented = PresentDirtyStages(); // 8
    const size_t stillPending = FNFreePending(); // 9 (steps as listed at RunStep in FNEngine.h)
    // Memory an input state still points at waits for a later step; only
    // when the pending count changed can the next step without input free
    // more (a pointer the previous sample held lets go). What stays pinned
    // by the current sample waits for input either way.
    const bool freeing = stillPending != 0 && stillPending != pendingAfterLastStep;
    pendingAfterLastStep = stillPending;
    const bool idle
        = dispatched == 0 && !animated && !rendered && !presented && !freeing && !rawInputLeft && focusRequests.empty();
    Pause(pause, idle, seen);
    return true;
}

void FNEngine::Pause(FNStepPause pause, bool idle, uint64_t seen)
{
    if (pause == FNStepPause::None)
        return;
    if (pause == FNStepPause::OneMillisecond || !idle) {
        sleepOneMillisecond();
        return;
    }
    applicationWaiting = true;
    FNPlatformWaitForActivity(activity, seen);
    applicationWaiting = false;
    PostToThread(wakeMessage, nullptr);
}

bool FNEngine::PresentDirtyStages()
{
    FNFrameworkLockGuard guard;
    FNStageDriver& driver = StageDriver();
    bool presented = false;
    for (FNStageBase* stage : stages) {
        if (driver.IsDirty(stage)) {
            driver.Present(stage);
            presented = true;
        }
    }
    for (FNStageBase* stage : stages)
        driver.ResetDirty(stage);
    return presented;
}

void FNEngine::Pin()
{
    for (const FNUserState* state : { &current, &previous, &pending }) {
        FNPin(state->hoverStage);
        FNPin(state->hoverItem);
        FNPin(state->hoverWidget);
        FNPin(state->hoverTarget);
        FNPin(state->focusStage);
        FNPin(state->focusItem);
        FNPin(state->focusWidget);
        FNPin(state->focusTarget);
    }
}

bool FNEngineStep()
{
    FNEngine* engine = FNEngine::Current();
    return engine && engine->RunStep(FNStepPause::UntilActivity);
}

void FNQuit()
{
    FNEngine* engine = FNEngine::Current();
    if (!engine)
        return;
    engine->RequestStop();
    if (engine != FNEngine::ProcessEngine())
        return;
    // The process is ending: objects are freed at once from now on.
    FNSetDeferredFreeing(false);
    if (engine->running)
        engine->stopRequested = true;
    engine->PostToThread(FN_MSG_QUIT, nullptr);
    FNFreePending(true);
}
