#include "framework/events/FNEventSink.h"

#include "framework/core/FNFrameworkLock.h"

namespace {

// Constant-initialised: valid before any engine exists and after the last.
FNEventSink* currentSink = nullptr;

} // namespace

FNEventSink* FNEventSink::Current()
{
    FNFrameworkLockGuard guard;
    return currentSink;
}

void FNEventSink::SetCurrent(FNEventSink* sink)
{
    FNFrameworkLockGuard guard;
    currentSink = sink;
}

void FNRequestFocus(FNStageBase* stage, FN2DItemBase* item, void* target, FNWidget* widget)
{
    if (FNEventSink* sink = FNEventSink::Current())
        sink->RequestFocus(FNFocusRequest { stage, item, target, widget });
}
