#include "app/pictures/CanvasLimit.h"
#include "imaging/FNImage.h"

#include <gtest/gtest.h>

namespace {

std::pair<int, int> limitedSize(int w, int h)
{
    int nw, nh;
    q_LimitedCanvasSize(w, h, nw, nh);
    return { nw, nh };
}

} // namespace

TEST(CanvasLimit, LongerSideBecomes1200)
{
    EXPECT_EQ(limitedSize(2400, 1000), std::make_pair(1200, 500));
    EXPECT_EQ(limitedSize(1201, 1201), std::make_pair(1200, 1200));
    EXPECT_EQ(limitedSize(3000, 1001), std::make_pair(1200, 400)); // trunc(400.4)
    EXPECT_EQ(limitedSize(900, 1300), std::make_pair(830, 1200)); // trunc(830.77)
}

TEST(CanvasLimit, SomeSizesLandOn1199)
{
    // 2191 * (1200.0 / 2191) falls just below 1200 in doubles.
    EXPECT_EQ(limitedSize(2191, 10), std::make_pair(1199, 5));
    EXPECT_EQ(limitedSize(10, 2191), std::make_pair(5, 1199));
}

TEST(CanvasLimit, SmallEnoughCanvasesAreUntouched)
{
    EXPECT_EQ(limitedSize(1200, 1200), std::make_pair(1200, 1200));
    FNImage canvas(1200, 1200);
    canvas.setColor(3, 4, 1, 2, 3);
    EXPECT_FALSE(q_LimitCanvasSize(canvas));
    int r, g, b;
    canvas.getColor(3, 4, r, g, b);
    EXPECT_EQ(r + g + b, 6);
}

TEST(CanvasLimit, AnExtremeStripKeepsOnePixel)
{
    EXPECT_EQ(limitedSize(5000, 1), std::make_pair(1200, 1));
}

TEST(CanvasLimit, OpenedCanvasesGetExactlyTheComputedSize)
{
    struct Case {
        int width, height, expectedWidth, expectedHeight;
    } const cases[]
        = { { 2400, 1000, 1200, 500 }, { 1201, 1201, 1200, 1200 }, { 3000, 1001, 1200, 400 }, { 2191, 40, 1199, 21 } };
    for (const Case& c : cases) {
        FNImage canvas(c.width, c.height);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                canvas.row(y)[x] = 0xFF000000u | static_cast<uint32_t>((x * 7 + y * 13) & 0xFF);
        EXPECT_TRUE(q_LimitCanvasSize(canvas));
        EXPECT_EQ(canvas.width, c.expectedWidth) << c.width << " x " << c.height;
        EXPECT_EQ(canvas.height, c.expectedHeight) << c.width << " x " << c.height;
        // The pixels are transform's resampling, cut from the top-left.
        FNImage reference(c.width, c.height);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                reference.row(y)[x] = 0xFF000000u | static_cast<uint32_t>((x * 7 + y * 13) & 0xFF);
        reference.transform(c.expectedWidth, c.expectedHeight, 0);
        for (int y : { 0, c.expectedHeight / 2, c.expectedHeight - 1 })
            for (int x : { 0, c.expectedWidth / 2, c.expectedWidth - 1 })
                EXPECT_EQ(canvas.row(y)[x], reference.row(y)[x]) << x << ", " << y;
    }
}
