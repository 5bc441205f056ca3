#include "app/pictures/LineWalk.h"
#include "tests/app/TestPictures.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

std::vector<std::pair<int, int>> walk(int x0, int y0, int x1, int y1)
{
    std::vector<std::pair<int, int>> points;
    q_LineWalk w(x0, y0, x1, y1);
    int x, y;
    while (w.next(x, y))
        points.emplace_back(x, y);
    return points;
}

using Points = std::vector<std::pair<int, int>>;

} // namespace

TEST(LineWalk, ShallowLineRoundsDownForwardAndUpBackward)
{
    EXPECT_EQ(walk(0, 0, 3, 1), (Points { { 1, 0 }, { 2, 0 }, { 3, 1 } }));
    EXPECT_EQ(walk(3, 1, 0, 0), (Points { { 2, 0 }, { 1, 0 }, { 0, 0 } }));
}

TEST(LineWalk, SteepLineStepsAlongY)
{
    EXPECT_EQ(walk(0, 0, 1, 3), (Points { { 0, 1 }, { 0, 2 }, { 1, 3 } }));
    EXPECT_EQ(walk(1, 3, 0, 0), (Points { { 0, 2 }, { 0, 1 }, { 0, 0 } }));
}

TEST(LineWalk, EqualPointsYieldNothing)
{
    EXPECT_TRUE(walk(5, -2, 5, -2).empty());
}

TEST(LineWalk, DiagonalAndAxisLines)
{
    EXPECT_EQ(walk(0, 0, -2, -2), (Points { { -1, -1 }, { -2, -2 } }));
    EXPECT_EQ(walk(0, 0, 0, 2), (Points { { 0, 1 }, { 0, 2 } }));
    EXPECT_EQ(walk(0, 0, -2, 0), (Points { { -1, 0 }, { -2, 0 } }));
}

TEST(LineWalk, EveryWalkEndsOnItsEndPointWithOneStepPerMajorPixel)
{
    TestRandom random(7);
    for (int n = 0; n < 500; ++n) {
        const int x0 = random.range(-50, 50), y0 = random.range(-50, 50);
        const int x1 = random.range(-50, 50), y1 = random.range(-50, 50);
        const Points points = walk(x0, y0, x1, y1);
        ASSERT_EQ(points.size(), static_cast<size_t>(std::max(std::abs(x1 - x0), std::abs(y1 - y0))));
        if (points.empty())
            continue;
        EXPECT_EQ(points.back(), std::make_pair(x1, y1));
        int px = x0, py = y0;
        for (const auto& [x, y] : points) {
            EXPECT_LE(std::abs(x - px), 1);
            EXPECT_LE(std::abs(y - py), 1);
            px = x, py = y;
        }
    }
}
