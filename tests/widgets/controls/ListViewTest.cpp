// The list view on a stage: choosing rows with the pointer and the keys,
// scrolling, and adding a row through the placeholder.

#include "framework/platform/FNVirtualKey.h"
#include "tests/widgets/controls/WidgetFixture.h"
#include "widgets/controls/FNListView.h"

namespace {

// A list at client (10, 20), 480 x 94 wide: five rows of 18 fit.
class ListViewTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        stage->SetRect(100, 100, 520, 200);
        list.PlaceIn(&scene);
        for (int i = 1; i <= 8; ++i)
            list.AddRow(FNString("行") + FNString(i));
        connector = std::make_unique<FNEventConnector>(&list);
        connector->Connect(FNEvent::SelectionSet, &Counter::On, &events);
        connector->Connect(FNEvent::SelectionChosen, &Counter::On, &events);
        Step();
    }
    void TearDown() override
    {
        connector.reset();
        WidgetTest::TearDown();
    }
    // Client position of a shown row's left part.
    int RowY(int shownRow) const { return 20 + 1 + shownRow * FNListView::kRowHeight + 9; }

    FNListView list { 20, 94 };
    Counter events;
    std::unique_ptr<FNEventConnector> connector;
};

TEST_F(ListViewTest, AClickSelectsADoubleClickChoosesAndKeysMoveTheSelection)
{
    EXPECT_EQ(list.X(), 10);
    EXPECT_EQ(list.Width(), 480);
    EXPECT_EQ(list.VisibleRows(), 5);
    ClickAt(200, RowY(1));
    EXPECT_EQ(list.Selected(), 1);
    EXPECT_EQ(events.Codes(), (std::vector<int> { FNEvent::SelectionSet }));
    Tap(FNKeyDown);
    Tap(FNKeyDown);
    EXPECT_EQ(list.Selected(), 3);
    Tap(FNKeyEnd);
    EXPECT_EQ(list.Selected(), 7);
    EXPECT_EQ(list.FirstShownRow(), 7 - 5 + 1) << "the selection is scrolled into view";
    Tap(FNKeyReturn);
    EXPECT_EQ(events.Codes().back(), FNEvent::SelectionChosen);
    events.events.clear();
    // Two quick clicks on a row: selected, then chosen.
    V::AdvanceMilliseconds(1000);
    MoveTo(200, RowY(0));
    V::SetButtons(FNButtonLeft), V::SetButtons(0);
    V::SetButtons(FNButtonLeft), V::SetButtons(0);
    Step(6);
    EXPECT_EQ(list.Selected(), 3);
    EXPECT_EQ(events.Codes().back(), FNEvent::SelectionChosen);
}

TEST_F(ListViewTest, TheWheelAndTheScrollBarScrollByRows)
{
    MoveTo(200, RowY(2));
    V::Wheel(-240);
    Step(2);
    EXPECT_EQ(list.FirstShownRow(), 2);
    // Nine rows with the placeholder, five shown: the bar's down arrow moves
    // one row at a time up to the last four.
    for (int i = 0; i < 4; ++i) {
        V::AdvanceMilliseconds(1000);
        ClickAt(10 + 480 - 8, 20 + 94 - 8);
    }
    EXPECT_EQ(list.FirstShownRow(), 9 - 5);
}

TEST_F(ListViewTest, ThePlaceholderAddsARowFromWhatIsTyped)
{
    list.SetRows({ "一", "二" });
    Step();
    // The placeholder is the third row: a double click opens a text box there.
    V::AdvanceMilliseconds(1000);
    MoveTo(200, RowY(2));
    V::SetButtons(FNButtonLeft), V::SetButtons(0);
    V::SetButtons(FNButtonLeft), V::SetButtons(0);
    Step(6);
    ASSERT_TRUE(list.IsEditing());
    V::TypeText("三番");
    Step(2);
    Tap(FNKeyReturn);
    EXPECT_FALSE(list.IsEditing());
    ASSERT_EQ(list.RowCount(), 3);
    EXPECT_EQ(list.Row(2), "三番");
    EXPECT_EQ(list.Selected(), 2);

    list.SetPlaceholderShown(false);
    list.Clear();
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(list.Selected(), -1);
}

} // namespace
