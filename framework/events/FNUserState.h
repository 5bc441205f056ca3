#pragma once

#include "framework/core/FNGUICoreObject.h"
#include "imaging/FNString.h"

#include <cstdint>
#include <string>
#include <vector>

class FNStageBase;
class FN2DItemBase;
class FNWidget;

// Hover kinds of FNUserState.
constexpr int FNHoverStage = 1; // a plain stage: no items
constexpr int FNHover2D = 4; // a 2D stage: the item under the cursor is hit-tested

// FNUserState: the input state of one engine step. The engine keeps three:
// this step's, the previous step's, and the raw values the engine thread has
// collected since the last step (key, wheel and text fields only).
class FNUserState : public FNGUICoreObject {
public:
    FNUserState();
    FNUserState(const FNUserState& other);
    FNUserState& operator=(const FNUserState& other);

    int hoverKind = FNHoverStage;
    // What is under the cursor, or what the pressed button captured.
    FNStageBase* hoverStage = nullptr;
    FN2DItemBase* hoverItem = nullptr;
    FNWidget* hoverWidget = nullptr;
    void* hoverTarget = nullptr;
    // The keyboard focus.
    FNStageBase* focusStage = nullptr;
    FN2DItemBase* focusItem = nullptr;
    FNWidget* focusWidget = nullptr;
    void* focusTarget = nullptr;
    // -1 before the first sample.
    double screenX = -1.0, screenY = -1.0;
    double clientX = -1.0, clientY = -1.0;
    double localX = -1.0, localY = -1.0;
    int wheel = 0;
    uint8_t key = 0; // virtual-key code of the last key pressed
    uint8_t keyDown = 0; // 1 when that happened since the last step
    uint8_t keyUp = 0;
    uint8_t textInput = 0;
    uint8_t buttons = 0; // 0 none, 1 left, 2 middle, 4 right; one at a time
    uint8_t doubleClick = 0;
    FNString text; // text from the input method

    bool SameHover(const FNUserState& other) const
    {
        return hoverStage == other.hoverStage && hoverItem == other.hoverItem && hoverWidget == other.hoverWidget;
    }
    bool SameFocus(const FNUserState& other) const
    {
        return focusStage == other.focusStage && focusItem == other.focusItem && focusWidget == other.focusWidget;
    }
    void ClearHover()
    {
        hoverStage = nullptr;
        hoverItem = nullptr;
        hoverWidget = nullptr;
        hoverTarget = nullptr;
    }
};

// Button values of FNUserState::buttons.
constexpr uint8_t FNUserLeft = 1;
constexpr uint8_t FNUserMiddle = 2;
constexpr uint8_t FNUserRight = 4;

// Entry of the poll counter after the 256 key states.
constexpr int FNPollCounterIndex = 256;

// FNSystemState: the keyboard snapshot (256 virtual-key states, bit 7 set
// while down, then a poll counter that wraps from 255 to 0) and the paths of
// the last file drop. Handlers test modifier keys in the current engine's
// table, e.g. keys[FNKeyControl] & 0x80.
class FNSystemState : public FNGUICoreObject {
public:
    FNSystemState();
    FNSystemState(const FNSystemState& other);
    FNSystemState& operator=(const FNSystemState& other);

    uint8_t keys[257] = {};
    std::vector<std::string> droppedFiles;
};
