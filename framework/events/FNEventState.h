#pragma once

#include <cstdint>

class FNStageBase;
class FN2DItemBase;
class FNWidget; // widgets layer; stays an incomplete type in the framework

// The record every event handler receives, by value. Fixed size and plain, so
// it is copied into the queue and into each handler call. Events raised by
// code leave every field zero except those their raiser sets.
struct FNEventState {
    int code = 0; // FNEventCode
    int targetKind = 0; // 1 stage, 4 item, 5 widget; 0 for events raised by code
    // The object the event concerns (for input: the widget owning the hovered
    // or focused item, or the stage's owner). Opaque here because it may be a
    // widget, which the framework only knows by name.
    void* target = nullptr;
    FNStageBase* stage = nullptr; // the stage (window) the event belongs to
    FN2DItemBase* item = nullptr; // the item the event is for; null for stage events
    FNWidget* widget = nullptr; // the widget the event is for, or null
    double screenX = 0; // cursor position on the screen
    double screenY = 0;
    double clientX = 0; // cursor position in the stage's client area
    double clientY = 0;
    double localX = 0; // cursor position in the item's own coordinates
    double localY = 0;
    int wheel = 0; // wheel movement of this step, multiples of 120 per notch
    uint8_t key = 0; // virtual-key code of the last key pressed
    int param = 0; // menu command identifier for MenuCommand; 0 otherwise
    uint8_t doubleClick = 0; // 1 when the press was the second of a double click
};
