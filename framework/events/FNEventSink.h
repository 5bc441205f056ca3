#pragma once

#include "framework/events/FNEventState.h"

class FNStageBase;
class FN2DItemBase;
class FNWidget;

// A request to move the keyboard focus, processed in the next engine step.
struct FNFocusRequest {
    FNStageBase* stage = nullptr;
    FN2DItemBase* item = nullptr;
    void* target = nullptr;
    FNWidget* widget = nullptr;
};

// FNEventSink: where raised events and focus requests go. The engine
// implements it; events, items, scenes and stages hand their events to a sink
// instead of reaching into the engine, so this layer depends on nothing above
// it.
class FNEventSink {
public:
    // Appends one event to the queue (any thread).
    virtual void QueueEvent(const FNEventState& event) = 0;
    // Appends a focus request for the next step (application thread).
    virtual void RequestFocus(const FNFocusRequest& request) = 0;

    // The sink of the current engine (the top of the engine stack), or null
    // when no engine exists. The engine stack sets it.
    static FNEventSink* Current();
    static void SetCurrent(FNEventSink* sink);

protected:
    ~FNEventSink() = default;
};

// Appends a focus request {stage, item, target, widget} to the current
// engine; it is processed in the next engine step. Nothing happens when no
// engine exists.
void FNRequestFocus(FNStageBase* stage, FN2DItemBase* item, void* target, FNWidget* widget);
