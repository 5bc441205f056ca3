#include "framework/events/FNInputEvents.h"

#include "framework/events/FNEventCode.h"

namespace {

// Press priority: left before middle before right.
constexpr uint8_t pressOrder[3] = { FNUserLeft, FNUserMiddle, FNUserRight };

bool isDoubleClick(uint8_t button, uint8_t down, uint32_t now, const FNClickMemory& memory)
{
    return (down & button) && memory.lastReleasedButton == button && now - memory.lastClickTime <= FNDoubleClickTime
        && memory.lastClickTime - memory.lastPressTime <= FNDoubleClickTime;
}

void fillPositions(FNEventState& event, const FNUserState& state)
{
    event.screenX = state.screenX;
    event.screenY = state.screenY;
    event.clientX = state.clientX;
    event.clientY = state.clientY;
    event.localX = state.localX;
    event.localY = state.localY;
    event.wheel = state.wheel;
    event.key = state.key;
    event.param = 0;
    event.doubleClick = state.doubleClick;
}

void takeFocusFromHover(FNUserState& state)
{
    state.focusStage = state.hoverStage;
    state.focusItem = state.hoverItem;
    state.focusWidget = state.hoverWidget;
    state.focusTarget = state.hoverTarget;
}

bool sameAsFocus(const FNFocusRequest& request, const FNUserState& state)
{
    return request.stage == state.focusStage && request.item == state.focusItem && request.widget == state.focusWidget;
}

// How the rest of the step goes after the part without a held button.
enum class StepRest { Continue, FocusOnly, Ends };

// Keys, stage keys, hover change, then buttons, moves and wheel. A release
// ends the step (its focus requests wait for the next one); a pointer over
// none of the engine's stages leaves only the focus changes to do.
StepRest deriveWithoutHeldButton(
    const FNUserState& P, FNUserState& S, std::vector<FNEventState>& events, FNInputActions& actions)
{
    if (S.keyDown)
        events.push_back(FNEventFromFocus(FNEvent::KeyDown, S));
    else if (S.keyUp)
        events.push_back(FNEventFromFocus(FNEvent::KeyUp, S));
    else if (S.textInput)
        events.push_back(FNEventFromFocus(FNEvent::KeyDown, S));

    if (S.keyDown || S.keyUp) {
        FNEventState stageKey = FNEventFromHover(S.keyDown ? FNEvent::StageKeyDown : FNEvent::StageKeyUp, S);
        stageKey.stage = S.focusStage;
        stageKey.item = nullptr;
        stageKey.widget = nullptr;
        stageKey.target = nullptr;
        events.push_back(stageKey);
    }

    if (!P.SameHover(S)) {
        events.push_back(FNEventFromHover(FNEvent::MouseEnter, S));
        events.push_back(FNEventFromHover(FNEvent::MouseLeave, P));
        if (S.hoverStage)
            actions.setCursor = S.hoverStage;
    }

    switch (P.buttons) {
    case FNUserLeft:
        events.push_back(FNEventFromHover(FNEvent::LeftUp, P));
        return StepRest::Ends;
    case FNUserMiddle:
        events.push_back(FNEventFromHover(FNEvent::MiddleUp, P));
        return StepRest::Ends;
    case FNUserRight:
        events.push_back(FNEventFromHover(FNEvent::RightUp, P));
        return StepRest::Ends;
    default:
        break;
    }

    if (!S.hoverStage)
        return StepRest::FocusOnly;
    if (S.screenX != P.screenX || S.screenY != P.screenY)
        events.push_back(FNEventFromHover(FNEvent::MouseMove, S));
    int down = -1, doubled = -1;
    if (S.buttons == FNUserLeft) {
        down = FNEvent::LeftDown;
        doubled = FNEvent::LeftDoubleClick;
    } else if (S.buttons == FNUserMiddle) {
        down = FNEvent::MiddleDown;
        doubled = FNEvent::MiddleDoubleClick;
    } else if (S.buttons == FNUserRight) {
        down = FNEvent::RightDown;
        doubled = FNEvent::RightDoubleClick;
    }
    if (down >= 0) {
        // A press moves the focus to what was pressed; only the left button
        // also gives the window the keyboard focus.
        takeFocusFromHover(S);
        if (S.buttons == FNUserLeft && S.focusStage && S.focusStage != P.focusStage)
            actions.setFocus = S.focusStage;
        events.push_back(FNEventFromHover(down, S));
        if (S.doubleClick)
            events.push_back(FNEventFromHover(doubled, S));
    }
    if (S.wheel != 0)
        events.push_back(FNEventFromHover(FNEvent::Wheel, S));
    return StepRest::Continue;
}

} // namespace

FNCaptureAction FNSampleButtons(uint8_t previousButtons, bool stageUnderCursor, uint8_t down, uint32_t now,
    FNClickMemory& memory, FNUserState& current)
{
    current.doubleClick = 0;
    if (!stageUnderCursor || previousButtons != 0) {
        if (previousButtons == 0 || (down & previousButtons))
            return FNCaptureAction::None;
        current.buttons = 0;
        memory.lastReleasedButton = previousButtons;
        memory.lastClickTime = now;
        return FNCaptureAction::Release;
    }
    for (uint8_t button : pressOrder) {
        if (isDoubleClick(button, down, now, memory)) {
            current.doubleClick = 1;
            memory.lastReleasedButton = 0;
        }
    }
    current.buttons = 0;
    for (uint8_t button : pressOrder) {
        if (down & button) {
            current.buttons = button;
            break;
        }
    }
    if (!current.buttons)
        return FNCaptureAction::None;
    const uint32_t pressTime = current.doubleClick ? 0 : now;
    memory.lastPressTime = pressTime;
    memory.lastClickTime = pressTime;
    return FNCaptureAction::Capture;
}

FNEventState FNEventFromHover(int code, const FNUserState& state)
{
    FNEventState event;
    event.code = code;
    event.targetKind = state.hoverKind;
    event.target = state.hoverTarget;
    event.stage = state.hoverStage;
    event.item = state.hoverItem;
    event.widget = state.hoverWidget;
    fillPositions(event, state);
    return event;
}

FNEventState FNEventFromFocus(int code, const FNUserState& state)
{
    FNEventState event = FNEventFromHover(code, state);
    event.stage = state.focusStage;
    event.item = state.focusItem;
    event.widget = state.focusWidget;
    event.target = state.focusTarget;
    return event;
}

void FNDeriveInputEvents(const FNUserState& P, FNUserState& S, std::vector<FNFocusRequest>& focusRequests,
    std::vector<FNEventState>& events, FNInputActions& actions)
{
    if (P.buttons == 0 || S.buttons == 0) {
        // With the pointer outside every window of the engine the focus still
        // moves where it was asked to (a window opened from the keyboard, a
        // dialog's text box): otherwise keys would reach nothing until the
        // pointer came over a window.
        if (deriveWithoutHeldButton(P, S, events, actions) == StepRest::Ends)
            return;
    } else if (S.screenX != P.screenX || S.screenY != P.screenY) {
        events.push_back(FNEventFromHover(FNEvent::MouseMove, S));
    }

    if (!P.SameFocus(S)) {
        events.push_back(FNEventFromFocus(FNEvent::FocusOut, P));
        events.push_back(FNEventFromFocus(FNEvent::FocusIn, S));
    }

    for (const FNFocusRequest& request : focusRequests) {
        if (sameAsFocus(request, S))
            continue;
        events.push_back(FNEventFromFocus(FNEvent::FocusOut, S));
        S.focusStage = request.stage;
        S.focusItem = request.item;
        S.focusTarget = request.target;
        S.focusWidget = request.widget;
        events.push_back(FNEventFromFocus(FNEvent::FocusIn, S));
    }
    focusRequests.clear();

    if (S.focusStage && S.focusStage != P.focusStage)
        actions.activate = S.focusStage;
}
