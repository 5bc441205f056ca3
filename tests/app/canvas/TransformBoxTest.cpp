// The transform box driven by the events a drag delivers, in a parent item
// placed like the canvas's view group; and the inverted outline it draws.

#include "app/canvas/q_TransformBox.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventState.h"
#include "framework/platform/FNPlatform.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/scene/FN2DScene.h"
#include "imaging/FNImage.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A box whose keys the test holds down.
class KeyedBox : public q_TransformBox {
public:
    int held = 0;

protected:
    bool KeyHeld(int virtualKey) const override { return virtualKey == held; }
};

// The view group at stage (100, 50); the box 40 x 20 at (30, 40) in it, so
// its stage rectangle runs from (130, 90) to (170, 110), centre (150, 100).
class BoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        scene.AddItem(&group);
        group.AddChild(&box);
        box.SetRect(30, 40, 40, 20);
    }
    void TearDown() override
    {
        group.RemoveChild(&box);
        scene.RemoveItem(&group);
    }
    FNEventState At(const FN2DItemBase* on, double x, double y) const
    {
        FNEventState event;
        event.item = const_cast<FN2DItemBase*>(on);
        event.clientX = x;
        event.clientY = y;
        return event;
    }
    // Press on an item at one stage point, move to another, release.
    void Drag(const FN2DItemBase* on, double x0, double y0, double x1, double y1)
    {
        box.OnPress(At(on, x0, y0));
        box.OnMove(At(on, x1, y1));
        box.OnRelease(At(on, x1, y1));
    }

    FN2DScene scene;
    FN2DItem group { 0, 0, 100, 50, 1 };
    KeyedBox box;
};

TEST_F(BoxTest, HandlesSitOnTheCornersAndEdgeMiddles)
{
    const double expected[8][2]
        = { { -4, -4 }, { 15.5, -4 }, { 35, -4 }, { -4, 5.5 }, { 35, 5.5 }, { -4, 15 }, { 15.5, 15 }, { 35, 15 } };
    for (int i = 0; i < 8; ++i) {
        EXPECT_DOUBLE_EQ(box.Handle(i)->x, expected[i][0]) << i;
        EXPECT_DOUBLE_EQ(box.Handle(i)->y, expected[i][1]) << i;
        EXPECT_EQ(box.Handle(i)->width, 9);
    }
    EXPECT_EQ(box.Outline()->width, 40);
    EXPECT_EQ(box.Outline()->height, 20);
}

TEST_F(BoxTest, TheBottomRightHandleGrowsTheBoxAndKeepsItsTopLeft)
{
    Drag(box.Handle(7), 170, 110, 180, 115);
    EXPECT_DOUBLE_EQ(box.x, 30);
    EXPECT_DOUBLE_EQ(box.y, 40);
    EXPECT_DOUBLE_EQ(box.width, 50);
    EXPECT_DOUBLE_EQ(box.height, 25);
    EXPECT_EQ(box.State(), q_TransformBox::Idle);
}

TEST_F(BoxTest, TheRightHandleDraggedPastTheLeftEdgeMirrorsTheBox)
{
    Drag(box.Handle(4), 170, 100, 110, 100);
    EXPECT_DOUBLE_EQ(box.width, -20);
    EXPECT_DOUBLE_EQ(box.x, 30);
}

TEST_F(BoxTest, TheOutlineMovesTheBox)
{
    Drag(box.Outline(), 140, 90, 152, 83);
    EXPECT_DOUBLE_EQ(box.x, 42);
    EXPECT_DOUBLE_EQ(box.y, 33);
    EXPECT_DOUBLE_EQ(box.width, 40);
}

TEST_F(BoxTest, AQuarterTurnAroundTheCentreRotatesByNinetyAndTheHandlesStayUpright)
{
    box.OnPress(At(&box, 150, 200)); // straight below the centre
    box.OnMove(At(&box, 50, 100)); // straight left of it: a quarter turn
    box.OnRelease(At(&box, 50, 100));
    // Degrees and radians go through pi taken as 3.141592: a quarter turn is
    // 90 to within 2e-5.
    EXPECT_NEAR(box.Angle(), 90, 1e-4);
    EXPECT_NEAR(box.Handle(0)->rotation, 270, 1e-4);
    EXPECT_DOUBLE_EQ(box.width, 40) << "turning keeps the size";
}

TEST_F(BoxTest, APressDuringADragIsIgnored)
{
    box.OnPress(At(box.Outline(), 140, 90));
    box.OnPress(At(box.Handle(7), 170, 110));
    EXPECT_EQ(box.State(), q_TransformBox::Moving);
}

TEST_F(BoxTest, TheHoverCursorSaysWhatAPressWouldDo)
{
    struct Row {
        const FN2DItemBase* over;
        double x, y;
        int cursor;
    };
    const Row rows[] = {
        { box.Handle(4), 170, 100, 30001 }, // right of the centre: horizontal arrow
        { box.Handle(6), 150, 110, 30000 }, // below: vertical arrow
        { box.Handle(7), 170, 110, 30002 }, // bottom right: the top-left to bottom-right diagonal
        { box.Handle(5), 130, 110, 30003 },
        { box.Outline(), 140, 90, FNCursorSizeAll },
        { &box, 200, 150, 30007 }, // outside, lower right: the rotation arrows
        { &box, 100, 150, 30006 },
        { &box, 100, 50, 30004 },
        { &box, 200, 50, 30005 },
    };
    for (const Row& row : rows)
        EXPECT_EQ(box.CursorAt(row.over, row.x, row.y), row.cursor) << row.x << ", " << row.y;
}

TEST_F(BoxTest, AtNinetyDegreesTheEdgeHandlesHoldStillInsteadOfFlyingOff)
{
    box.SetAngle(90); // cos is 3e-7 with pi taken as 3.141592
    for (int handle : { 1, 3, 4, 6 }) {
        Drag(box.Handle(handle), 150, 100, 157, 96);
        EXPECT_TRUE(std::isfinite(box.x) && std::isfinite(box.y)) << handle;
        EXPECT_DOUBLE_EQ(box.width, 40) << handle;
        EXPECT_DOUBLE_EQ(box.height, 20) << handle;
    }
    Drag(box.Handle(7), 150, 100, 155, 100); // corners still work
    EXPECT_NE(box.height, 20);
}

TEST_F(BoxTest, ShiftKeepsTheShapeOnACornerAndCtrlSnapsTheTurn)
{
    box.held = FNKeyShift;
    Drag(box.Handle(7), 170, 110, 210, 112); // much wider, hardly higher
    EXPECT_DOUBLE_EQ(box.width / box.height, 2.0);
    EXPECT_DOUBLE_EQ(box.width, 80);
    EXPECT_NEAR(box.x, 30, 1e-9) << "the top-left corner stays";
    EXPECT_NEAR(box.y, 40, 1e-9);
    box.held = FNKeyControl;
    // Rotating by a little over 20 degrees lands on 15.
    const double x0 = box.x + 100 + box.width / 2, y0 = box.y + 50 + box.height / 2;
    box.OnPress(At(&box, x0, y0 + 100));
    box.OnMove(At(&box, x0 - 37, y0 + 93));
    box.OnRelease(At(&box, x0 - 37, y0 + 93));
    EXPECT_NEAR(box.Angle(), 15, 1e-9);
    box.held = 0; // without the keys nothing snaps or keeps
    box.OnPress(At(&box, x0, y0 + 100));
    box.OnMove(At(&box, x0 - 37, y0 + 93));
    EXPECT_GT(std::fabs(box.Angle() - 30), 1);
}

TEST_F(BoxTest, ThePartTakesTheBoxsPlaceScaleAndAngle)
{
    // The picture item at (20, 10) in the view group, shown at zoom 2; the
    // part 10 x 5 picture pixels. A 40 x 20 box is the part at scale 2 / 2 = 1.
    FN2DItem picture(100, 100, 20, 10, 2);
    picture.scaleX = picture.scaleY = 2;
    group.AddChild(&picture);
    picture.UpdateTransform();
    FN2DItem part(10, 5, 0, 0, 0);
    picture.AddChild(&part);
    box.SetAngle(30);
    box.ApplyToPart(part, picture, 2, 10, 5);
    EXPECT_DOUBLE_EQ(part.scaleX, 2);
    EXPECT_DOUBLE_EQ(part.scaleY, 2);
    EXPECT_DOUBLE_EQ(part.rotation, box.Angle());
    // Both centres at the same place on the stage.
    const FNRect boxOnStage = box.ScreenBounds(), partOnStage = part.ScreenBounds();
    EXPECT_NEAR((boxOnStage.left + boxOnStage.right) / 2.0, (partOnStage.left + partOnStage.right) / 2.0, 1);
    EXPECT_NEAR((boxOnStage.top + boxOnStage.bottom) / 2.0, (partOnStage.top + partOnStage.bottom) / 2.0, 1);
    picture.RemoveChild(&part);
    group.RemoveChild(&picture);
}

TEST(BorderBox, DrawsTheInverseOfWhatIsUnderItsOutlineOnly)
{
    FNImage buffer(8, 6);
    buffer.fill(10, 100, 200, 255);
    FN2DScene scene;
    q_BorderBox box(1, 1, 5, 4, 0);
    scene.AddItem(&box);
    box.DrawSelf(buffer.row(0), 8, 6, 8, 0, 0, 8, 6);
    int red, green, blue;
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool onOutline = (x >= 1 && x <= 5 && (y == 1 || y == 4)) || (y >= 1 && y <= 4 && (x == 1 || x == 5));
            buffer.getColor(x, y, red, green, blue);
            // (c * 0 + (255 - c) * 255) >> 8 at full opacity
            EXPECT_EQ(red, onOutline ? ((255 - 10) * 255) >> 8 : 10) << x << ", " << y;
            EXPECT_EQ(blue, onOutline ? ((255 - 200) * 255) >> 8 : 200) << x << ", " << y;
        }
    }
    scene.RemoveItem(&box);
}

} // namespace
