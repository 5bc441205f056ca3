#include "framework/events/FNUserState.h"

#include <cstring>

FNUserState::FNUserState()
{
    FN_SET_CLASS_NAME(FNUserState);
}

FNUserState::FNUserState(const FNUserState& other)
    : FNGUICoreObject()
{
    *this = other;
}

// Copies every field; the class name stays "FNUserState" on both sides.
FNUserState& FNUserState::operator=(const FNUserState& other)
{
    hoverKind = other.hoverKind;
    hoverStage = other.hoverStage;
    hoverItem = other.hoverItem;
    hoverWidget = other.hoverWidget;
    hoverTarget = other.hoverTarget;
    focusStage = other.focusStage;
    focusItem = other.focusItem;
    focusWidget = other.focusWidget;
    focusTarget = other.focusTarget;
    screenX = other.screenX;
    screenY = other.screenY;
    clientX = other.clientX;
    clientY = other.clientY;
    localX = other.localX;
    localY = other.localY;
    wheel = other.wheel;
    key = other.key;
    keyDown = other.keyDown;
    keyUp = other.keyUp;
    textInput = other.textInput;
    buttons = other.buttons;
    doubleClick = other.doubleClick;
    text = other.text;
    className = "FNUserState";
    return *this;
}

FNSystemState::FNSystemState()
{
    FN_SET_CLASS_NAME(FNSystemState);
}

FNSystemState::FNSystemState(const FNSystemState& other)
    : FNGUICoreObject()
{
    *this = other;
}

FNSystemState& FNSystemState::operator=(const FNSystemState& other)
{
    std::memcpy(keys, other.keys, sizeof keys);
    droppedFiles = other.droppedFiles;
    className = "FNSystemState";
    return *this;
}
