#pragma once

#include "framework/core/FNGUICoreObject.h"
#include "framework/events/FNEventState.h"

#include <deque>
#include <vector>

// A request to move the keyboard focus, processed in the next engine step.
struct FNFocusRequest {
    FNStageBase* stage = nullptr;
    FN2DItemBase* item = nullptr;
    void* target = nullptr;
    FNWidget* widget = nullptr;
};

// FNEngine: the framework's engine. This part holds what raising events from
// code needs: the queue of pending events and the list of focus requests,
// plus the engine stack (the newest engine is current; deleting it makes the
// previous one current again). The engine thread, the main-loop step, input
// sampling and dispatch build on these fields.
//
// Thread: events are queued from the application thread and from the engine
// thread, so the queue is only touched under the framework lock; the focus
// requests belong to the application thread.
class FNEngine : public FNGUICoreObject {
public:
    FNEngine();
    ~FNEngine() override;

    FNEngine(const FNEngine&) = delete;
    FNEngine& operator=(const FNEngine&) = delete;

    // The top of the engine stack, or null when no engine exists.
    static FNEngine* Current();

    // Appends one event under the framework lock.
    void QueueEvent(const FNEventState& event);

    std::vector<FNFocusRequest> focusRequests;
    std::deque<FNEventState> events; // first in, first out; guarded by the framework lock
    FNEngine* previousEngine = nullptr;
};
