// Input sampling and input events of an engine step (application thread).

#include "framework/core/FNDeferredFree.h"
#include "framework/core/FNFrameworkLock.h"
#include "framework/engine/FNEngine.h"
#include "framework/scene/FN2DItemBase.h"
#include "framework/scene/FN2DScene.h"

#include <cstring>

namespace {

// The buttons down now, as FNUserState button values.
uint8_t buttonsDown(int pointerButtons)
{
    uint8_t down = 0;
    if (pointerButtons & FNButtonLeft)
        down |= FNUserLeft;
    if (pointerButtons & FNButtonMiddle)
        down |= FNUserMiddle;
    if (pointerButtons & FNButtonRight)
        down |= FNUserRight;
    return down;
}

} // namespace

bool FNEngine::SampleInput()
{
    FNFrameworkLockGuard guard;
    if (!platform)
        return false;
    // 1-2. This step starts from the last one; raw values move in.
    FNClearPinned();
    previous = current;
    FNPointerState pointer;
    if (!platform->SamplePointer(pointer))
        return false;
    current.screenX = pointer.screenX;
    current.screenY = pointer.screenY;
    TakeRawInput();
    rawInputLeft = rawInputLeft || platform->PointerChangesWaiting();
    current.ClearHover();
    current.doubleClick = 0;

    // 3. The stage under the cursor, if it is one of ours.
    auto found = windows.find(pointer.window);
    FNStageBase* under = found == windows.end() ? nullptr : found->second;

    // 4. Buttons, double clicks and capture. The buttons come with the
    // pointer sample itself, so a press and the position it happened at are
    // read together.
    const FNCaptureAction capture = FNSampleButtons(
        previous.buttons, under != nullptr, buttonsDown(pointer.buttons), pointer.time, clicks, current);
    if (capture == FNCaptureAction::Capture)
        platform->SetCapture(pointer.window);
    else if (capture == FNCaptureAction::Release)
        platform->ReleaseCapture();

    // 5. What is hovered (or captured while a button is held).
    SampleHover(pointer, under);
    // 6. Memory the input states point at stays until they let go of it.
    Pin();
    return true;
}

// One latched key change (or text) and one wheel notch per step, oldest
// first, so that none is overwritten by a later one in the same step.
void FNEngine::TakeRawInput()
{
    std::lock_guard<std::mutex> input(inputLock);
    current.keyDown = current.keyUp = current.textInput = 0;
    current.text = FNString();
    std::memset(stepKeys, 0, sizeof stepKeys);
    FNKeyEntry entry;
    if (keys.Take(entry)) {
        // Text that no key typed (an input method's commit, a letter the
        // keyboard has no key for) carries no key code: an older key's code
        // would make handlers act on that key again.
        current.key = entry.key;
        current.keyDown = entry.kind == FNKeyEntry::Down;
        current.keyUp = entry.kind == FNKeyEntry::Up;
        current.textInput = entry.text.empty() ? 0 : 1;
        current.text = entry.text;
        std::memcpy(stepKeys, entry.keys, sizeof stepKeys);
    }
    current.wheel = 0;
    if (!wheelNotches.empty()) {
        current.wheel = wheelNotches.front();
        wheelNotches.pop_front();
    }
    rawInputLeft = !keys.Empty() || !wheelNotches.empty();
}

void FNEngine::SampleHover(const FNPointerState& pointer, FNStageBase* under)
{
    FNStageBase* captured = FNIsLiveObject(previous.hoverStage) ? previous.hoverStage : nullptr;
    current.hoverStage = under ? under : (current.buttons ? captured : nullptr);
    if (FNStageBase* stage = current.hoverStage) {
        int x = pointer.screenX, y = pointer.screenY;
        platform->ScreenToClient(WindowOf(stage), x, y);
        current.clientX = current.localX = x;
        current.clientY = current.localY = y;
        if (FN2DScene* scene = StageDriver().Scene(stage)) {
            current.hoverKind = FNHover2D;
            FN2DItemBase* item = nullptr;
            // A held button keeps the item it was pressed on; the press
            // itself goes to the item under the pointer now, even when the
            // pointer arrived there in this same step.
            if (current.buttons && previous.buttons)
                item = FNIsLiveObject(previous.hoverItem) ? previous.hoverItem : nullptr;
            else if (std::vector<FN2DItemBase*> hits = scene->HitTest(x, y); !hits.empty())
                item = hits.front();
            current.hoverItem = item;
            if (item) {
                item->ToLocal(x, y, current.localX, current.localY);
                current.hoverWidget = item->ownerWidget;
                current.hoverTarget = item->ownerWidget;
            }
        } else {
            current.hoverKind = FNHoverStage;
            current.hoverTarget = StageDriver().OwnerWidget(stage);
        }
    }
}

bool FNEngine::DeriveInputEvents()
{
    std::vector<FNEventState> derived;
    FNInputActions actions;
    FNDeriveInputEvents(previous, current, focusRequests, derived, actions);
    FNFrameworkLockGuard guard;
    if (!platform)
        return false;
    for (const FNEventState& event : derived)
        events.push_back(event);
    if (actions.setCursor && WindowOf(actions.setCursor) != FNNoWindow)
        PostToThread(FN_MSG_SET_CURSOR, actions.setCursor);
    if (actions.setFocus)
        PostToThread(FN_MSG_SET_FOCUS, actions.setFocus);
    if (actions.activate) {
        const FNWindowId window = WindowOf(actions.activate);
        if (window != FNNoWindow && platform->ActiveWindow() != window && platform->FocusedWindow() != window)
            platform->Activate(window);
    }
    // The focus block may have changed: pin it again.
    Pin();
    return true;
}
