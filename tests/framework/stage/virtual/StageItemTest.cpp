#include "framework/core/FNBackgroundColor.h"
#include "framework/core/FNRegion.h"
#include "framework/stage/FN2DStage.h"
#include "framework/stage/FNDisplay.h"
#include "framework/stage/FNStageItem.h"
#include "tests/framework/stage/virtual/StageFixture.h"

#include <gtest/gtest.h>

using namespace stagetest;

namespace {

constexpr uint32_t kBackground = kFNBackgroundColor & 0xFFFFFF;

// How many pixels of the picture have exactly this colour.
int countColour(const FNImage& picture, uint32_t rgb)
{
    int count = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x)
            count += pixelAt(picture, x, y) == rgb;
    }
    return count;
}

class StageItemTest : public StageTest {
protected:
    void SetUp() override
    {
        StageTest::SetUp();
        host = std::make_unique<FN2DStage>(0, 0, 300, 200, "host");
        host->Open(true, nullptr, engine.get());
    }
    void TearDown() override
    {
        host.reset();
        StageTest::TearDown();
    }
    // What the window shows after the next step.
    void Shown(const FNStageBase& stage, FNImage& shown)
    {
        Step();
        ASSERT_TRUE(V::ReadPixels(stage.window, shown));
    }

    std::unique_ptr<FN2DStage> host;
};

} // namespace

TEST_F(StageItemTest, OpensAsAChildWindowShowingTheBackgroundColour)
{
    FNStageItem item(20, 30);
    EXPECT_EQ(item.className, "FNStageItem");
    ASSERT_TRUE(host->AddChildStage(&item));
    V::WindowInfo info = V::Window(item.window);
    EXPECT_TRUE(info.child);
    EXPECT_EQ(info.windowClass, FNWindowClass::Toumei);
    EXPECT_EQ(info.width, 200);
    EXPECT_EQ(info.height, 200);
    ASSERT_NE(item.Display(), nullptr);
    EXPECT_EQ(item.Display()->className, "FNDisplay");

    FNImage shown;
    Shown(item, shown);
    EXPECT_EQ(countColour(shown, kBackground), 200 * 200);

    host->RemoveChildStage(&item);
    EXPECT_EQ(item.Display(), nullptr) << "the display goes with the window";
}

TEST_F(StageItemTest, ShowsTheBackgroundPictureFromItsOffset)
{
    // Picture pixel (x, y) has red x and green y.
    FNImage picture(40, 30);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x)
            picture.setColor(x, y, x, y, 7, 255);
    }
    FNStageItem item(0, 0, 16, 12);
    ASSERT_TRUE(host->AddChildStage(&item));

    item.SetBackground(&picture, 30, 25);
    FNImage shown;
    Shown(item, shown);
    EXPECT_EQ(pixelAt(shown, 0, 0), 0x1E1907u);
    EXPECT_EQ(pixelAt(shown, 9, 4), 0x271D07u);
    EXPECT_EQ(pixelAt(shown, 10, 4), kBackground) << "beyond the picture's right edge";
    EXPECT_EQ(pixelAt(shown, 9, 5), kBackground) << "beyond its bottom edge";

    // A negative offset puts the picture's corner inside the display.
    item.SetBackground(&picture, -3, -2);
    Shown(item, shown);
    EXPECT_EQ(pixelAt(shown, 2, 5), kBackground);
    EXPECT_EQ(pixelAt(shown, 3, 2), 0x000007u);
    EXPECT_EQ(pixelAt(shown, 15, 11), 0x0C0907u);

    // The picture was copied: the caller's picture may change or go.
    picture.fill(255, 255, 255, 255);
    item.Redraw();
    Shown(item, shown);
    EXPECT_EQ(pixelAt(shown, 3, 2), 0x000007u);

    item.SetBackground(nullptr);
    Shown(item, shown);
    EXPECT_EQ(countColour(shown, kBackground), 16 * 12);
}

TEST_F(StageItemTest, DisabledTextIsDrawnHalfwayToWhite)
{
    FNStageItem item(0, 0, 120, 40);
    item.style.setSize(24);
    item.style.setColor(0, 40, 200);
    ASSERT_TRUE(host->AddChildStage(&item));
    item.SetText("■■");
    // Fully covered text pixels take the style's colour exactly.
    FNImage shown;
    Shown(item, shown);
    EXPECT_GT(countColour(shown, 0x0028C8), 20);

    item.SetEnabled(false);
    Shown(item, shown);
    EXPECT_EQ(countColour(shown, 0x0028C8), 0);
    EXPECT_GT(countColour(shown, 0x7F93E3), 20) << "(c + 255) / 2 per component";

    // Disabled through its parent: the item's own flag is still set.
    item.SetEnabled(true);
    host->SetEnabled(false);
    item.Redraw();
    Shown(item, shown);
    EXPECT_EQ(countColour(shown, 0x0028C8), 0);
    host->SetEnabled(true);
    host->RemoveChildStage(&item);
}

TEST_F(StageItemTest, TextFollowsTheStyleAlignment)
{
    FNStageItem item(0, 0, 100, 40);
    item.style.setSize(16);
    item.style.setColor(0, 0, 0);
    ASSERT_TRUE(host->AddChildStage(&item));
    item.SetText("■");
    auto inkColumns = [&](const FNImage& shown, int& first, int& last) {
        first = shown.width;
        last = -1;
        for (int y = 0; y < shown.height; ++y) {
            for (int x = 0; x < shown.width; ++x) {
                if (pixelAt(shown, x, y) != kBackground) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
            }
        }
    };
    int first = 0, last = 0;
    FNImage shown;
    Shown(item, shown);
    inkColumns(shown, first, last);
    EXPECT_LT(first, 5) << "left aligned by default";

    item.style.setFormat(FNTextRight);
    item.Redraw();
    Shown(item, shown);
    inkColumns(shown, first, last);
    EXPECT_GT(last, 94);

    item.style.setFormat(FNTextCenter);
    item.Redraw();
    Shown(item, shown);
    inkColumns(shown, first, last);
    EXPECT_NEAR((first + last) / 2.0, 49.5, 3.0);
    host->RemoveChildStage(&item);
}

TEST_F(StageItemTest, SizesBelowOneBecomeOneAndTheDisplayFollows)
{
    FNStageItem item(5, 5, 0, -4);
    EXPECT_EQ(item.width, 1);
    EXPECT_EQ(item.height, 1);
    ASSERT_TRUE(host->AddChildStage(&item));
    EXPECT_FALSE(item.SetRect(5, 5, -1, 0)) << "still 1 x 1: nothing changes";

    EXPECT_TRUE(item.SetRect(5, 5, 30, 20));
    engine->Synchronise();
    ASSERT_NE(item.Display(), nullptr);
    EXPECT_EQ(item.Display()->image.width, 30);
    EXPECT_EQ(item.Display()->image.height, 20);
    FNImage shown;
    Shown(item, shown);
    EXPECT_EQ(shown.width, 30);
    EXPECT_EQ(countColour(shown, kBackground), 30 * 20);
    host->RemoveChildStage(&item);
}

TEST_F(StageTest, ARegionShapesTheWindowAndAResizeDropsIt)
{
    FN2DStage stage(100, 100, 60, 40, "shaped");
    stage.SetRegion(new FNRegion(0, 0, 30, 40));
    stage.Open(true, nullptr, engine.get());
    ASSERT_EQ(V::Window(stage.window).shape.size(), 1u);
    EXPECT_EQ(V::Window(stage.window).shape[0].right, 30);

    // The pointer passes through the part outside the shape.
    FNPointerState pointer;
    V::SetPointer(110, 110);
    ASSERT_TRUE(engine->Platform()->QueryPointer(pointer));
    EXPECT_EQ(pointer.window, stage.window);
    V::SetPointer(140, 110);
    ASSERT_TRUE(engine->Platform()->QueryPointer(pointer));
    EXPECT_EQ(pointer.window, FNNoWindow);

    EXPECT_TRUE(stage.SetRect(100, 100, 80, 40));
    EXPECT_EQ(stage.region, nullptr) << "made for the old size";
    EXPECT_TRUE(V::Window(stage.window).shape.empty());
    ASSERT_TRUE(engine->Platform()->QueryPointer(pointer));
    EXPECT_EQ(pointer.window, stage.window);

    // A move keeps it.
    stage.SetRegion(new FNRegion(0, 0, 10, 10));
    EXPECT_TRUE(stage.SetRect(120, 100, 80, 40));
    EXPECT_NE(stage.region, nullptr);
    EXPECT_EQ(V::Window(stage.window).shape.size(), 1u);
}
