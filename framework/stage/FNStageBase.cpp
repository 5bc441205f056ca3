#include "framework/stage/FNStageBase.h"

FNStageBase::FNStageBase()
{
    FN_SET_CLASS_NAME(FNStageBase);
    dirty.reset(0, 0);
}

FNStageBase::~FNStageBase() = default;

bool FNStageBase::IsEnabled() const
{
    for (const FNStageBase* stage = this; stage; stage = stage->parent) {
        if (!stage->enabled)
            return false;
    }
    return true;
}
