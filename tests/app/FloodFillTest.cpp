#include "app/pictures/FloodFill.h"
#include "app/pictures/CutRegion.h"
#include "tests/app/TestPictures.h"

#include <gtest/gtest.h>

namespace {

int countOf(const FNImage& region, uint32_t value)
{
    int n = 0;
    for (int y = 0; y < region.height; ++y)
        for (int x = 0; x < region.width; ++x)
            n += pixelAt(region, x, y) == value;
    return n;
}

// A 12 x 12 region with a marked square outline from (2, 2) to (8, 8).
std::unique_ptr<FNImage> ringRegion()
{
    auto region = makePicture(12, 12, q_kClearValue);
    for (int k = 2; k <= 8; ++k) {
        region->row(2)[k] = region->row(8)[k] = q_kMarkValue;
        region->row(k)[2] = region->row(k)[8] = q_kMarkValue;
    }
    return region;
}

} // namespace

TEST(FloodFill, FillsTheEnclosedAreaOnly)
{
    auto region = ringRegion();
    q_FloodFill(*region, 5, 5, q_kMarkValue);
    EXPECT_EQ(countOf(*region, q_kMarkValue), 7 * 7);
    EXPECT_EQ(pixelAt(*region, 0, 0), q_kClearValue);
    EXPECT_EQ(pixelAt(*region, 9, 9), q_kClearValue);
}

TEST(FloodFill, FillsTheOutsideAroundTheMark)
{
    auto region = ringRegion();
    q_FloodFill(*region, 0, 11, q_kMarkValue);
    EXPECT_EQ(countOf(*region, q_kMarkValue), 144 - 5 * 5);
    EXPECT_EQ(pixelAt(*region, 5, 5), q_kClearValue);
}

TEST(FloodFill, SeedOnAMarkedPixelChangesNothing)
{
    auto region = ringRegion();
    FNImage before;
    before.copyFrom(region.get());
    q_FloodFill(*region, 2, 5, q_kMarkValue);
    EXPECT_TRUE(samePixels(*region, before));
}

TEST(FloodFill, SeedOutsideTheRegionFillsNothing)
{
    auto region = ringRegion();
    FNImage before;
    before.copyFrom(region.get());
    q_FloodFill(*region, -1, 5, q_kMarkValue);
    q_FloodFill(*region, 5, 12, q_kMarkValue);
    EXPECT_TRUE(samePixels(*region, before));
}

TEST(FloodFill, ColoursWithinTenOfTheSeedAreInRangeAndAlphaIsIgnored)
{
    auto region = makePicture(5, 1, 0x00808080);
    region->row(0)[1] = 0xFF8A7676; // +10 / -10 from 0x80, different alpha: in range
    region->row(0)[2] = 0x00808B80; // green +11: a wall
    q_FloodFill(*region, 0, 0, q_kMarkValue);
    EXPECT_EQ(pixelAt(*region, 0, 0), q_kMarkValue);
    EXPECT_EQ(pixelAt(*region, 1, 0), q_kMarkValue);
    EXPECT_EQ(pixelAt(*region, 2, 0), 0x00808B80u);
    EXPECT_EQ(pixelAt(*region, 3, 0), 0x00808080u);
}

TEST(FloodFill, WallsWithAlternatingGaps)
{
    // The benchmark's maze, scaled down: 64 x 64, walls 2 rows thick at rows
    // 8k with a 4-pixel gap at the right (k odd) or left (k even) end.
    auto region = makePicture(64, 64, q_kClearValue);
    int wallPixels = 0;
    for (int k = 1; k <= 7; ++k) {
        for (int y = 8 * k; y < 8 * k + 2; ++y) {
            const int gapFrom = k % 2 ? 60 : 0;
            for (int x = 0; x < 64; ++x) {
                if (x < gapFrom || x >= gapFrom + 4) {
                    region->row(y)[x] = q_kMarkValue;
                    ++wallPixels;
                }
            }
        }
    }
    // A sealed pocket in the last corridor stays clear.
    for (int k = 58; k <= 62; ++k)
        region->row(58)[k] = region->row(62)[k] = region->row(k)[58] = region->row(k)[62] = q_kMarkValue;
    q_FloodFill(*region, 0, 0, q_kMarkValue);
    EXPECT_EQ(countOf(*region, q_kMarkValue), 64 * 64 - 3 * 3);
    EXPECT_EQ(pixelAt(*region, 60, 60), q_kClearValue);
    EXPECT_EQ(wallPixels, 7 * 2 * 60);
}

namespace {

// The fill the spans must agree with: the breadth-first walk from the seed
// over in-range pixels, then every pixel it visited set to the value.
void breadthFirstFill(FNImage& region, int seedX, int seedY, uint32_t value)
{
    const uint8_t* seed = region.pixels + (static_cast<size_t>(seedY) * region.width + seedX) * 4;
    const int c0 = seed[0], c1 = seed[1], c2 = seed[2];
    std::vector<uint8_t> visited(static_cast<size_t>(region.width) * region.height, 0);
    std::vector<uint32_t> queue;
    q_VisitConnected(region.width, region.height, seedX, seedY, visited, queue, [&](int x, int y) {
        const uint8_t* p = region.pixels + (static_cast<size_t>(y) * region.width + x) * 4;
        return std::abs(p[0] - c0) <= 10 && std::abs(p[1] - c1) <= 10 && std::abs(p[2] - c2) <= 10;
    });
    for (size_t i = 0; i < visited.size(); ++i) {
        if (visited[i])
            region.row(0)[i] = value;
    }
}

// Mark and clear in random clusters (dense enough for winding areas that
// turn back under themselves), with some pixels nudged by up to 12 so that
// colours sit on both sides of the +-10 edge.
std::unique_ptr<FNImage> randomRegion(TestRandom& random)
{
    const int w = random.range(1, 70), h = random.range(1, 70), density = random.range(20, 60);
    auto region = makePicture(w, h, q_kClearValue);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint32_t word = random.range(0, 99) < density ? q_kMarkValue : q_kClearValue;
            if (random.range(0, 9) == 0)
                word ^= static_cast<uint32_t>(random.range(0, 12)) << (8 * random.range(0, 2));
            region->row(y)[x] = word;
        }
    }
    return region;
}

} // namespace

TEST(FloodFill, SpansReachThePixelsOfTheBreadthFirstWalk)
{
    TestRandom random(2024);
    for (int n = 0; n < 800; ++n) {
        auto region = randomRegion(random);
        const int x = random.range(0, region->width - 1), y = random.range(0, region->height - 1);
        // Out of the seed's range (mark, clear or any word) or inside it: the
        // seed's own colour with another alpha.
        const uint32_t values[] = { q_kMarkValue, q_kClearValue, static_cast<uint32_t>(random.next()),
            (pixelAt(*region, x, y) & 0x00FFFFFF) | 0x7F000000 };
        const uint32_t value = values[random.range(0, 3)];
        FNImage expected;
        expected.copyFrom(region.get());
        breadthFirstFill(expected, x, y, value);
        q_FloodFill(*region, x, y, value);
        ASSERT_TRUE(samePixels(*region, expected)) << "case " << n;
    }
}
