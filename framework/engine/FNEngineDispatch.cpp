// Dispatch of queued events to the connectors of their item or stage
// (application thread).

#include "framework/core/FNFrameworkLock.h"
#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventConnector.h"
#include "framework/scene/FN2DItemBase.h"

namespace {

// The connectors an event reaches, in order: those of its item (or stage),
// then, while the object passes events on, those of its parent, upwards.
// Empty when the event is dropped.
std::vector<FNEventConnector*> receivers(const FNEventState& event)
{
    std::vector<FNEventConnector*> out;
    // An object deleted after its event was queued gets nothing.
    if ((event.item && !FNIsLiveObject(event.item)) || (event.stage && !FNIsLiveObject(event.stage)))
        return out;
    if (event.item) {
        if (!event.item->IsEnabled())
            return out;
        for (const FN2DItemBase* item = event.item; item; item = item->passEventsToParent ? item->parent : nullptr)
            FNEventConnector::CollectForItem(item, out);
    } else if (event.stage) {
        FNStageDriver& driver = FNEngine::StageDriver();
        if (!driver.IsEnabled(event.stage))
            return out;
        for (const FNStageBase* stage = event.stage; stage;
             stage = driver.PassesEventsToParent(stage) ? driver.ParentStage(stage) : nullptr)
            FNEventConnector::CollectForStage(stage, out);
    }
    return out;
}

struct DispatchPass {
    DispatchPass() { FNEventConnector::BeginDispatch(); }
    ~DispatchPass() { FNEventConnector::EndDispatch(); }
};

} // namespace

size_t FNEngine::Dispatch()
{
    FNEventConnector::RebindPlacedWidgets();
    DispatchPass pass;
    size_t taken = 0;
    // Events queued by handlers join the same pass.
    for (;; ++taken) {
        FNEventState event;
        {
            FNFrameworkLockGuard guard;
            if (events.empty())
                return taken;
            event = events.front();
            events.pop_front();
        }
        for (FNEventConnector* connector : receivers(event)) {
            // A handler may have destroyed a later connector of the list.
            if (FNEventConnector::IsLive(connector) && connector->Emit(event))
                PresentDirtyStages();
        }
    }
}
