// The window menu on a real X display (Xvfb in CI), as a person uses it:
// xdotool clicks a title through XTEST and presses the keys; a second
// connection of the test reads the panel's pixels back. With
// TESSERINE_SCREENSHOTS set to a folder, the open menu is also saved there
// as a screenshot of the whole screen (ImageMagick's import), to look at.

#include "framework/engine/FNEngine.h"
#include "framework/events/FNEventCode.h"
#include "framework/events/FNEventConnector.h"
#include "framework/scene/FN2DItem.h"
#include "framework/stage/FN2DStage.h"
#include "framework/window/FNExWindow.h"
#include "widgets/menu/FNMenuBar.h"
#include "widgets/menu/FNMenuPanel.h"
#include "widgets/window/FNWindowFrameLooks.h"

// GoogleTest before Xlib: Xlib's None and Bool macros break its headers.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

int xdotool(const std::string& arguments)
{
    return std::system(("xdotool " + arguments + " >/dev/null 2>&1").c_str());
}

struct Commands {
    std::vector<int> ids;
    void On(FNEventState event) { ids.push_back(event.param); }
};

class MenuX11Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        engine = std::make_unique<FNEngine>();
        ASSERT_TRUE(engine->Platform())
            << "The X11 widget tests need an X display (scripts/xvfb-display.sh starts Xvfb): "
            << engine->PlatformFailure();
        probe = XOpenDisplay(nullptr);
        ASSERT_NE(probe, nullptr);
        FNExWindow::SetDefaultLooks(FNWindowFrameLooks());
    }
    void TearDown() override
    {
        xdotool("mouseup 1");
        connector.reset();
        window.reset();
        engine.reset();
        FNExWindow::SetDefaultLooks(FNPlainExWindowLooks());
        if (probe)
            XCloseDisplay(probe);
    }

    bool StepUntil(const std::function<bool()>& condition)
    {
        // Only a broken engine or backend waits this long.
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > limit)
                return false;
            engine->Synchronise();
            engine->RunStep(true);
        }
        return true;
    }
    void StepAFew()
    {
        for (int step = 0; step < 30; ++step) {
            engine->Synchronise();
            engine->RunStep(true);
        }
    }
    // A pixel of a window on the screen, 0xRRGGBB.
    uint32_t Pixel(const FNStageBase& stage, int x, int y)
    {
        XSync(probe, False);
        XImage* image = XGetImage(probe, static_cast<Window>(stage.window), x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return 0xFFFFFFFF;
        const uint32_t pixel = static_cast<uint32_t>(XGetPixel(image, 0, 0)) & 0xFFFFFF;
        XDestroyImage(image);
        return pixel;
    }
    void Screenshot(const std::string& name)
    {
        if (const char* folder = std::getenv("TESSERINE_SCREENSHOTS"))
            std::system(("import -window root '" + std::string(folder) + "/" + name + ".png'").c_str());
    }

    std::unique_ptr<FNEngine> engine;
    Display* probe = nullptr;
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
    StepAFew();
    auto* bar = dynamic_cast<FNMenuBar*>(window->MenuBar());
    ASSERT_NE(bar, nullptr);

    // A click on the first title opens its panel below it.
    const FN2DItem& title = *bar->Title(0)->Item();
    const int titleX = window->Frame()->x + static_cast<int>(title.WorldX() + title.width / 2);
    const int titleY = window->Frame()->y + static_cast<int>(title.WorldY() + title.height / 2);
    // The pointer comes first, as a person's does: the window's own
    // activation waits for the pointer to be over one of its windows.
    ASSERT_EQ(xdotool("mousemove " + std::to_string(titleX) + " " + std::to_string(titleY)), 0);
    StepAFew();
    ASSERT_EQ(xdotool("click 1"), 0);
    FNMenuPanel& panel = *bar->Panel(0);
    ASSERT_TRUE(StepUntil([&] { return panel.IsOpen() && panel.Stage()->shown; }));
    StepAFew();
    // Right of any text in the first row: the body before, the mark after.
    const int markX = panel.RowWidth() - 4;
    const int markY = 1 + 10;
    const uint32_t body = Pixel(*panel.Stage(), markX, markY);

    // Down marks the first item, Down again skips the separator.
    ASSERT_EQ(xdotool("key Down"), 0);
    ASSERT_TRUE(StepUntil([&] { return panel.CurrentRow() == 0; }));
    StepAFew();
    EXPECT_NE(Pixel(*panel.Stage(), markX, markY), body) << "the current row shows the mark";
    ASSERT_EQ(xdotool("key Down"), 0);
    ASSERT_TRUE(StepUntil([&] { return panel.CurrentRow() == 2; }));
    StepAFew();
    Screenshot("menu-open");

    ASSERT_EQ(xdotool("key Return"), 0);
    ASSERT_TRUE(StepUntil([&] { return !commands.ids.empty(); }));
    StepAFew();
    EXPECT_EQ(commands.ids, (std::vector<int> { 12 }));
    EXPECT_FALSE(panel.IsOpen());

    // Escape closes a panel without choosing.
    ASSERT_EQ(xdotool("click 1"), 0);
    ASSERT_TRUE(StepUntil([&] { return panel.IsOpen(); }));
    ASSERT_EQ(xdotool("key Escape"), 0);
    ASSERT_TRUE(StepUntil([&] { return !panel.IsOpen(); }));
    StepAFew();
    EXPECT_EQ(commands.ids.size(), 1u);
}

} // namespace
