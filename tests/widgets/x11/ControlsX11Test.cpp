// Buttons, the drop-down list and the text box on the X display in DISPLAY
// (Xvfb in CI), used as a person would with xdotool: zero-duration clicks,
// typing, keys. With TESSERINE_SCREENSHOTS set to a folder, each test leaves
// a screenshot of the whole screen there.

#include "framework/events/FNEventConnector.h"
#include "framework/platform/FNVirtualKey.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FN2DStage.h"
#include "tests/framework/stage/shared/StageHarness.h"
#include "widgets/controls/FNDropDownList.h"
#include "widgets/controls/FNOnOffButton.h"
#include "widgets/controls/FNPushButton.h"
#include "widgets/controls/FNTextBox.h"
#include "widgets/theme/FNTheme.h"

#include <cstdlib>
#include <string>

namespace {

// A 300 x 360 stage at screen (200, 100) with a push button, an on/off
// button, a text box and the drop-down list (always at client (10, 320)).
class ControlsOnX11 : public StageHarness {
protected:
    static constexpr int kLeft = 200, kTop = 100;

    void SetUp() override
    {
        StageHarness::SetUp();
        if (HasFatalFailure())
            return;
        const FNRGB bg = FNThemeRGB(FNThemeKey::Background);
        scene.SetBackground(bg.red, bg.green, bg.blue, 255);
        stage.SetScene(&scene);
        for (const char* entry : { "通常合成", "Smart合成" })
            list.AddEntry(entry);
        for (FNWidget* widget : std::initializer_list<FNWidget*> { &push, &toggle, &box, &list })
            widget->PlaceIn(&scene);
        stage.Open(true, nullptr, engine.get());
        ASSERT_TRUE(stage.windowCreated);
        clicks = std::make_unique<FNEventConnector>(&push);
        clicks->Connect(FNEvent::LeftUp, &EventRecorder::On, &pushed);
        ASSERT_TRUE(Focus(stage, kLeft + 250, kTop + 200));
    }
    void TearDown() override
    {
        if (const char* folder = std::getenv("TESSERINE_SCREENSHOTS")) {
            const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
            std::system(("import -window root " + std::string(folder) + "/" + name + ".png").c_str());
        }
        clicks.reset();
        list.Close();
        stage.Close();
        StageHarness::TearDown();
    }
    void ClickClient(int x, int y)
    {
        MovePointer(kLeft + x, kTop + y);
        StepAFew();
        Click();
    }

    FN2DScene scene;
    FN2DStage stage { kLeft, kTop, 300, 360, "controls" };
    FNPushButton push { 20, 20, 100, 24, "保存" };
    FNOnOffButton toggle { 140, 20, 100, 24, "ペン" };
    FNTextBox box { 20, 70, 200, 22, "" };
    FNDropDownList list;
    std::unique_ptr<FNEventConnector> clicks;
    EventRecorder pushed;
};

TEST_F(ControlsOnX11, AZeroDurationClickPressesEachButtonOnce)
{
    ClickClient(70, 32);
    ASSERT_TRUE(StepUntil([&] { return pushed.Count(FNEvent::LeftUp) == 1; }));
    StepAFew();
    EXPECT_EQ(pushed.Count(FNEvent::LeftUp), 1u);
    EXPECT_EQ(push.Shown(), FNPushButton::Hover) << "released over it";
    ClickClient(190, 32);
    // Pressed, then released: the on face.
    ASSERT_TRUE(StepUntil([&] { return toggle.on && toggle.Shown() == FNOnOffButton::On; }));
    Pause(400);
    Click();
    ASSERT_TRUE(StepUntil([&] { return !toggle.on && toggle.Shown() == FNOnOffButton::Normal; }));
}

TEST_F(ControlsOnX11, TheDropDownOpensAndARowIsChosen)
{
    ClickClient(40, 330);
    ASSERT_TRUE(StepUntil([&] { return list.IsOpen(); }));
    // The second row of the list under the box: client y 340 + 1 + 20 + 10.
    ClickClient(40, 371);
    ASSERT_TRUE(StepUntil([&] { return !list.IsOpen(); }));
    EXPECT_EQ(list.GetText(), "Smart合成");
}

TEST_F(ControlsOnX11, JapaneseTextIsTypedIntoTheTextBox)
{
    ClickClient(60, 80);
    ASSERT_TRUE(StepUntil([&] { return box.IsFocused(); }));
    Type("日本語です");
    ASSERT_TRUE(StepUntil([&] { return box.GetText() == "日本語です"; })) << box.GetText().c_str();
    Chord({ FNKeyBackspace }); // takes the whole last letter
    ASSERT_TRUE(StepUntil([&] { return box.GetText() == "日本語で"; })) << box.GetText().c_str();
}

} // namespace
