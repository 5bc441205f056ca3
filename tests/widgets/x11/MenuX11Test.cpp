// The window menu on a real X display (Xvfb in CI), as a person uses it:
// xdotool clicks a title through XTEST and presses the keys, and the test
// reads the panel's pixels back (the stage tests' X11 harness). With
// TESSERINE_SCREENSHOTS set to a folder, the open menu is also saved there
// as a screenshot of the whole screen (ImageMagick's import), to look at.

#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/scene/FN2DItem.h"
#include "framework/stage/FN2DStage.h"
#include "framework/window/FNExWindow.h"
#include "tests/framework/stage/shared/StageHarness.h"
#include "widgets/menu/FNMenuBar.h"
#include "widgets/menu/FNMenuPanel.h"
#include "widgets/window/FNWindowFrameLooks.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Commands {
    std::vector<int> ids;
    void On(FNEventState event) { ids.push_back(event.param); }
};

class MenuX11Test : public StageHarness {
protected:
    void SetUp() override
    {
        StageHarness::SetUp();
        FNExWindow::SetDefaultLooks(FNWindowFrameLooks());
    }
    void TearDown() override
    {
        connector.reset();
        window.reset();
        FNExWindow::SetDefaultLooks(FNPlainExWindowLooks());
        StageHarness::TearDown();
    }
    void Screenshot(const std::string& name)
    {
        if (const char* folder = std::getenv("TESSERINE_SCREENSHOTS"))
            std::system(("import -window root '" + std::string(folder) + "/" + name + ".png'").c_str());
    }

    std::unique_ptr<FNExWindow> window;
    Commands commands;
    std::unique_ptr<FNEventConnector> connector;
};

TEST_F(MenuX11Test, OpenTheMenuAndChooseAnItemWithTheKeys)
{
    FNWindowMenu menu;
    menu.AddColumn("ファイル");
    menu.AddColumn("編集");
    menu.AddItem(11, true, -1, "新しいキャンバスを作成する (Ctrl+N)", "ファイル");
    menu.AddItem(0, true, -1, FNMenuSeparatorText, "ファイル");
    menu.AddItem(12, true, -1, "キャンバスの絵を読み込む (Ctrl+O)", "ファイル");
    menu.AddItem(13, false, -1, "キャンバスの絵を保存する (Ctrl+S)", "ファイル");
    menu.AddItem(31, true, -1, "１つ戻る (Ctrl+Z)", "編集");
    window = std::make_unique<FNExWindow>(100, 100, 500, 300, "Tesserine");
    window->SetMenu(menu);
    connector = std::make_unique<FNEventConnector>(window.get());
    connector->Connect(FNEvent::MenuCommand, &Commands::On, &commands);
    window->Open(true, nullptr, engine.get());
    ASSERT_TRUE(StepUntil([&] { return window->shown && window->Frame()->shown; }));
    StepAFew(); // the new window's own activation
    auto* bar = dynamic_cast<FNMenuBar*>(window->MenuBar());
    ASSERT_NE(bar, nullptr);

    // A click on the first title opens its panel below it.
    const FN2DItem& title = *bar->Title(0)->Item();
    MovePointer(window->Frame()->x + static_cast<int>(title.WorldX() + title.width / 2),
        window->Frame()->y + static_cast<int>(title.WorldY() + title.height / 2));
    Click();
    FNMenuPanel& panel = *bar->Panel(0);
    ASSERT_TRUE(StepUntil([&] { return panel.IsOpen() && panel.Stage()->shown; }));
    StepAFew();
    // Right of any text in the first row: the body before, the mark after.
    const int markX = panel.RowWidth() - 4;
    const int markY = 1 + 10;
    const uint32_t body = Pixel(*panel.Stage(), markX, markY);

    // Down marks the first item, Down again skips the separator.
    Chord({ FNKeyDown });
    ASSERT_TRUE(StepUntil([&] { return panel.CurrentRow() == 0; }));
    StepAFew();
    EXPECT_NE(Pixel(*panel.Stage(), markX, markY), body) << "the current row shows the mark";
    Chord({ FNKeyDown });
    ASSERT_TRUE(StepUntil([&] { return panel.CurrentRow() == 2; }));
    StepAFew();
    Screenshot("menu-open");

    Chord({ FNKeyReturn });
    ASSERT_TRUE(StepUntil([&] { return !commands.ids.empty(); }));
    StepAFew();
    EXPECT_EQ(commands.ids, (std::vector<int> { 12 }));
    EXPECT_FALSE(panel.IsOpen());
}

} // namespace
