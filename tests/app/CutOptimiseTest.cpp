#include "app/pictures/CutOptimise.h"
#include "app/pictures/CutRegion.h"
#include "tests/app/TestPictures.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

bool marked(const FNImage& region, int x, int y)
{
    return q_HasMarkColour(pixelAt(region, x, y));
}

int markedCount(const FNImage& region)
{
    int n = 0;
    for (int y = 0; y < region.height; ++y)
        for (int x = 0; x < region.width; ++x)
            n += marked(region, x, y);
    return n;
}

void markRect(FNImage& region, int x0, int y0, int x1, int y1)
{
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            region.row(y)[x] = q_kMarkValue;
}

} // namespace

TEST(CutMorphology, ErodeRemovesTheEdgeOfTheMarkButNeverTheOuterRing)
{
    auto region = makePicture(10, 10, q_kMarkValue);
    region->row(5)[5] = q_kClearValue;
    q_Erode(*region);
    // Outer ring unchanged; the hole grows into a plus.
    for (int k = 0; k < 10; ++k) {
        EXPECT_TRUE(marked(*region, k, 0) && marked(*region, k, 9) && marked(*region, 0, k) && marked(*region, 9, k));
    }
    EXPECT_FALSE(marked(*region, 4, 5));
    EXPECT_FALSE(marked(*region, 5, 4));
    EXPECT_TRUE(marked(*region, 4, 4));
    EXPECT_EQ(markedCount(*region), 100 - 5);
    // Ring pixels next to an unmarked ring pixel are inner pixels and erode.
    auto edge = makePicture(6, 6, q_kMarkValue);
    edge->row(0)[3] = q_kClearValue;
    q_Erode(*edge);
    EXPECT_FALSE(marked(*edge, 3, 1));
    EXPECT_FALSE(marked(*edge, 3, 0));
}

TEST(CutMorphology, DilateGrowsTheMarkByOnePixelWithinTheRing)
{
    auto region = makePicture(9, 9, q_kClearValue);
    region->row(4)[4] = q_kMarkValue;
    q_Dilate(*region);
    EXPECT_EQ(markedCount(*region), 5);
    region = makePicture(5, 5, q_kClearValue);
    region->row(1)[1] = q_kMarkValue;
    q_Dilate(*region);
    EXPECT_FALSE(marked(*region, 0, 1)) << "the outer ring is never changed";
    EXPECT_TRUE(marked(*region, 2, 1));
    EXPECT_TRUE(marked(*region, 1, 2));
    EXPECT_EQ(pixelAt(*region, 1, 2), q_kMarkValue);
}

TEST(CutOptimise, RemovesTheBackgroundTouchingTheMarkEdgeAndKeepsTheObject)
{
    // Uniform background, an object of very different colour in the middle,
    // a generous mark around the object.
    auto part = makePicture(40, 40, 0xFF205080);
    for (int y = 15; y < 25; ++y)
        for (int x = 14; x < 26; ++x)
            part->row(y)[x] = 0xFFE0E030;
    auto region = makePicture(40, 40, q_kClearValue);
    markRect(*region, 8, 8, 31, 31);
    std::ostringstream log;
    const int boundary = q_OptimiseCutRegion(*region, *part, log);
    // The mark's edge pixels: a 24 x 24 square outline.
    EXPECT_EQ(boundary, 4 * 24 - 4);
    EXPECT_EQ(log.str(), "境界線対象色の数:92\n");
    // What is left: the object eroded twice and dilated four times, i.e.
    // grown by two pixels, within the region the background removal left.
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool inObject = x >= 14 && x < 26 && y >= 15 && y < 25;
            if (inObject) {
                EXPECT_TRUE(marked(*region, x, y)) << x << "," << y;
            }
            if (x < 12 || x > 27 || y < 13 || y > 26) {
                EXPECT_FALSE(marked(*region, x, y)) << x << "," << y;
            }
        }
    }
}

TEST(CutOptimise, OuterRingPixelsAreNeverBoundaryPixels)
{
    auto part = makePicture(12, 12, 0xFF406080);
    auto region = makePicture(12, 12, q_kMarkValue);
    std::ostringstream log;
    // Everything opaque and marked: no inner pixel has a transparent
    // neighbour, and the ring itself is not scanned.
    EXPECT_EQ(q_OptimiseCutRegion(*region, *part, log), 0);
    // Nothing was filled away: erosion twice then dilation four times over
    // a full mark leaves it full.
    EXPECT_EQ(markedCount(*region), 144);
}

TEST(CutOptimise, TransparentPartPixelsMakeBoundaries)
{
    auto part = makePicture(7, 7, 0xFF406080);
    part->pixels[(3 * 7 + 3) * 4 + 3] = 0; // one transparent pixel in the middle
    auto region = makePicture(7, 7, q_kMarkValue);
    std::ostringstream log;
    EXPECT_EQ(q_OptimiseCutRegion(*region, *part, log), 4);
    // The fill from those four removes the whole uniform marked area.
    for (int y = 1; y <= 5; ++y)
        for (int x = 1; x <= 5; ++x)
            EXPECT_FALSE(marked(*region, x, y)) << x << "," << y;
}
