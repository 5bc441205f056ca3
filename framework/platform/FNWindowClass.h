#pragma once

#include <cstdint>

// The six window classes every engine uses. A class decides how a new
// window is filled before anything is drawn into it, and whether it keeps
// drawing state of its own or borrows its parent's.
enum class FNWindowClass : int {
    Owner, // "FN_OWNER": own drawing state, no background
    Toumei, // "FN_TOUMEI": parent's drawing state, no background
    Black, // "FN_BLACK": solid black
    White, // "FN_WHITE": solid white
    Window, // "FN_WINDOW": the theme's background colour
    GLWindow, // "FN_GLWINDOW": own drawing state, the theme's background colour
};

constexpr int FNWindowClassCount = 6;
// No fill: whatever the window system shows until the first paint.
constexpr int32_t FNNoBackground = -1;

struct FNWindowClassRecord {
    FNWindowClass windowClass;
    const char* name;
    bool ownDrawingState;
    int32_t background; // 0xRRGGBB or FNNoBackground
};

// The record of a class; every class has one.
const FNWindowClassRecord& FNWindowClassRecordOf(FNWindowClass windowClass);
// Looks a class up by its name ("FN_OWNER", ...); null for unknown names.
const FNWindowClassRecord* FNFindWindowClass(const char* name);
