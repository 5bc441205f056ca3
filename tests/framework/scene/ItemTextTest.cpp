// Item text images: made from the text and style, lighter while disabled,
// drawn over the picture and hit-tested by their coverage.

#include "framework/scene/FN2DItem.h"
#include "framework/scene/FN2DScene.h"
#include "imaging/FNImage.h"
#include "imaging/text/FNStringStyle.h"
#include "imaging/text/TextLayout.h"

#include <gtest/gtest.h>

namespace {

const FNString Label = "Fern 42";

// The first pixel of the text image with full coverage, and one with none.
bool findPixels(const FNImage& image, int& inkX, int& inkY, int& clearX, int& clearY)
{
    inkX = clearX = -1;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (inkX < 0 && image.getAlpha(x, y) == 255) {
                inkX = x;
                inkY = y;
            }
            if (clearX < 0 && image.getAlpha(x, y) == 0) {
                clearX = x;
                clearY = y;
            }
        }
    }
    return inkX >= 0 && clearX >= 0;
}

TEST(ItemText, SetTextMakesAnImageOfTheMeasuredSizeAndEmptyTextNone)
{
    FN2DItem item(80, 20, 0, 0, 0);
    item.SetText(Label);
    ASSERT_NE(item.textImage, nullptr);
    const FNTextSize size = measureString(Label, FNDefaultStringStyle().font.get());
    EXPECT_EQ(item.textImage->width, size.width + 1);
    EXPECT_EQ(item.textImage->height, size.height);
    item.SetText("");
    EXPECT_EQ(item.textImage, nullptr);
}

TEST(ItemText, DisabledItemsShowTheirTextHalfwayToWhite)
{
    FNStringStyle style;
    style.setColor(10, 20, 30);
    FN2DItem parent(100, 30, 0, 0, 0), item(80, 20, 0, 0, 0);
    parent.AddChild(&item);
    item.SetTextStyle(&style);
    item.SetText(Label);
    int r, g, b;
    item.textImage->getColor(0, 0, r, g, b);
    EXPECT_EQ(r, 10);
    EXPECT_EQ(g, 20);
    EXPECT_EQ(b, 30);
    parent.SetEnabled(false); // reaches the child, which re-renders its text
    item.textImage->getColor(0, 0, r, g, b);
    EXPECT_EQ(r, 132);
    EXPECT_EQ(g, 137);
    EXPECT_EQ(b, 142);
    item.Detach();
    EXPECT_EQ(item.textImage, nullptr);
    EXPECT_TRUE(item.text.empty());
    EXPECT_EQ(item.textStyle, nullptr);
}

TEST(ItemText, TextPixelsAreHitAndDrawn)
{
    FNImage buffer(120, 40);
    FN2DScene scene;
    scene.SetBackground(255, 255, 255, 255);
    scene.Attach(&buffer, nullptr);
    FN2DItem item(100, 30, 10, 5, 0);
    item.SetText(Label);
    item.textImageX = 2;
    item.textImageY = 3;
    scene.AddItem(&item);
    int inkX = 0, inkY = 0, clearX = 0, clearY = 0;
    ASSERT_TRUE(findPixels(*item.textImage, inkX, inkY, clearX, clearY));
    const double screenInkX = 10 + 2 + inkX + 0.5, screenInkY = 5 + 3 + inkY + 0.5;
    auto hits = scene.HitTest(screenInkX, screenInkY);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits.front(), &item);
    EXPECT_TRUE(scene.HitTest(10 + 2 + clearX + 0.5, 5 + 3 + clearY + 0.5).empty());

    scene.Render();
    int r, g, b;
    buffer.getColor(int(screenInkX), int(screenInkY), r, g, b);
    const FNStringStyle& style = FNDefaultStringStyle();
    EXPECT_EQ(r, style.red);
    EXPECT_EQ(g, style.green);
    EXPECT_EQ(b, style.blue);
    buffer.getColor(10 + 2 + clearX, 5 + 3 + clearY, r, g, b);
    EXPECT_EQ(r, 255);
}

} // namespace
