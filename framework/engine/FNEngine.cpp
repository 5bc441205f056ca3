#include "framework/engine/FNEngine.h"

#include "framework/core/FNFrameworkLock.h"

namespace {

FNEngine*& currentEngine()
{
    static FNEngine* engine = nullptr;
    return engine;
}

} // namespace

FNEngine::FNEngine()
{
    FN_SET_CLASS_NAME(FNEngine);
    FNFrameworkLockGuard guard;
    previousEngine = currentEngine();
    currentEngine() = this;
}

FNEngine::~FNEngine()
{
    FNFrameworkLockGuard guard;
    focusRequests.clear();
    events.clear();
    // Engines are popped in the reverse order of their creation; an engine
    // deleted out of order only unlinks itself.
    if (currentEngine() == this)
        currentEngine() = previousEngine;
}

FNEngine* FNEngine::Current()
{
    return currentEngine();
}

void FNEngine::QueueEvent(const FNEventState& event)
{
    FNFrameworkLockGuard guard;
    events.push_back(event);
}
