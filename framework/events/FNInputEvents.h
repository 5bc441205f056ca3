#pragma once

#include "framework/events/FNEventSink.h"
#include "framework/events/FNEventState.h"
#include "framework/events/FNUserState.h"

#include <cstdint>
#include <vector>

// Input events as a pure function of the previous and the current sample:
// the engine samples the window system into FNUserState records, and these
// functions turn two samples, the time and the click bookkeeping into event
// records and the few window-system actions that go with them. Tests feed
// samples and a clock directly.

// ---- Buttons and double clicks ----------------------------------------------
//
//   press      over a stage, no button held before: buttons = the pressed one
//              (left before middle before right), capture the pointer,
//              lastPressTime = lastClickTime = t
//   release    the held button is up (wherever the pointer is): buttons = 0,
//              release the capture, lastReleasedButton = it, lastClickTime = t
//   double     a press of the button last released, with
//              t - lastClickTime <= 250 and lastClickTime - lastPressTime <= 250
//              (unsigned ms): doubleClick = 1, and the press times become 0
//              so a third quick press is a plain press again
//
// The double-click test is made for each button before the press is
// recorded; elsewhere nothing changes (a button pressed outside every window
// is not a press, and a held button keeps its value).
struct FNClickMemory {
    uint32_t lastPressTime = 0;
    uint32_t lastClickTime = 0;
    uint8_t lastReleasedButton = 0;
};

constexpr uint32_t FNDoubleClickTime = 250;

enum class FNCaptureAction { None, Capture, Release };

// previousButtons: the held button of the previous sample (0, 1, 2 or 4).
// down: the buttons down now as FNUserLeft | FNUserMiddle | FNUserRight.
// Sets buttons and doubleClick of `current` (whose buttons hold the previous
// value on entry) and updates the bookkeeping.
FNCaptureAction FNSampleButtons(uint8_t previousButtons, bool stageUnderCursor, uint8_t down, uint32_t now,
    FNClickMemory& memory, FNUserState& current);

// ---- Events ----------------------------------------------------------------------

// What the engine does besides queueing the events.
struct FNInputActions {
    FNStageBase* setCursor = nullptr; // post the cursor message for this hover stage
    FNStageBase* setFocus = nullptr; // post the focus message for this stage
    FNStageBase* activate = nullptr; // make this stage's window the active one
};

// Derives the events of one step from P (previous) and S (current), in the
// order they are queued, and applies focus changes and focus requests to S.
// The requests are consumed (the list is cleared) unless a released button
// ended the step early, in which case they wait for the next step.
void FNDeriveInputEvents(const FNUserState& previous, FNUserState& current, std::vector<FNFocusRequest>& focusRequests,
    std::vector<FNEventState>& events, FNInputActions& actions);

// An event record filled from a sample's hover block and positions.
FNEventState FNEventFromHover(int code, const FNUserState& state);
// The same with the sample's focus block as stage, item, widget and target.
FNEventState FNEventFromFocus(int code, const FNUserState& state);
