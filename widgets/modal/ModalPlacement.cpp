#include "widgets/modal/ModalPlacement.h"

#include "framework/engine/FNEngine.h"
#include "framework/stage/FNStageBase.h"

FNRect modalPlacement(FNStageBase* owner, int width, int height)
{
    FNRect around { 0, 0, 1280, 1024 };
    FNEngine* engine = FNEngine::Current();
    // The owner's window belongs to its own engine's connection: a modal
    // window's nested engine, current by now, knows nothing of it.
    FNPlatformConnection* ownerPlatform = owner ? owner->Platform() : nullptr;
    int left = 0, top = 0;
    if (ownerPlatform && owner->window != FNNoWindow && ownerPlatform->ClientToScreen(owner->window, left, top)) {
        around = FNRect { left, top, left + owner->width, top + owner->height };
    } else if (engine && engine->Platform()) {
        const FNPlatformRect area = engine->Platform()->WorkArea();
        around = FNRect { area.left, area.top, area.right, area.bottom };
    }
    const int x = around.left + (around.right - around.left - width) / 2;
    const int y = around.top + (around.bottom - around.top - height) / 2;
    return FNRect { x, y, x + width, y + height };
}
