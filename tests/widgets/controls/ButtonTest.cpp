// Buttons, labels, frames and selectors on a stage: the faces a user sees
// for each state, the events the application gets, and enabling.

#include "framework/scene/FN2DItem.h"
#include "framework/stage/FNEmit.h"
#include "imaging/FNImage.h"
#include "tests/widgets/controls/WidgetFixture.h"
#include "widgets/controls/FNFrame.h"
#include "widgets/controls/FNOnOffButton.h"
#include "widgets/controls/FNPushButton.h"
#include "widgets/controls/FNSelector.h"

namespace {

bool samePixels(const FNImage* a, const FNImage* b)
{
    return a && b && a->width == b->width && a->height == b->height
        && std::equal(a->pixels, a->pixels + a->byteCount(), b->pixels);
}

TEST_F(WidgetTest, PushButtonFacesFollowThePointerAndTheApplicationGetsEveryLeftUp)
{
    FNPushButton button(20, 30, 80, 24, "保存");
    button.PlaceIn(&scene);
    Counter clicks;
    FNEventConnector application(&button);
    application.Connect(FNEvent::LeftUp, &Counter::On, &clicks);
    Step();
    const int centredX = button.Item()->textImageX;
    const int centredY = button.Item()->textImageY;

    struct Row {
        const char* what;
        int x, y, buttons;
        FNPushButton::Face face;
        int textShift;
    };
    const Row rows[] = {
        { "pointer enters", 40, 40, 0, FNPushButton::Hover, 0 },
        { "left down", 40, 40, FNButtonLeft, FNPushButton::Pressed, 1 },
        { "released inside", 40, 40, 0, FNPushButton::Hover, 0 },
        { "pointer leaves", 200, 150, 0, FNPushButton::Normal, 0 },
        { "pressed again", 45, 42, FNButtonLeft, FNPushButton::Pressed, 1 },
        { "dragged outside", 250, 150, FNButtonLeft, FNPushButton::Pressed, 1 },
        { "released outside", 250, 150, 0, FNPushButton::Normal, 0 },
    };
    for (const Row& row : rows) {
        V::AdvanceMilliseconds(400);
        V::SetPointer(100 + row.x, 100 + row.y);
        V::SetButtons(row.buttons);
        Step(3);
        EXPECT_EQ(button.Shown(), row.face) << row.what;
        EXPECT_EQ(button.Item()->textImageX, centredX + row.textShift) << row.what;
        EXPECT_EQ(button.Item()->textImageY, centredY + row.textShift) << row.what;
    }
    // Both releases reach the application, also the one outside the button.
    EXPECT_EQ(clicks.events.size(), 2u);
}

TEST_F(WidgetTest, OnOffButtonTurnsOverOnEachPressAndFollowsItsFlag)
{
    FNOnOffButton toggle(20, 30, 60, 24, "ペン");
    toggle.PlaceIn(&scene);
    Step();
    EXPECT_EQ(toggle.Shown(), FNOnOffButton::Normal);
    ClickAt(30, 40);
    EXPECT_TRUE(toggle.on);
    EXPECT_EQ(toggle.Shown(), FNOnOffButton::On);
    MoveTo(200, 150); // leaving keeps the on face
    EXPECT_EQ(toggle.Shown(), FNOnOffButton::On);
    ClickAt(30, 40);
    EXPECT_FALSE(toggle.on);
    EXPECT_EQ(toggle.Shown(), FNOnOffButton::Normal) << "off again: a release shows the normal face";
    toggle.on = true; // as the application sets the tool buttons
    toggle.Repaint();
    EXPECT_EQ(toggle.Shown(), FNOnOffButton::On);
}

TEST_F(WidgetTest, SelectorsOfAGroupShareOneMark)
{
    FNSelectorGroup group;
    FNSelector first(10, 10, 100, 20, "通常合成", &group);
    FNSelector second(10, 30, 100, 20, "Smart合成", &group);
    first.PlaceIn(&scene);
    second.PlaceIn(&scene);
    Step();
    EXPECT_EQ(group.Text(), "");
    MoveTo(50, 40); // hovering an unselected one shows its highlight
    EXPECT_NE(second.Item()->picture, nullptr);
    ClickAt(90, 20); // a click beside the text still chooses
    EXPECT_EQ(group.Selected(), &first);
    EXPECT_EQ(second.Item()->picture, nullptr) << "the pointer left it";
    ClickAt(50, 40);
    EXPECT_EQ(group.Selected(), &second);
    EXPECT_EQ(group.Text(), "Smart合成");
    EXPECT_FALSE(first.IsSelected());
    EXPECT_EQ(first.markAlpha, 174);
    EXPECT_EQ(first.Item()->picture, nullptr);
    EXPECT_NE(second.Item()->picture, nullptr);
}

TEST_F(WidgetTest, DisablingAFrameDisablesWhatItHoldsAndGreysTheFaces)
{
    FNFrame frame(40, 220, 100);
    EXPECT_EQ(frame.X(), 10);
    EXPECT_EQ(frame.Y(), 40);
    frame.PlaceIn(&scene);
    FNPushButton button(10, 10, 97, 20, "白紙キャンバス");
    button.SetRect(12, 10, 97, 20); // before the item: only stored
    EXPECT_EQ(button.X(), 12);
    frame.AddChild(&button);
    EXPECT_EQ(button.Item()->x, 12) << "the item is made where SetRect said";
    Counter presses;
    FNEventConnector application(&button);
    application.Connect(FNEvent::LeftUp, &Counter::On, &presses);
    Step();
    FNImage normal;
    normal.copyFrom(button.Item()->picture);

    frame.SetEnabled(false);
    EXPECT_FALSE(button.IsEnabled());
    EXPECT_TRUE(button.enabled) << "its own flag stays";
    EXPECT_FALSE(samePixels(button.Item()->picture, &normal)) << "the face is greyed";
    ClickAt(10 + 12 + 20, 40 + 10 + 10);
    EXPECT_TRUE(presses.events.empty()) << "a disabled button gets no events";

    frame.SetEnabled(true);
    EXPECT_TRUE(button.IsEnabled());
    EXPECT_TRUE(samePixels(button.Item()->picture, &normal));
    ClickAt(10 + 12 + 20, 40 + 10 + 10);
    EXPECT_EQ(presses.events.size(), 1u);
}

TEST_F(WidgetTest, EventsRaisedForAWidgetNeedItPlaced)
{
    FNPushButton button(20, 30, 80, 24, "OK");
    Counter raised;
    FNEventConnector application(&button);
    application.Connect(FNEvent::ValueChanged, &Counter::On, &raised);
    FNEmitToWidget(&button, FNEvent::ValueChanged); // not placed: nothing
    Step();
    EXPECT_TRUE(raised.events.empty());
    button.PlaceIn(&scene);
    FNEmitToWidget(&button, FNEvent::ValueChanged);
    Step();
    ASSERT_EQ(raised.events.size(), 1u);
    EXPECT_EQ(raised.events[0].target, &button);
    EXPECT_EQ(raised.events[0].item, button.Item());
}

} // namespace
