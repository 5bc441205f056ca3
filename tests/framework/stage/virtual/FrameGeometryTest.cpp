#include "framework/platform/FNPlatform.h"
#include "framework/window/FNFrameGeometry.h"

#include <gtest/gtest.h>

namespace {

const FNRect kScreen { 0, 0, 1280, 1024 };

TEST(FrameZone, TitleBarCornersEndsEdgeAndBody)
{
    // A 400 x 28 title bar.
    EXPECT_EQ(FNFrameZoneAt(FNFramePart::TitleBar, 2, 2, 400, 28, true), FNFrameZone::TopLeft);
    EXPECT_EQ(FNFrameZoneAt(FNFramePart::TitleBar, 397, 5, 400, 28, true), FNFrameZone::TopRight);
    EXPECT_EQ(FNFrameZoneAt(FNFramePart::TitleBar, 3, 20, 400, 28, true), FNFrameZone::Left);
    EXPECT_EQ(FNFrameZoneAt(FNFramePart::TitleBar, 394, 20, 400, 28, true), FNFrameZone::Right);
    EXPECT_EQ(FNFrameZoneAt(FNFramePart::TitleBar, 200, 5, 400, 28, true), FNFrameZone::Top);
    // Just inside the band's end, and just past it.
    EXPECT_EQ(FNFrameZoneAt(FNFramePart::TitleBar, 200, 6, 400, 28, true), FNFrameZone::Move);
    EXPECT_EQ(FNFrameZoneAt(FNFramePart::TitleBar, 6, 20, 400, 28, true), FNFrameZone::Move);
    EXPECT_EQ(FNFrameZoneAt(FNFramePart::TitleBar, 393, 20, 400, 28, true), FNFrameZone::Move);
}

TEST(FrameZone, BottomAndSideEdges)
{
    EXPECT_EQ(FNFrameZoneAt(FNFramePart::BottomBorder, 1, 9, 400, 10, true), FNFrameZone::BottomLeft);
    EXPECT_EQ(FNFrameZoneAt(FNFramePart::BottomBorder, 399, 9, 400, 10, true), FNFrameZone::BottomRight);
    EXPECT_EQ(FNFrameZoneAt(FNFramePart::BottomBorder, 200, 9, 400, 10, true), FNFrameZone::Bottom);
    EXPECT_EQ(FNFrameZoneAt(FNFramePart::BottomBorder, 200, 1, 400, 10, true), FNFrameZone::Bottom);
    EXPECT_EQ(FNFrameZoneAt(FNFramePart::LeftBorder, 3, 100, 6, 300, true), FNFrameZone::Left);
    EXPECT_EQ(FNFrameZoneAt(FNFramePart::RightBorder, 3, 100, 6, 300, true), FNFrameZone::Right);
    EXPECT_EQ(FNFrameZoneAt(FNFramePart::RightBorder, 7, 100, 6, 300, true), FNFrameZone::None);
}

TEST(FrameZone, NotResizableMovesFromAnywhereOnTheTitleBar)
{
    EXPECT_EQ(FNFrameZoneAt(FNFramePart::TitleBar, 1, 1, 400, 28, false), FNFrameZone::Move);
    EXPECT_EQ(FNFrameZoneAt(FNFramePart::TitleBar, 399, 27, 400, 28, false), FNFrameZone::Move);
    EXPECT_EQ(FNFrameZoneAt(FNFramePart::BottomBorder, 1, 9, 400, 10, false), FNFrameZone::None);
    EXPECT_EQ(FNFrameZoneCursor(FNFrameZone::Move), FNCursorArrow);
}

TEST(FrameZone, CursorsMatchTheResizeDirection)
{
    EXPECT_EQ(FNFrameZoneCursor(FNFrameZone::Left), FNCursorSizeWE);
    EXPECT_EQ(FNFrameZoneCursor(FNFrameZone::Bottom), FNCursorSizeNS);
    EXPECT_EQ(FNFrameZoneCursor(FNFrameZone::TopLeft), FNCursorSizeNWSE);
    EXPECT_EQ(FNFrameZoneCursor(FNFrameZone::BottomRight), FNCursorSizeNWSE);
    EXPECT_EQ(FNFrameZoneCursor(FNFrameZone::TopRight), FNCursorSizeNESW);
    EXPECT_EQ(FNFrameZoneCursor(FNFrameZone::BottomLeft), FNCursorSizeNESW);
}

TEST(FrameDrag, MoveShiftsAllEdges)
{
    FNRect r = FNFrameDragged(FNFrameZone::Move, FNRect { 50, 50, 850, 650 }, 30, -20);
    EXPECT_EQ(r, (FNRect { 80, 30, 880, 630 }));
}

TEST(FrameDrag, ResizeKeepsTheOppositeEdgesAndTheMinimum)
{
    const FNRect start { 100, 100, 400, 300 };
    EXPECT_EQ(FNFrameDragged(FNFrameZone::Left, start, -10, 99), (FNRect { 90, 100, 400, 300 }));
    EXPECT_EQ(FNFrameDragged(FNFrameZone::Right, start, 25, 0), (FNRect { 100, 100, 425, 300 }));
    // Shrinking past the minimum stops at 150 x 80 with the far edges fixed.
    EXPECT_EQ(FNFrameDragged(FNFrameZone::TopLeft, start, 500, 500), (FNRect { 250, 220, 400, 300 }));
    EXPECT_EQ(FNFrameDragged(FNFrameZone::BottomRight, start, -500, -500), (FNRect { 100, 100, 250, 180 }));
    EXPECT_EQ(FNFrameDragged(FNFrameZone::TopRight, start, 5, -5), (FNRect { 100, 95, 405, 300 }));
    EXPECT_EQ(FNFrameDragged(FNFrameZone::BottomLeft, start, -5, 5), (FNRect { 95, 100, 400, 305 }));
}

TEST(FrameLimit, MinimumClientSize)
{
    FNRect r = FNFrameLimited(FNRect { 100, 100, 200, 150 }, kScreen);
    EXPECT_EQ(r, (FNRect { 100, 100, 250, 180 }));
}

TEST(FrameLimit, FrameStaysInsideTheWorkArea)
{
    // Client at (2, 5): the frame would start at (-4, -23).
    EXPECT_EQ(FNFrameLimited(FNRect { 2, 5, 302, 205 }, kScreen), (FNRect { 6, 28, 306, 228 }));
    // Too big for the screen: the frame becomes the screen.
    FNRect big = FNFrameLimited(FNRect { 0, 0, 5000, 5000 }, kScreen);
    EXPECT_EQ(big, (FNRect { 6, 28, 1280 - 6, 1024 - 10 }));
    // Past the bottom-right corner of a work area that leaves a panel.
    FNRect panel = FNFrameLimited(FNRect { 1200, 900, 1400, 1000 }, FNRect { 0, 0, 1280, 1000 });
    EXPECT_EQ(panel, (FNRect { 1280 - 6 - 200, 1000 - 10 - 100, 1280 - 6, 1000 - 10 }));
}

TEST(FrameLimit, AMenuBarAddsToTheFrameTop)
{
    EXPECT_EQ(FNFrameLimited(FNRect { 2, 5, 302, 205 }, kScreen, 18), (FNRect { 6, 46, 306, 246 }));
    FNRect big = FNFrameLimited(FNRect { 0, 0, 5000, 5000 }, kScreen, 18);
    EXPECT_EQ(big, (FNRect { 6, 46, 1280 - 6, 1024 - 10 }));
}

} // namespace
