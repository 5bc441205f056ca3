#include "widgets/modal/FNModal.h"

#include "framework/engine/FNEngine.h"
#include "framework/stage/FNStageBase.h"

FNModal::FNModal()
{
    FN_SET_CLASS_NAME(FNModal);
}

FNModal::~FNModal()
{
    open = false;
    if (engine) {
        engine->RequestStop();
        delete engine;
        engine = nullptr;
    }
}

void FNModal::DoModal(FNStageBase* owner)
{
    if (engine)
        return;
    if (owner)
        owner->SetEnabled(false);
    engine = new FNEngine();
    RunLoop();
    delete engine;
    engine = nullptr;
    if (owner) {
        owner->SetEnabled(true);
        owner->Activate();
    }
}

void FNModal::RunLoop()
{
    OnOpen();
    open = true;
    while (FNEngine::Current() && FNEngineStep())
        OnFrame();
    if (open) {
        OnClose();
        open = false;
    }
}

void FNModal::EndModal()
{
    if (open) {
        OnClose();
        open = false;
    }
    if (engine)
        engine->RequestStop();
}
