#pragma once

#include "framework/core/FNRect.h"

// Geometry of a framed window (FNExWindow): how big the frame is around the
// client area, which part of the frame a press lands on, and where a drag
// puts the client area. Pure functions, so the rules are tested alone.

// The frame adds 6-pixel edges left and right, a 28-pixel title bar on top
// and 10 pixels below the client area.
constexpr int FNFrameLeft = 6;
constexpr int FNFrameRight = 6;
constexpr int FNFrameTop = 28;
constexpr int FNFrameBottom = 10;
constexpr int FNFrameMinClientWidth = 150;
constexpr int FNFrameMinClientHeight = 80;
// Width of the band along the frame's outer edges that resizes.
constexpr int FNFrameResizeBand = 6;

// The frame's height above the client area: the title bar and, below it, a
// menu bar of menuHeight pixels (0 without one).
constexpr int FNFrameTopHeight(int menuHeight)
{
    return FNFrameTop + menuHeight;
}

// What a press on the frame does.
enum class FNFrameZone : int {
    None,
    Move,
    Left,
    Right,
    Top,
    Bottom,
    TopLeft,
    TopRight,
    BottomLeft,
    BottomRight,
};

// The frame's pieces that take presses.
enum class FNFramePart : int { TitleBar, BottomBorder, LeftBorder, RightBorder };

// Zone of a press at (localX, localY) inside a part of width x height.
// Top and bottom pieces: within the band of both an end and the outer edge
// is a corner, the ends resize the width, the outer band the height, the
// rest of the title bar moves (the rest of the bottom piece resizes the
// height). Left and right pieces resize the width. Without `resizable`
// everything on the title bar moves and the edges do nothing.
FNFrameZone FNFrameZoneAt(FNFramePart part, double localX, double localY, int width, int height, bool resizable);

// The system cursor (FNCursorId) shown over a zone.
int FNFrameZoneCursor(FNFrameZone zone);

// The client rectangle (left, top, right, bottom in screen coordinates)
// after dragging `zone` by (dx, dy) from `start`: the edges the zone does not
// name stay fixed, and the client never gets smaller than the minimum.
FNRect FNFrameDragged(FNFrameZone zone, const FNRect& start, int dx, int dy);

// Applies the minimum client size and keeps the whole frame, with a menu bar
// of menuHeight pixels, inside the work area (screen rectangle): the size is
// limited first, then the frame moved inside. Returns the client rectangle.
FNRect FNFrameLimited(const FNRect& client, const FNRect& workArea, int menuHeight = 0);
