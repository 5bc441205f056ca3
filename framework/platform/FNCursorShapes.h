#pragma once

// The program's own cursors 30000..30007 (the transform box's resize and
// rotation cursors), 32 x 32 each, as pictures embedded in the source.
struct FNCursorShape {
    int id;
    int hotX;
    int hotY;
    // 32 rows of 32 characters: '#' black, '.' white, ' ' transparent.
    const char* rows[32];
};

constexpr int FNCursorShapeSize = 32;
constexpr int FNCursorShapeCount = 8;

// The shape with the given id, or null when the program has none.
const FNCursorShape* FNFindCursorShape(int id);
