#pragma once

// A thumb dragged along one axis. The press remembers where the pointer and
// the thumb were; from then on the thumb lies as far from its start as the
// pointer has moved, wherever on the thumb the press was. Pointer positions
// are screen coordinates, which stay put while the thumb moves under them.
struct FNThumbDrag {
    bool active = false;
    int pointerStart = 0;
    int thumbStart = 0;

    void Begin(double pointer, int thumb)
    {
        active = true;
        pointerStart = static_cast<int>(pointer);
        thumbStart = thumb;
    }
    int PositionAt(double pointer) const { return thumbStart + (static_cast<int>(pointer) - pointerStart); }
    void End() { active = false; }
};
