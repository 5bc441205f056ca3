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
        // The modal window took the system's keyboard focus. The owner's
        // engine may still count the owner as focused, and then Activate
        // alone asks for nothing: the focus goes back to it here.
        if (owner->engine && owner->windowCreated)
            owner->engine->PostToThread(FN_MSG_SET_FOCUS, owner);
        owner->Activate();
    }
}

void FNModal::RunLoop()
{
    OnOpen();
    open = true;
    while (FNEngine::Current() && FNEngineStep()) {
        // The engines below, the owner's among them, take no steps meanwhile:
        // what the window system asks their windows to paint again (a window
        // moved off them, a closed list) comes from their back buffers here.
        for (FNEngine* below = FNEngine::Current()->PreviousEngine(); below; below = below->PreviousEngine())
            below->PresentDirtyStages();
        OnFrame();
    }
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
