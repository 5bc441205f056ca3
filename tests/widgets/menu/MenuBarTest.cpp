// The menu bar on a framed window of the virtual window system, driven as a
// user would: the pointer moves, the left button goes down and up, keys are
// pressed, and engine steps run between.

#include "framework/platform/FNVirtualKey.h"
#include "framework/scene/FN2DItem.h"
#include "framework/window/FNExWindow.h"
#include "tests/widgets/controls/WidgetFixture.h"
#include "widgets/menu/FNMenuBar.h"
#include "widgets/menu/FNMenuGeometry.h"
#include "widgets/menu/FNMenuPanel.h"

#include <memory>
#include <vector>

namespace {

// Column 0 "ファイル": 新規 (11), 開く (12), a separator, 保存 (13, disabled),
// 終了 (14). Column 1 "編集": 戻す (31), 進む (32). Column 2 "情報":
// 版 (91). The window's client is at (100, 100) before the bar moves it.
class MenuBarTest : public VirtualScreenTest {
protected:
    void SetUp() override
    {
        VirtualScreenTest::SetUp();
        V::SetWorkArea(FNPlatformRect { 0, 0, 1280, 1000 });
        window = std::make_unique<FNExWindow>(100, 100, 400, 300, "menu");
        menu.AddColumn("ファイル");
        menu.AddColumn("編集");
        menu.AddColumn("情報");
        menu.AddItem(11, true, -1, "新規", "ファイル");
        menu.AddItem(12, true, -1, "開く", "ファイル");
        menu.AddItem(0, true, -1, FNMenuSeparatorText, "ファイル");
        menu.AddItem(13, false, -1, "保存", "ファイル");
        menu.AddItem(14, true, -1, "終了", "ファイル");
        menu.AddItem(31, true, -1, "戻す", "編集");
        menu.AddItem(32, true, -1, "進む", "編集");
        menu.AddItem(91, true, -1, "版", "情報");
        window->Open(true, nullptr, engine.get());
        window->SetMenu(menu);
        bar = dynamic_cast<FNMenuBar*>(window->MenuBar());
        ASSERT_NE(bar, nullptr);
        connector = std::make_unique<FNEventConnector>(window.get());
        connector->Connect(FNEvent::MenuCommand, &Counter::On, &commands);
        Step();
    }
    void TearDown() override
    {
        connector.reset();
        window.reset();
        VirtualScreenTest::TearDown();
    }
    // Screen centre of a widget's item on its stage.
    static void CentreOf(const FNStageBase& stage, const FN2DItem& item, int& x, int& y)
    {
        x = stage.x + static_cast<int>(item.WorldX() + item.width / 2);
        y = stage.y + static_cast<int>(item.WorldY() + item.height / 2);
    }
    void ClickTitle(size_t column)
    {
        int x, y;
        CentreOf(*window->Frame(), *bar->Title(column)->Item(), x, y);
        ClickScreen(x, y);
    }
    void ClickRow(size_t column, size_t row)
    {
        FNMenuPanel& panel = *bar->Panel(column);
        ASSERT_TRUE(panel.IsOpen());
        int x, y;
        CentreOf(*panel.Stage(), *panel.Row(row)->Item(), x, y);
        ClickScreen(x, y);
    }
    bool IsOpen(size_t column) const { return bar->Panel(column)->IsOpen(); }

    FNWindowMenu menu;
    std::unique_ptr<FNExWindow> window;
    FNMenuBar* bar = nullptr;
    Counter commands;
    std::unique_ptr<FNEventConnector> connector;
};

TEST_F(MenuBarTest, BarSitsBetweenTitleBarAndClient)
{
    // The frame stays at (94, 72); the client moves down by the bar.
    V::WindowInfo frame = V::Window(window->Frame()->window);
    V::WindowInfo client = V::Window(window->window);
    EXPECT_EQ(frame.x, 94);
    EXPECT_EQ(frame.y, 72);
    EXPECT_EQ(frame.height, 300 + 28 + FNMenuBarHeight + 10);
    EXPECT_EQ(client.y, 28 + FNMenuBarHeight);
    EXPECT_EQ(client.height, 300);
    EXPECT_EQ(window->ClientRect(), (FNRect { 100, 118, 500, 418 }));
    // Titles of their measured widths, left to right from (5, 1) of the bar.
    std::vector<int> widths;
    for (const char* title : { "ファイル", "編集", "情報" })
        widths.push_back(FNMenuTextWidth(bar->Title(0)->stringStyle, title));
    const std::vector<FNRect> rects = FNMenuTitleRects(widths);
    for (size_t column = 0; column < 3; ++column) {
        const FN2DItem& title = *bar->Title(column)->Item();
        EXPECT_EQ(title.WorldX(), 6 + rects[column].left) << column;
        EXPECT_EQ(title.WorldY(), 28 + 1) << column;
        EXPECT_EQ(title.width, widths[column] + 12) << column;
        EXPECT_EQ(title.height, 16) << column;
        EXPECT_EQ(title.textImageX, 6);
        EXPECT_EQ(title.textImageY, 0);
    }
    // The menu was copied: changing the caller's menu changes nothing.
    menu.AddItem(15, true, -1, "追加", "ファイル");
    EXPECT_EQ(bar->Menu().Column("ファイル")->items.size(), 5u);
}

TEST_F(MenuBarTest, LayoutRulesCountTheBar)
{
    window->Resize(10, 10);
    EXPECT_EQ(window->ClientRect(), (FNRect { 100, 118, 250, 198 }));
    EXPECT_EQ(V::Window(window->Frame()->window).height, 80 + 56);
    // Kept inside the work area with the bar: the frame's bottom at 1000.
    window->MoveTo(100, 5000);
    EXPECT_EQ(window->ClientRect().bottom, 1000 - 10);
    window->Maximise();
    EXPECT_EQ(window->ClientRect(), (FNRect { 6, 46, 1274, 990 }));
    window->Restore();
    // Dragging the title bar moves the window, bar and all.
    window->MoveTo(100, 118);
    Step();
    V::AdvanceMilliseconds(1000);
    V::SetPointer(130, 80);
    Step();
    V::SetButtons(FNButtonLeft);
    Step();
    V::SetPointer(160, 100);
    Step();
    V::SetButtons(0);
    Step();
    EXPECT_EQ(window->ClientRect(), (FNRect { 130, 138, 280, 218 }));
    EXPECT_EQ(V::Window(window->window).y, 46);
}

TEST_F(MenuBarTest, PanelOpensBelowItsTitleAtLeast100Wide)
{
    ClickTitle(0);
    ASSERT_TRUE(IsOpen(0));
    EXPECT_EQ(bar->OpenColumnIndex(), 0);
    EXPECT_TRUE(bar->Title(0)->IsSelected());
    const FN2DItem& title = *bar->Title(0)->Item();
    V::WindowInfo panel = V::Window(bar->Panel(0)->Stage()->window);
    EXPECT_FALSE(panel.child);
    EXPECT_EQ(panel.x, 94 + static_cast<int>(title.WorldX()));
    EXPECT_EQ(panel.y, 72 + 28 + 1 + 16);
    EXPECT_EQ(panel.height, 5 * 20 + 2);
    EXPECT_EQ(bar->Panel(0)->RowWidth(), 100) << "short items";
    EXPECT_EQ(panel.width, 104);
    EXPECT_EQ(bar->Panel(0)->Row(4)->Item()->WorldY(), 1 + 4 * 20);
}

TEST_F(MenuBarTest, ClickingAnItemRaisesOneMenuCommandWithItsId)
{
    ClickTitle(0);
    ClickRow(0, 1);
    ASSERT_EQ(commands.events.size(), 1u);
    const FNEventState& event = commands.events[0];
    EXPECT_EQ(event.code, FNEvent::MenuCommand);
    EXPECT_EQ(event.param, 12);
    EXPECT_EQ(event.stage, window.get());
    // Nothing of the click that chose it.
    EXPECT_TRUE(!event.item && !event.widget && !event.target && !event.targetKind);
    EXPECT_TRUE(event.screenX == 0 && event.localY == 0 && event.key == 0);
    EXPECT_FALSE(IsOpen(0));
    EXPECT_EQ(bar->OpenColumnIndex(), -1);
    EXPECT_FALSE(bar->Title(0)->IsSelected());
    EXPECT_EQ(engine->current.focusStage, window.get()) << "the window is active again";
}

TEST_F(MenuBarTest, SeparatorsAndDisabledItemsCannotBeChosen)
{
    ClickTitle(0);
    ClickRow(0, 2); // separator
    ClickRow(0, 3); // disabled
    EXPECT_TRUE(commands.events.empty());
    EXPECT_TRUE(IsOpen(0));
    // The keys still reach the panel after those presses.
    Tap(FNKeyEscape);
    EXPECT_FALSE(IsOpen(0));
}

TEST_F(MenuBarTest, PanelClosesOnAClickOutside)
{
    struct Outside {
        const char* where;
        int x;
        int y;
    };
    const Outside places[] = {
        { "client", 300, 300 },
        { "empty part of the bar", 480, 108 },
        { "title bar", 300, 80 },
    };
    for (const Outside& place : places) {
        ClickTitle(1);
        ASSERT_TRUE(IsOpen(1)) << place.where;
        ClickScreen(place.x, place.y);
        EXPECT_FALSE(IsOpen(1)) << place.where;
        EXPECT_EQ(bar->OpenColumnIndex(), -1) << place.where;
    }
    EXPECT_TRUE(commands.events.empty());
}

TEST_F(MenuBarTest, AnotherTitleTakesOverAndTheOpenTitleCloses)
{
    ClickTitle(0);
    ClickTitle(1);
    EXPECT_FALSE(IsOpen(0));
    EXPECT_TRUE(IsOpen(1));
    EXPECT_FALSE(bar->Title(0)->IsSelected());
    EXPECT_TRUE(bar->Title(1)->IsSelected());
    // Moving over a title while a panel is open switches to it.
    int x, y;
    CentreOf(*window->Frame(), *bar->Title(2)->Item(), x, y);
    V::SetPointer(x, y);
    Step();
    Step();
    EXPECT_FALSE(IsOpen(1));
    EXPECT_TRUE(IsOpen(2));
    // The press that follows keeps it open; the next closes it, and the
    // one after that opens it again.
    ClickTitle(2);
    EXPECT_TRUE(IsOpen(2));
    ClickTitle(2);
    EXPECT_FALSE(IsOpen(2));
    EXPECT_FALSE(bar->Title(2)->IsSelected());
    ClickTitle(2);
    EXPECT_TRUE(IsOpen(2));
    EXPECT_TRUE(commands.events.empty());
}

TEST_F(MenuBarTest, KeysMoveThroughTheOpenPanelAndChoose)
{
    ClickTitle(0);
    FNMenuPanel& file = *bar->Panel(0);
    EXPECT_EQ(file.CurrentRow(), -1);
    struct Press {
        int key;
        int row;
    };
    // Down skips the separator (2) and the disabled item (3), and wraps.
    const Press presses[]
        = { { FNKeyDown, 0 }, { FNKeyDown, 1 }, { FNKeyDown, 4 }, { FNKeyDown, 0 }, { FNKeyUp, 4 }, { FNKeyUp, 1 } };
    for (const Press& press : presses) {
        Tap(press.key);
        EXPECT_EQ(file.CurrentRow(), press.row);
    }
    Tap(FNKeyReturn);
    ASSERT_EQ(commands.events.size(), 1u);
    EXPECT_EQ(commands.events[0].param, 12);
    EXPECT_FALSE(IsOpen(0));
    // Return with no current row chooses nothing; Escape closes.
    ClickTitle(1);
    Tap(FNKeyReturn);
    EXPECT_TRUE(IsOpen(1));
    Tap(FNKeyEscape);
    EXPECT_FALSE(IsOpen(1));
    EXPECT_EQ(commands.events.size(), 1u);
}

TEST_F(MenuBarTest, LeftAndRightMoveBetweenColumns)
{
    ClickTitle(0);
    Tap(FNKeyRight);
    EXPECT_FALSE(IsOpen(0));
    ASSERT_TRUE(IsOpen(1));
    EXPECT_EQ(bar->Panel(1)->CurrentRow(), 0) << "the first row is current";
    Tap(FNKeyDown);
    Tap(FNKeyLeft);
    Tap(FNKeyLeft); // wraps to the last column
    ASSERT_TRUE(IsOpen(2));
    Tap(FNKeyReturn);
    ASSERT_EQ(commands.events.size(), 1u);
    EXPECT_EQ(commands.events[0].param, 91);
}

} // namespace
