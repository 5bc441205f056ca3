#pragma once

// The numbered events, scoped as FNEvent::Moved, FNEvent::Wheel, ... so that
// their short names stay out of the global namespace. Handlers are connected
// per code; the numbers are fixed because connectors hold one signal slot per
// code (0 to 28). A plain enum in a namespace, so that a code is an int where
// records and connectors store one.
namespace FNEvent {
enum Code : int {
    MainStageChanged = 0, // the engine's main stage changed since the last step
    MouseMove = 1, // the cursor's screen position changed (also while a button is held)
    LeftDown = 2, // left button went down over the item or stage
    LeftUp = 3, // left button went up; sent where the press went
    MiddleDown = 4, // middle button went down
    MiddleUp = 5, // middle button went up; sent where the press went
    RightDown = 6, // right button went down
    RightUp = 7, // right button went up; sent where the press went
    LeftDoubleClick = 8, // after LeftDown when the press completes a double click
    MiddleDoubleClick = 9, // after MiddleDown, likewise
    RightDoubleClick = 10, // after RightDown, likewise; also a right double click on a title bar
    Wheel = 11, // the wheel moved while no button was held
    KeyDown = 12, // a key went down, or the input method delivered text (to the focus)
    KeyUp = 13, // a key went up (to the focus)
    StageKeyDown = 14, // a key went down (to the focused stage itself)
    StageKeyUp = 15, // a key went up (to the focused stage itself)
    MouseEnter = 16, // the hovered stage, item or widget changed: the new hover target
    MouseLeave = 17, // same moment, queued after MouseEnter: the previous hover target
    FocusIn = 18, // focus moved here
    FocusOut = 19, // focus moved away
    Moved = 20, // a window was moved by the system, or an item's position changed
    Resized = 21, // a window's client size changed, or an item's size changed
    CloseRequest = 22, // the user asked to close a window
    ValueChanged = 23, // a slider's or scroll bar's position was set and its value changed
    ValueUnchanged = 24, // the same, but the value stayed as it was
    MenuCommand = 25, // a menu command was chosen; param holds its identifier
    SelectionSet = 26, // a drop-down list's selection was set by a call
    SelectionChosen = 27, // the user chose an entry of a drop-down list
    FilesDropped = 28, // files were dropped on a window, at the pointer's position
};
} // namespace FNEvent

using FNEventCode = FNEvent::Code;
constexpr int FNEventCodeCount = 29;
