#pragma once

#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventSink.h"

class FNStageBase;
class FN2DItemBase;
class FNWidget;

// Raising events from code. Each call queues one record on the engine of the
// stage concerned; every field is zero except the code, the stage and (item
// form) the item. Nothing is queued for a stage without an engine or for an
// item that is not placed in a scene shown by a stage.
//
// The widget form queues on the widget's item with the widget as target; the
// widget layer says where a widget keeps its item through
// FNEventConnector::SetWidgetItemLookup, and an unplaced widget raises
// nothing. FNRequestFocus (FNEventSink.h) asks for the focus.
void FNEmitToStage(FNStageBase* stage, int code);
void FNEmitToItem(FN2DItemBase* item, int code);
void FNEmitToWidget(FNWidget* widget, int code);
