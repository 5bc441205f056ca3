#pragma once

// What a scenario needs of a window system, so that one scenario runs on
// both backends: stage_virtual_tests links the virtual window system and
// VirtualHarness.cpp, stage_x11_tests links Xlib and X11Harness.cpp (the X
// display in DISPLAY, driven through XTEST by xdotool as a person would).
// The scenarios (StageScenarios.cpp) are the same source in both programs,
// which also shows that the virtual backend behaves like X11.

#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventState.h"
#include "framework/stage/FNStageBase.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class StageHarness : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // ---- The user ----------------------------------------------------------
    // Moves the pointer to a screen position.
    void MovePointer(int x, int y);
    // Left clicks at the pointer with press and release back to back (as
    // touchpad taps and remote desktops send them), `count` of them in a row.
    void Click(int count = 1);
    // Left press at one screen position, move to another and release there,
    // all back to back.
    void Drag(int fromX, int fromY, int toX, int toY);
    // The left button alone, for drags step by step.
    void Press();
    void Release();
    // Presses the keys in order, then releases them in the same order, back
    // to back (virtual-key codes: letters, digits, FNKeyControl, FNKeyShift,
    // FNKeyBackspace, FNKeyReturn, FNKeyEscape, the arrow keys).
    void Chord(const std::vector<int>& keys);
    // Types the letters one after another, whatever keys they need.
    void Type(const std::string& utf8);
    // Wheel notches at the pointer (positive: away from the user).
    void Wheel(int notches);
    // Time passes (longer than a double click's 250 ms).
    void Pause(int milliseconds);
    // The window manager's close button of the stage's window.
    void RequestClose(const FNStageBase& stage);

    // ---- Observing ---------------------------------------------------------
    // Engine steps until the condition holds; false if it never does (a
    // bound no working backend comes near).
    bool StepUntil(const std::function<bool()>& condition);
    // A few more steps, so that anything delivered late would show.
    void StepAFew();
    // A pixel of the stage's window on the screen, 0xRRGGBB.
    uint32_t Pixel(const FNStageBase& stage, int x, int y);
    // Where the window's top-left corner is on the screen.
    void ScreenPosition(const FNStageBase& stage, int& x, int& y);
    // The area of the window's shape in pixels (its whole rectangle when it
    // has no shape).
    long ShapeArea(const FNStageBase& stage);

    // Steps until the stage has the keyboard focus (the pointer rests on
    // it); keys reach it from then on.
    bool Focus(FNStageBase& stage, int pointerX, int pointerY);

    std::unique_ptr<FNEngine> engine;

private:
    struct Backend;
    std::shared_ptr<Backend> m_backend;
};

// Records the events that reach one object, with what a handler would read
// of the engine at that moment: typed text and whether Control is down.
struct EventRecorder {
    struct Entry {
        FNEventState event;
        std::string text; // the step's text when it carries one
        bool control = false; // Control down in the engine's key table
    };
    std::vector<Entry> entries;
    void On(FNEventState event);
    // The codes in order, only those listed when `only` is not empty.
    std::vector<int> Codes(const std::vector<int>& only = {}) const;
    // The key codes of the events with this code, in order.
    std::vector<int> Keys(int code) const;
    size_t Count(int code) const;
    // The texts of the key-down events that carry text, joined.
    std::string Text() const;
};
