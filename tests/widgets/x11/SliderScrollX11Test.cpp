// Sliders and scroll bars on the X display in DISPLAY (Xvfb in CI), used as
// a person would: the stage harness plays the user with xdotool through
// XTEST, and the program's own engine samples the display. With
// TESSERINE_SCREENSHOTS set to a folder, each test leaves a screenshot of the
// whole screen there (ImageMagick's import).

#include "framework/scene/FN2DScene.h"
#include "framework/stage/FN2DStage.h"
#include "tests/framework/stage/shared/StageHarness.h"
#include "widgets/controls/FNFloatScroll.h"
#include "widgets/controls/FNSlider.h"
#include "widgets/controls/FNVScroll.h"
#include "widgets/theme/FNTheme.h"

#include <cstdlib>
#include <string>

namespace {

// A 320 x 160 stage at screen (200, 200) holding a slider, both float bars
// and a list bar.
class WidgetsOnX11 : public StageHarness {
protected:
    static constexpr int kLeft = 200, kTop = 200;

    void SetUp() override
    {
        StageHarness::SetUp();
        if (HasFatalFailure())
            return;
        const FNRGB bg = FNThemeRGB(FNThemeKey::Background);
        scene.SetBackground(bg.red, bg.green, bg.blue, 255);
        stage.SetScene(&scene);
        stage.Open(true, nullptr, engine.get());
        ASSERT_TRUE(stage.windowCreated);
        slider.maximum = 39;
        slider.PlaceIn(&scene);
        slider.SetValue(0);
        horizontal.SetRect(10, 100, 300, 16);
        horizontal.PlaceIn(&scene);
        horizontal.SetRange(0, 1000);
        vertical.SetRect(250, 10, 16, 80);
        vertical.PlaceIn(&scene);
        vertical.SetRange(0, 50);
        list.PlaceIn(&scene);
        list.SetRange(30, 10);
        ASSERT_TRUE(Focus(stage, kLeft + 160, kTop + 150));
    }
    void TearDown() override
    {
        if (const char* folder = std::getenv("TESSERINE_SCREENSHOTS")) {
            const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
            std::system(("import -window root " + std::string(folder) + "/" + name + ".png").c_str());
        }
        stage.Close();
        StageHarness::TearDown();
    }
    void MoveTo(int clientX, int clientY)
    {
        MovePointer(kLeft + clientX, kTop + clientY);
        StepAFew();
    }

    FN2DScene scene;
    FN2DStage stage { kLeft, kTop, 320, 160, "sliders and scroll bars" };
    FNSlider slider { 30, 145, 20 }; // client (25, 30) to (170, 50): travel 133
    FNHFloatScroll horizontal;
    FNVFloatScroll vertical;
    FNVScroll list { 290, 10, 16, 80 };
};

TEST_F(WidgetsOnX11, DraggingTheSliderThumbChoosesTheValueWhereItIsLetGo)
{
    MoveTo(25 + 6, 40); // the thumb's middle
    Press();
    StepAFew();
    for (int x : { 20, 45, 70 })
        MoveTo(25 + 6 + x, 40 + x / 10); // a hand wobbles a little
    Release();
    ASSERT_TRUE(StepUntil([&] { return slider.ThumbX() == 70; })) << "thumb at " << slider.ThumbX();
    EXPECT_EQ(slider.Value(), 20) << "39 * 70 / 133 = 20.5";
    MoveTo(25 + 120, 80); // released: moving on leaves it
    EXPECT_EQ(slider.Value(), 20);
}

TEST_F(WidgetsOnX11, ClicksOnTheTrackPageTheScrollBar)
{
    // Track 268 from client x 26; thumb 268 * 268 / 1268 = 56.6, so 57;
    // travel 211.
    ASSERT_EQ(horizontal.ThumbLength(), 57);
    const struct {
        int clientX, position;
    } clicks[] = {
        { 250, 57 }, // after the thumb: forward
        { 280, 114 }, { 40, 57 }, // before it: back
    };
    for (const auto& click : clicks) {
        MoveTo(click.clientX, 108);
        Click();
        ASSERT_TRUE(StepUntil([&] { return horizontal.ThumbPosition() == click.position; }))
            << "clicked at " << click.clientX << ", thumb at " << horizontal.ThumbPosition();
    }
    EXPECT_DOUBLE_EQ(horizontal.Value(), 1000.0 * 57 / 211);
}

} // namespace
