#include "imaging/FNImage.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

uint32_t pixelAt(const FNImage& image, int x, int y)
{
    return image.row(y)[x];
}

// A picture whose every pixel differs, so misplaced copies show.
void paintIndexPattern(FNImage& image)
{
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x)
            image.row(y)[x] = 0xFF000000u | static_cast<uint32_t>(y * 4096 + x * 16 + 1);
    }
}

} // namespace

TEST(FNImageBuffer, ConstructionAndResize)
{
    FNImage one;
    EXPECT_TRUE(one.created);
    ASSERT_EQ(one.width, 1);
    ASSERT_EQ(one.height, 1);
    EXPECT_EQ(pixelAt(one, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(one.pixels) % 16, 0u);

    FNImage image(4, 3);
    image.resize(0, -5);
    EXPECT_EQ(image.width, 1);
    EXPECT_EQ(image.height, 1);

    image.resize(5, 2);
    image.setColor(4, 1, 1, 2, 3, 4);
    image.resize(5, 2);
    int r, g, b;
    image.getColor(4, 1, r, g, b);
    EXPECT_EQ(r * 100 + g * 10 + b, 123) << "resize to the same size keeps the pixels";
    EXPECT_EQ(image.getAlpha(4, 1), 4);

    image.clear();
    EXPECT_FALSE(image.created);
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.width, 0);
}

TEST(FNImageBuffer, PixelAccessOutsideIsIgnored)
{
    FNImage image(2, 2);
    image.setColor(-1, 0, 0, 0, 0, 0);
    image.setColor(2, 0, 0, 0, 0, 0);
    image.setColor(0, 2, 0, 0, 0, 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(reinterpret_cast<uint32_t*>(image.pixels)[i], 0xFFFFFFFFu);
    int r = 9, g = 9, b = 9;
    image.getColor(5, 5, r, g, b);
    EXPECT_EQ(r + g + b, 0);
    EXPECT_EQ(image.getAlpha(-1, 0), 0);
    image.setColor(1, 1, 300, -4, 77);
    image.getColor(1, 1, r, g, b);
    EXPECT_EQ(r, 255);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 77);
}

TEST(FNImageBuffer, FillLimitsValuesAndCoversOddSizes)
{
    FNImage row(3, 1);
    row.fill(300, -2, 128, 255);
    for (int x = 0; x < 3; ++x) {
        const uint8_t* p = row.pixels + x * 4;
        EXPECT_EQ(p[0], 128);
        EXPECT_EQ(p[1], 0);
        EXPECT_EQ(p[2], 255);
        EXPECT_EQ(p[3], 255);
    }
    for (int w : { 1, 2, 7, 13, 33 }) {
        FNImage image(w, 5);
        image.fill(1, 2, 3, 4);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(pixelAt(image, x, y), 0x04010203u) << w << " wide at " << x << "," << y;
    }
}

TEST(FNImageBuffer, FillRefusesUnfilledBuffer)
{
    FNImage image(2, 1);
    image.create(2, 1);
    std::memset(image.pixels, 7, image.byteCount());
    image.fill(0, 0, 0, 0);
    EXPECT_EQ(pixelAt(image, 1, 0), 0x07070707u);
}

TEST(FNImageBuffer, CopyFromTakesSizeAndPixels)
{
    FNImage source(7, 3), target(2, 2);
    paintIndexPattern(source);
    EXPECT_TRUE(target.copyFrom(&source));
    ASSERT_EQ(target.width, 7);
    ASSERT_EQ(target.height, 3);
    EXPECT_EQ(std::memcmp(target.pixels, source.pixels, source.byteCount()), 0);
}

TEST(FNImagePaste, ClipsAtNegativePositions)
{
    FNImage target(3, 3), source(2, 2);
    paintIndexPattern(source);
    target.drawImage(&source, -1, -1, 2, 2);
    EXPECT_EQ(pixelAt(target, 0, 0), pixelAt(source, 1, 1) | 0xFF000000u);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            if (x || y) {
                EXPECT_EQ(pixelAt(target, x, y), 0xFFFFFFFFu) << x << "," << y;
            }
        }
    }
}

TEST(FNImagePaste, BlendsPartialAlphaAndKeepsDestinationAlpha)
{
    FNImage target(2, 1), source(2, 1);
    target.row(0)[0] = 0x40000000; // alpha 0x40, black
    target.row(0)[1] = 0x40000000;
    source.row(0)[0] = 0x80FFFFFF; // alpha 128, white
    source.row(0)[1] = 0x00FFFFFF; // fully transparent: no change
    target.drawImage(&source, 0, 0, 2, 1);
    // u = (128 * 255) >> 8 = 127; (127 * 255) >> 8 = 126
    EXPECT_EQ(pixelAt(target, 0, 0), 0x407E7E7Eu);
    EXPECT_EQ(pixelAt(target, 1, 0), 0x40000000u);
}

TEST(FNImagePaste, IgnoresNullAndUncreatedTarget)
{
    FNImage target(2, 2), source(2, 2);
    source.fill(0, 0, 0, 255);
    target.drawImage(nullptr, 0, 0, 2, 2);
    target.create(2, 2);
    std::memset(target.pixels, 9, target.byteCount());
    target.drawImage(&source, 0, 0, 2, 2);
    EXPECT_EQ(pixelAt(target, 0, 0), 0x09090909u);
}

TEST(FNImageFlip, MirrorsEachAxis)
{
    FNImage image(3, 2);
    paintIndexPattern(image);
    const uint32_t a = pixelAt(image, 0, 0), b = pixelAt(image, 1, 0), c = pixelAt(image, 2, 0);
    const uint32_t d = pixelAt(image, 0, 1);
    image.flip(true, false);
    EXPECT_EQ(pixelAt(image, 0, 0), c);
    EXPECT_EQ(pixelAt(image, 1, 0), b);
    EXPECT_EQ(pixelAt(image, 2, 0), a);
    image.flip(true, true);
    EXPECT_EQ(pixelAt(image, 0, 0), d);
    EXPECT_EQ(pixelAt(image, 0, 1), a);
}

TEST(FNImageTransform, SameSizeUnrotatedIsNoOp)
{
    FNImage image(5, 4);
    paintIndexPattern(image);
    image.created = false;
    EXPECT_TRUE(image.transform(5, 4, 0));
    EXPECT_FALSE(image.created) << "a no-op leaves the flag alone";
}

TEST(FNImageTransform, OutputSizeIsTheRotatedBoundingBox)
{
    FNImage image(100, 100);
    EXPECT_TRUE(image.transform(50, 50, 0));
    EXPECT_TRUE(image.created);
    EXPECT_EQ(image.width, 51); // trunc(99 * 0.5 + 2)
    EXPECT_EQ(image.height, 51);

    FNImage turned(100, 100);
    turned.fill(10, 20, 30, 255);
    turned.transform(100, 100, 45);
    // Corners that no source pixel covers are transparent white.
    EXPECT_EQ(pixelAt(turned, 0, 0), 0x00FFFFFFu);
    EXPECT_EQ(pixelAt(turned, turned.width - 1, turned.height - 1), 0x00FFFFFFu);
    EXPECT_EQ(pixelAt(turned, turned.width / 2, turned.height / 2), 0xFF0A141Eu);
}

// A 2 x 1 black-white picture doubled: the inner column interpolates, the
// outermost ring keeps its colour but its alpha fades with the lost weights.
TEST(FNImageTransform, BorderNeighboursAreLeftOutAndAlphaFades)
{
    FNImage image(2, 1);
    image.row(0)[0] = 0xFF000000;
    image.row(0)[1] = 0xFFFFFFFF;
    ASSERT_TRUE(image.transform(4, 2, 0));
    ASSERT_EQ(image.width, 4);
    ASSERT_EQ(image.height, 2);
    const uint32_t expected[2][4] = {
        { 0xFF000000, 0xFF7F7F7F, 0xFFFFFFFF, 0x7FFFFFFF },
        { 0x7F000000, 0x7F7F7F7F, 0x7FFFFFFF, 0x3FFFFFFF },
    };
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(pixelAt(image, x, y), expected[y][x]) << x << "," << y;
}

TEST(FNImageTransform, RefusesAbsurdSizesWithoutAllocating)
{
    FNImage image(10, 10);
    EXPECT_FALSE(image.transform(1 << 30, 10, 0));
    EXPECT_EQ(image.width, 10);
    EXPECT_TRUE(image.created);
}

class FNImageLine : public ::testing::Test {
protected:
    FNImage image { 12, 12 };
    uint32_t at(int x, int y) const { return pixelAt(image, x, y); }
};

// A horizontal band of thickness 0 (raised to one pixel) from (2, 5) to (8, 5):
// full coverage on row 5, half coverage on rows 4 and 6, nothing beyond.
TEST_F(FNImageLine, ThinBandCoverage)
{
    image.drawLine(0xFF000000, 2, 5, 8, 5, 0);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            uint32_t want = 0xFFFFFFFF;
            if (x >= 2 && x <= 8 && y == 5)
                want = 0xFF000000;
            else if (x >= 2 && x <= 8 && (y == 4 || y == 6))
                want = 0xFF808080; // k = 127: (255 * 129) >> 8
            EXPECT_EQ(at(x, y), want) << x << "," << y;
        }
    }
}

TEST_F(FNImageLine, OutsideTwoEdgesAtOnceGetsNothing)
{
    // Pixel (10, 3) lies beyond the band's end and beyond its side: both
    // ramps are negative and must not multiply into coverage.
    image.drawLine(0xFF000000, 2, 5, 8, 5, 0);
    EXPECT_EQ(at(10, 3), 0xFFFFFFFFu);
    EXPECT_EQ(at(9, 4), 0xFFFFFFFFu);
}

TEST_F(FNImageLine, KeepsDestinationAlphaAndHandlesPoints)
{
    image.fill(255, 255, 255, 10);
    image.drawLine(0xFF0000FF, 6, 6, 6, 6, 4);
    EXPECT_EQ(at(6, 6), 0x0A0000FFu) << "a zero-length band still paints its square";
    EXPECT_EQ(image.getAlpha(6, 6), 10);
    image.drawLine(0xFF000000, -100, -100, 500, 500, 3); // clipped, must not write outside
    for (auto [x, y] : { std::pair { 0, 0 }, { 11, 11 } })
        EXPECT_EQ(at(x, y), 0x0A000000u) << "the clipped band still runs corner to corner";
    EXPECT_EQ(at(11, 0), 0x0AFFFFFFu);
}

TEST(FNImageLineWidth, ThicknessIsLimitedToHundredPixels)
{
    FNImage image(20, 300);
    image.drawLine(0xFF000000, 0, 150, 19, 150, 500);
    EXPECT_EQ(pixelAt(image, 10, 100), 0xFF000000u);
    EXPECT_EQ(pixelAt(image, 10, 200), 0xFF000000u);
    // The half width of 50 puts the edges on whole rows, so the fading
    // pixel beyond each edge gets no coverage.
    EXPECT_EQ(pixelAt(image, 10, 99), 0xFFFFFFFFu);
    EXPECT_EQ(pixelAt(image, 10, 201), 0xFFFFFFFFu);
}
