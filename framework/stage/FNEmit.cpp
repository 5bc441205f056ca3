#include "framework/events/FNEmit.h"

#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventConnector.h"
#include "framework/scene/FN2DItemBase.h"
#include "framework/stage/FNStageBase.h"

void FNEmitToStage(FNStageBase* stage, int code)
{
    if (!stage || !stage->engine)
        return;
    FNEventState event;
    event.code = code;
    event.stage = stage;
    stage->engine->QueueEvent(event);
}

namespace {

void emitToItem(FN2DItemBase* item, int code, FNWidget* widget)
{
    if (!item)
        return;
    FNStageBase* stage = item->StageOf();
    if (!stage || !stage->engine)
        return;
    FNEventState event;
    event.code = code;
    event.stage = stage;
    event.item = item;
    event.target = widget;
    stage->engine->QueueEvent(event);
}

} // namespace

void FNEmitToItem(FN2DItemBase* item, int code)
{
    emitToItem(item, code, nullptr);
}

void FNEmitToWidget(FNWidget* widget, int code)
{
    emitToItem(FNEventConnector::WidgetItem(widget), code, widget);
}

void FNRequestFocus(FNStageBase* stage, FN2DItemBase* item, void* target, FNWidget* widget)
{
    FNEngine* engine = FNEngine::Current();
    if (!engine)
        return;
    engine->focusRequests.push_back(FNFocusRequest { stage, item, target, widget });
}
