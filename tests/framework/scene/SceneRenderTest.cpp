// Scene rendering: background, depth order, clipping ancestors, and the dirty
// region (only it changes in the back buffer).

#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"
#include "framework/stage/FNStageBase.h"
#include "imaging/FNImage.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint32_t Background = 0xFF204060;

void paint(FNImage& image, uint32_t colour)
{
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.row(y)[x] = colour;
}

struct Render : ::testing::Test {
    FNStageBase stage;
    FNImage buffer { 40, 30 };
    FN2DScene scene;
    FNImage red { 6, 4 };
    FNImage green { 6, 4 };

    void SetUp() override
    {
        paint(red, 0xFFFF0000);
        paint(green, 0xFF00FF00);
        scene.SetBackground(0x20, 0x40, 0x60, 0xFF);
        scene.Attach(&buffer, &stage.dirty, &stage);
    }

    uint32_t at(int x, int y) const { return buffer.row(y)[x]; }
    std::vector<uint32_t> pixels() const { return std::vector<uint32_t>(buffer.row(0), buffer.row(0) + 40 * 30); }
};

TEST_F(Render, DrawsItemsOverTheBackgroundAndEveryOtherPixelIsBackground)
{
    FN2DItem item(6, 4, 2, 3, 0);
    item.SetPicture(&red);
    scene.AddItem(&item);
    scene.Render();
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool inside = x >= 2 && x < 8 && y >= 3 && y < 7;
            ASSERT_EQ(at(x, y), inside ? 0xFEFF0000u : Background) << x << "," << y;
        }
    }
    EXPECT_EQ(stage.dirty, (FNRect { 0, 0, 40, 30 }));
    EXPECT_TRUE(scene.dirty.isEmpty());
}

TEST_F(Render, EqualDepthsDrawInInsertionOrderAndHigherDepthsLater)
{
    FN2DItem top(6, 4, 0, 0, 5), first(6, 4, 0, 0, 1), second(6, 4, 0, 0, 1);
    first.SetPicture(&red);
    second.SetPicture(&green);
    top.SetPicture(&red);
    scene.AddItem(&first);
    scene.AddItem(&second);
    scene.Render();
    EXPECT_EQ(at(1, 1), 0xFE00FF00u);
    top.MoveTo(3, 0);
    scene.AddItem(&top); // added last but drawn last because it is deepest
    scene.Render();
    EXPECT_EQ(at(4, 1), 0xFEFF0000u);
}

TEST_F(Render, HiddenAndDetachedItemsAreNotDrawn)
{
    FN2DItem item(6, 4, 0, 0, 0), hiddenChild(6, 4, 10, 0, 0);
    item.SetPicture(&red);
    hiddenChild.SetPicture(&red);
    scene.AddItem(&item);
    item.AddChild(&hiddenChild, false);
    scene.Render();
    EXPECT_EQ(at(12, 1), Background);
    item.Detach();
    scene.Render();
    EXPECT_EQ(at(1, 1), Background); // detaching redraws the area it covered
}

TEST_F(Render, ClippingParentLimitsItsChildrenEvenWhenRotated)
{
    FNImage big(30, 30);
    paint(big, 0xFF00FF00);
    FN2DItem parent(10, 8, 12, 10, 0), child(30, 30, -10, -10, 0);
    parent.clipChildren = true;
    child.SetPicture(&big);
    child.sampling = FNSamplingBilinear;
    scene.AddItem(&parent);
    parent.AddChild(&child);
    for (double angle : { 0.0, 30.0, 90.0, 200.0 }) {
        parent.SetRotation(angle);
        scene.Render();
        int inside = 0;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 40; ++x) {
                if (at(x, y) == Background)
                    continue;
                double lx, ly; // the pixel's corner in the parent's coordinates
                parent.ToLocal(x, y, lx, ly);
                ASSERT_GE(lx, -0.01) << angle << ": " << x << "," << y;
                ASSERT_LT(lx, 10.01) << angle << ": " << x << "," << y;
                ASSERT_GE(ly, -0.01) << angle << ": " << x << "," << y;
                ASSERT_LT(ly, 8.01) << angle << ": " << x << "," << y;
                ++inside;
            }
        }
        EXPECT_GE(inside, 70) << angle; // about the parent's 80 pixels are drawn
        EXPECT_LE(inside, 90) << angle;
    }
}

TEST_F(Render, OnlyTheDirtyRegionChanges)
{
    FN2DItem item(6, 4, 4, 4, 0);
    item.SetPicture(&red);
    item.alpha = 128; // translucent: a second blend would show
    item.scaleX = item.scaleY = 3;
    item.sampling = FNSamplingBilinear;
    item.UpdateTransform();
    scene.AddItem(&item);
    scene.Render();
    const std::vector<uint32_t> full = pixels();

    // Scribble over the whole buffer, then let the scene repair one small area.
    paint(buffer, 0x12345678);
    stage.dirty.reset(40, 30);
    scene.MarkDirty(FNRect { 8, 6, 12, 9 });
    scene.Render();
    const FNRect repaired { 6, 4, 14, 11 }; // grown by 2 pixels
    EXPECT_EQ(stage.dirty, repaired);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool inside = x >= repaired.left && x < repaired.right && y >= repaired.top && y < repaired.bottom;
            ASSERT_EQ(at(x, y), inside ? full[y * 40 + x] : 0x12345678u) << x << "," << y;
        }
    }
}

TEST_F(Render, DetachedScenesRenderNothingAndEmptyScenesShowTheBackground)
{
    FN2DItem item(6, 4, 0, 0, 0);
    item.SetPicture(&red);
    paint(buffer, 0x12345678);
    scene.Render(); // no items: the dirty region still gets the background
    EXPECT_EQ(at(0, 0), Background);
    paint(buffer, 0x12345678);
    scene.AddItem(&item);
    scene.Detach();
    FN2DScene::RenderAll();
    EXPECT_EQ(at(0, 0), 0x12345678u);
    scene.Attach(&buffer, &stage.dirty, &stage);
    FN2DScene::RenderAll();
    EXPECT_EQ(at(0, 0), 0xFEFF0000u);
}

TEST_F(Render, ParentOpacityMultipliesIntoChildren)
{
    FN2DItem parent(6, 4, 0, 0, 0), child(6, 4, 0, 0, 0);
    child.SetPicture(&red);
    parent.alpha = 128;
    child.alpha = 128; // o = 64, a = (255 * 64) >> 8 = 63
    scene.AddItem(&parent);
    parent.AddChild(&child);
    scene.Render();
    // red 0x20 + ((255 - 0x20) * 63 >> 8) = 86, green 0x40 + ((0 - 0x40) * 63 >> 8) = 48,
    // blue 0x60 + ((0 - 0x60) * 63 >> 8) = 72
    EXPECT_EQ(at(1, 1), 0xFF563048u);
}

} // namespace
