// The drop-down list on a stage, used with the pointer and the keys.

#include "framework/platform/FNVirtualKey.h"
#include "framework/scene/FN2DItem.h"
#include "tests/widgets/controls/WidgetFixture.h"
#include "widgets/controls/FNDropDownList.h"

namespace {

// Screen position of the stage's client (100, 100) plus the list's box.
constexpr int kBoxX = 100 + FNDropDownList::kX, kBoxY = 100 + FNDropDownList::kY;

class DropDownTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        stage->SetRect(100, 100, 300, 400); // tall enough for the box at y = 320
        for (const char* entry : { "通常合成", "Smart合成", "三番目" })
            list.AddEntry(entry);
        list.PlaceIn(&scene);
        connector = std::make_unique<FNEventConnector>(&list);
        connector->Connect(FNEvent::SelectionSet, &DropDownTest::OnEvent, this);
        connector->Connect(FNEvent::SelectionChosen, &DropDownTest::OnEvent, this);
        Step();
    }
    void TearDown() override
    {
        connector.reset();
        WidgetTest::TearDown();
    }
    // What a handler sees when an event arrives: the code and the text.
    void OnEvent(FNEventState event) { seen.push_back({ event.code, list.GetText() }); }

    FNDropDownList list;
    std::unique_ptr<FNEventConnector> connector;
    std::vector<std::pair<int, FNString>> seen;
};

TEST(DropDownList, SelectingByTextBeforeItIsPlacedDoesNothing)
{
    FNDropDownList list;
    list.AddEntry("Smart合成");
    list.SelectByText("Smart合成");
    EXPECT_EQ(list.GetText(), "");
    EXPECT_EQ(list.Group().Selected(), nullptr);
    EXPECT_EQ(list.X(), 10);
    EXPECT_EQ(list.Y(), 320);
    EXPECT_EQ(list.Width(), 95);
    EXPECT_EQ(list.Height(), 20);
}

TEST_F(DropDownTest, SelectingByTextMarksTheEntryAndRaisesSelectionSet)
{
    list.SelectByText("Smart合成");
    list.SelectByText("無い"); // no entry: nothing
    Step();
    EXPECT_EQ(list.GetText(), "Smart合成");
    EXPECT_EQ(list.Group().Selected(), list.Entries()[1].get());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], (std::pair<int, FNString> { FNEvent::SelectionSet, "Smart合成" }));
}

TEST_F(DropDownTest, AClickOpensTheListUnderTheBoxAndAChoiceClosesIt)
{
    ClickScreen(kBoxX + 30, kBoxY + 10);
    ASSERT_TRUE(list.IsOpen());
    const V::WindowInfo popup = V::Window(list.Popup()->window);
    EXPECT_EQ(popup.x, kBoxX);
    EXPECT_EQ(popup.y, kBoxY + 20);
    EXPECT_EQ(popup.width, 95 - 16);
    EXPECT_EQ(popup.height, 3 * 20 + 2);
    ClickScreen(kBoxX + 70, kBoxY + 20 + 1 + 20 + 10); // the second row, right of its text
    EXPECT_FALSE(list.IsOpen());
    EXPECT_EQ(list.GetText(), "Smart合成");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], (std::pair<int, FNString> { FNEvent::SelectionChosen, "Smart合成" }))
        << "the text is set before the event";
    EXPECT_EQ(V::Focus(), stage->window) << "the keyboard did not come back to the box's window";
}

TEST_F(DropDownTest, ThereIsNoRoomBelowTheBoxSoTheListOpensAbove)
{
    V::SetWorkArea({ 0, 0, 1280, kBoxY + 40 });
    ClickScreen(kBoxX + 30, kBoxY + 10);
    ASSERT_TRUE(list.IsOpen());
    EXPECT_EQ(V::Window(list.Popup()->window).y, kBoxY - (3 * 20 + 2));
}

TEST_F(DropDownTest, AClickElsewhereOrOnTheBoxClosesTheListWithoutAChoice)
{
    ClickScreen(kBoxX + 30, kBoxY + 10);
    ASSERT_TRUE(list.IsOpen());
    ClickScreen(250, 150); // elsewhere on the stage
    EXPECT_FALSE(list.IsOpen());
    ClickScreen(kBoxX + 30, kBoxY + 10);
    ASSERT_TRUE(list.IsOpen());
    ClickScreen(kBoxX + 30, kBoxY + 10); // the box again: closed, not reopened
    EXPECT_FALSE(list.IsOpen());
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(list.GetText(), "");
}

TEST_F(DropDownTest, KeysMoveTheMarkAndChoose)
{
    list.SelectByText("通常合成");
    ClickScreen(kBoxX + 30, kBoxY + 10);
    ASSERT_TRUE(list.IsOpen());
    Tap(FNKeyDown);
    Tap(FNKeyDown);
    Tap(FNKeyUp);
    Tap(FNKeyReturn);
    EXPECT_FALSE(list.IsOpen());
    EXPECT_EQ(list.GetText(), "Smart合成");
    EXPECT_EQ(V::Focus(), stage->window) << "after Return";
    ClickScreen(kBoxX + 30, kBoxY + 10);
    Tap(FNKeyEscape);
    EXPECT_FALSE(list.IsOpen());
    EXPECT_EQ(list.GetText(), "Smart合成");
    EXPECT_EQ(V::Focus(), stage->window) << "after Escape";
}

TEST_F(DropDownTest, MoreThanTenEntriesShowTenRowsAndScroll)
{
    for (int i = 4; i <= 15; ++i)
        list.AddEntry(FNString("項目") + FNString(std::to_string(i)));
    ClickScreen(kBoxX + 30, kBoxY + 10);
    ASSERT_TRUE(list.IsOpen());
    const V::WindowInfo popup = V::Window(list.Popup()->window);
    EXPECT_EQ(popup.width, 95);
    EXPECT_EQ(popup.height, 10 * 20 + 2);
    V::SetPointer(kBoxX + 30, popup.y + 50);
    Step();
    V::Wheel(-120 * 3);
    Step(3);
    EXPECT_EQ(list.FirstShownRow(), 3);
    // A press on the scroll bar's track below its thumb pages to the end.
    ClickScreen(popup.x + 95 - 8, popup.y + 10 * 20 - 24);
    EXPECT_EQ(list.FirstShownRow(), 15 - 10);
    // The row now at the top is the sixth entry.
    ClickScreen(kBoxX + 30, popup.y + 1 + 10);
    EXPECT_EQ(list.GetText(), "項目6");
}

} // namespace
