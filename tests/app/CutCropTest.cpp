#include "app/pictures/CutCrop.h"
#include "app/pictures/CutRegion.h"
#include "tests/app/TestPictures.h"

#include <gtest/gtest.h>

TEST(CutCrop, CropsToTheMarkWithATwoPixelMargin)
{
    TestRandom random(3);
    auto part = makeNoisyPicture(20, 15, random, 30);
    FNImage old;
    old.copyFrom(part.get());
    auto region = makePicture(20, 15, q_kClearValue);
    region->row(5)[6] = region->row(9)[11] = q_kMarkValue;
    const q_CutBounds b = q_CropToCutRegion(*part, *region);
    EXPECT_EQ(b.count, 2);
    EXPECT_EQ(b.minX, 6);
    EXPECT_EQ(b.minY, 5);
    EXPECT_EQ(b.width, 11 - 6 + 5);
    EXPECT_EQ(b.height, 9 - 5 + 5);
    ASSERT_EQ(part->width, 10);
    ASSERT_EQ(part->height, 9);
    // Marked pixels keep everything; others keep colour with alpha 0.
    EXPECT_EQ(pixelAt(*part, 2, 2), pixelAt(old, 6, 5));
    EXPECT_EQ(pixelAt(*part, 7, 6), pixelAt(old, 11, 9));
    EXPECT_EQ(pixelAt(*part, 3, 2), pixelAt(old, 7, 5) & 0x00FFFFFF);
}

TEST(CutCrop, MarkAtTheLeftEdgeGivesTwoZeroColumns)
{
    auto part = makePicture(6, 4, 0xFF102030);
    auto region = makePicture(6, 4, q_kClearValue);
    for (int y = 0; y < 4; ++y)
        region->row(y)[0] = q_kMarkValue;
    const q_CutBounds b = q_CropToCutRegion(*part, *region);
    ASSERT_EQ(b.width, 5);
    ASSERT_EQ(b.height, 8);
    for (int y = 0; y < part->height; ++y) {
        EXPECT_EQ(pixelAt(*part, 0, y), 0u);
        EXPECT_EQ(pixelAt(*part, 1, y), 0u);
    }
    EXPECT_EQ(pixelAt(*part, 2, 2), 0xFF102030u);
    EXPECT_EQ(pixelAt(*part, 3, 2), 0x00102030u);
    EXPECT_EQ(pixelAt(*part, 2, 0), 0u) << "rows above the old part are zero";
}

TEST(CutCrop, EmptyMarkEmptiesThePartInPlace)
{
    auto part = makePicture(4, 3, 0xFF102030);
    auto region = makePicture(4, 3, q_kClearValue);
    const q_CutBounds b = q_CropToCutRegion(*part, *region);
    EXPECT_EQ(b.count, 0);
    EXPECT_EQ(part->width, 4);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(pixelAt(*part, x, y), 0x00102030u);
}

TEST(CutCrop, PixelsOutsideASmallerRegionCountAsUnmarked)
{
    auto part = makePicture(5, 5, 0xFF000000);
    auto region = makePicture(2, 2, q_kMarkValue);
    const q_CutBounds b = q_CropToCutRegion(*part, *region);
    EXPECT_EQ(b.count, 4);
    EXPECT_EQ(b.width, 6);
}
