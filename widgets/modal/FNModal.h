#pragma once

#include "framework/core/FNGUICoreObject.h"

class FNEngine;
class FNStageBase;

// FNModal: a window that blocks its owner while it is open. DoModal disables
// the owner, pushes a nested engine for the modal window's stages (their
// windows live on the nested engine's thread) and runs engine steps of that
// engine until the window ends; then the nested engine goes, the previous
// engine is current again and the owner is enabled and activated.
//
//   DoModal(owner)   nothing while running; owner disabled; new engine;
//                    RunLoop; engine deleted; owner enabled and activated
//   RunLoop()        OnOpen; open; OnFrame after every step of the current
//                    engine until it stops; OnClose if still open
//   EndModal()       OnClose if open; the nested engine is asked to stop,
//                    so the next step ends RunLoop
//
// Thread: the application thread; the loop runs on it.
class FNModal : public FNGUICoreObject {
public:
    FNModal();
    ~FNModal() override;

    FNModal(const FNModal&) = delete;
    FNModal& operator=(const FNModal&) = delete;

    virtual void RunLoop();
    virtual void OnOpen() { }
    virtual void OnClose() { }
    virtual void OnFrame() { }

    void DoModal(FNStageBase* owner);
    void EndModal();

    FNEngine* engine = nullptr; // the nested engine while the window runs (owned)
    bool open = false;
};
