#include "framework/stage/FNEmit.h"

#include "framework/events/FNEventConnector.h"
#include "framework/scene/FN2DItemBase.h"
#include "framework/stage/FNStageBase.h"

void FNEmitToStage(FNStageBase* stage, int code)
{
    if (stage)
        stage->Emit(code);
}

void FNEmitToItem(FN2DItemBase* item, int code)
{
    if (item)
        item->Emit(code);
}

void FNEmitToWidget(FNWidget* widget, int code)
{
    if (FN2DItemBase* item = FNEventConnector::WidgetItem(widget))
        item->Emit(code, widget);
}
