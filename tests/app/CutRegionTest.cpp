#include "app/pictures/CutRegion.h"
#include "tests/app/TestPictures.h"

#include <gtest/gtest.h>
#include <set>
#include <utility>

namespace {

using Offsets = std::set<std::pair<int, int>>;

// Offsets (dx, dy) from (cx, cy) that hold `value` in a region that held
// `background` everywhere before.
Offsets stamped(const FNImage& region, int cx, int cy, uint32_t value)
{
    Offsets offsets;
    for (int y = 0; y < region.height; ++y)
        for (int x = 0; x < region.width; ++x)
            if (pixelAt(region, x, y) == value)
                offsets.emplace(x - cx, y - cy);
    return offsets;
}

} // namespace

TEST(CutPen, PenSizeOneAndTwo)
{
    auto region = makePicture(9, 9, q_kClearValue);
    q_PenDisc(*region, 1, 4, 4);
    EXPECT_EQ(stamped(*region, 4, 4, q_kMarkValue), (Offsets { { 0, 0 } }));
    region = makePicture(9, 9, q_kClearValue);
    q_PenDisc(*region, 2, 4, 4);
    EXPECT_EQ(stamped(*region, 4, 4, q_kMarkValue), (Offsets { { -1, 0 }, { 0, -1 }, { 0, 0 } }));
}

TEST(CutPen, EraserSizeTwoIsAPlus)
{
    auto region = makePicture(9, 9, q_kMarkValue);
    q_EraserDisc(*region, 2, 4, 4);
    EXPECT_EQ(stamped(*region, 4, 4, q_kClearValue), (Offsets { { -1, 0 }, { 1, 0 }, { 0, -1 }, { 0, 1 }, { 0, 0 } }));
}

TEST(CutPen, OddSizesGiveTheSameDiscForPenAndEraser)
{
    for (int size : { 1, 3, 5, 9, 15 }) {
        auto pen = makePicture(40, 40, q_kClearValue), eraser = makePicture(40, 40, q_kMarkValue);
        q_PenDisc(*pen, size, 20, 20);
        q_EraserDisc(*eraser, size, 20, 20);
        const Offsets a = stamped(*pen, 20, 20, q_kMarkValue), b = stamped(*eraser, 20, 20, q_kClearValue);
        EXPECT_EQ(a, b) << "size " << size;
        const int r = size / 2;
        for (const auto& [dx, dy] : a)
            EXPECT_LE(dx * dx + dy * dy, r * r);
    }
}

TEST(CutPen, EvenPenLacksLastRowAndColumnWhileEraserIsSymmetric)
{
    auto pen = makePicture(20, 20, q_kClearValue), eraser = makePicture(20, 20, q_kMarkValue);
    q_PenDisc(*pen, 6, 10, 10);
    q_EraserDisc(*eraser, 6, 10, 10);
    const Offsets p = stamped(*pen, 10, 10, q_kMarkValue), e = stamped(*eraser, 10, 10, q_kClearValue);
    EXPECT_TRUE(p.count({ -3, 0 }) && !p.count({ 3, 0 }) && !p.count({ 0, 3 }));
    for (const auto& [dx, dy] : e)
        EXPECT_TRUE(e.count({ -dx, -dy }));
    EXPECT_TRUE(e.count({ 3, 0 }) && e.count({ 0, 3 }));
}

TEST(CutPen, DiscsAreClippedAtTheRegionEdges)
{
    auto region = makePicture(3, 3, q_kClearValue);
    q_PenDisc(*region, 9, 0, 0); // reaches far outside on two sides
    EXPECT_EQ(stamped(*region, 0, 0, q_kMarkValue).size(), 9u);
    q_EraserDisc(*region, 40, -30, -30); // wholly outside
    EXPECT_EQ(stamped(*region, 0, 0, q_kMarkValue).size(), 9u);
}

TEST(CutPen, LinesStampFromTheFirstStepAndNotTheStart)
{
    auto region = makePicture(10, 3, q_kClearValue);
    q_PenLine(*region, 1, 2, 1, 6, 1);
    EXPECT_EQ(stamped(*region, 0, 0, q_kMarkValue), (Offsets { { 3, 1 }, { 4, 1 }, { 5, 1 }, { 6, 1 } }));
    q_PenLine(*region, 5, 8, 1, 8, 1);
    EXPECT_EQ(stamped(*region, 0, 0, q_kMarkValue).size(), 4u) << "equal ends stamp nothing";
    q_EraserLine(*region, 1, 7, 1, 4, 1);
    EXPECT_EQ(stamped(*region, 0, 0, q_kMarkValue), (Offsets { { 3, 1 } }));
}
