// The rasteriser's arithmetic on small pictures: coverage, the blend modes,
// the bilinear edge, the sharp ramp and the handling of unknown values.

#include "imaging/FNImage.h"
#include "imaging/raster/FNRaster.h"
#include "imaging/raster/RasterBlend.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint32_t OpaqueRed = 0xFFFF0000;
constexpr uint32_t OpaqueBlue = 0xFF0000FF;

// Identity mapping of `picture` at the buffer's origin.
FNRasterJob identityJob(std::vector<uint32_t>& buffer, int width, int height, const FNImage& picture)
{
    FNRasterJob job;
    job.pixels = buffer.data();
    job.width = job.rowLength = width;
    job.height = height;
    job.right = width;
    job.bottom = height;
    job.image = &picture;
    job.a = job.e = 4096;
    job.lastX = picture.width - 1;
    job.lastY = picture.height - 1;
    return job;
}

void paint(FNImage& image, uint32_t colour)
{
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.row(y)[x] = colour;
}

TEST(RasterCoverage, OpaquePixelAtFullOpacityIsWrittenWithAlpha254)
{
    FNImage picture(1, 1);
    paint(picture, OpaqueRed);
    std::vector<uint32_t> buffer(1, OpaqueBlue);
    FNRasterDraw(identityJob(buffer, 1, 1, picture));
    EXPECT_EQ(buffer[0], 0xFEFF0000u);
}

TEST(RasterCoverage, HalfOpacityBlendsTowardSourceWithFloorShift)
{
    FNImage picture(1, 1);
    paint(picture, OpaqueRed);
    std::vector<uint32_t> buffer(1, OpaqueBlue);
    FNRasterJob job = identityJob(buffer, 1, 1, picture);
    job.opacity = 128; // a = 127
    FNRasterDraw(job);
    // red 0 + (255 * 127 >> 8) = 126; blue 255 + ((0 - 255) * 127 >> 8) = 128; alpha stays 255
    EXPECT_EQ(buffer[0], 0xFF7E0080u);
}

TEST(RasterBlend, ModeExamples)
{
    using namespace FNRasterBlend;
    EXPECT_EQ(Multiply::channel(200, 100), 78);
    EXPECT_EQ(Screen::channel(200, 100), 222);
    EXPECT_EQ(Overlay::channel(200, 100), 156);
    EXPECT_EQ(Overlay::channel(200, 200), 233); // 2 * (400 - 156) - 255
    EXPECT_EQ(Overlay::channel(0, 128), 1); // 2 * 128 - 255
    EXPECT_EQ(ColorDodge::channel(255, 10), 255);
    EXPECT_EQ(ColorDodge::channel(128, 100), 200); // 100 * 255 / 127
    EXPECT_EQ(ColorBurn::channel(0, 200), 0);
    EXPECT_EQ(ColorBurn::channel(100, 200), 115); // 255 + (-55 * 255) / 100, truncated toward zero
    EXPECT_EQ(ColorBurn::channel(10, 0), 0);
    EXPECT_EQ(Invert::channel(200, 0), 55);
    EXPECT_EQ(Darken::channel(200, 100), 100);
    EXPECT_EQ(Lighten::channel(200, 100), 200);
}

TEST(RasterBlend, MultiplyThroughTheDrawCall)
{
    FNImage picture(1, 1);
    paint(picture, 0xFFC8C8C8); // 200 in every channel
    std::vector<uint32_t> buffer(1, 0xFF646464); // 100
    FNRasterJob job = identityJob(buffer, 1, 1, picture);
    job.blendMode = 2;
    FNRasterDraw(job);
    EXPECT_EQ(buffer[0], 0xFE4E4E4Eu); // 78
}

TEST(RasterBlend, UnknownModeDrawsAsNormalAndUnknownSamplingDrawsNothing)
{
    FNImage picture(1, 1);
    paint(picture, OpaqueRed);
    std::vector<uint32_t> buffer(1, OpaqueBlue);
    FNRasterJob job = identityJob(buffer, 1, 1, picture);
    job.blendMode = 9;
    FNRasterDraw(job);
    EXPECT_EQ(buffer[0], 0xFEFF0000u);
    buffer[0] = OpaqueBlue;
    job.blendMode = 0;
    job.sampling = 3;
    FNRasterDraw(job);
    EXPECT_EQ(buffer[0], OpaqueBlue);
}

TEST(RasterNearest, TransparentPixelsAreSkipped)
{
    FNImage picture(2, 1);
    picture.row(0)[0] = 0x00FF0000;
    picture.row(0)[1] = OpaqueRed;
    std::vector<uint32_t> buffer(2, OpaqueBlue);
    FNRasterDraw(identityJob(buffer, 2, 1, picture));
    EXPECT_EQ(buffer[0], OpaqueBlue);
    EXPECT_EQ(buffer[1], 0xFEFF0000u);
}

TEST(RasterNearest, PictureIsCroppedToTheItemRectangle)
{
    FNImage picture(4, 1);
    paint(picture, OpaqueRed);
    std::vector<uint32_t> buffer(4, OpaqueBlue);
    FNRasterJob job = identityJob(buffer, 4, 1, picture);
    job.lastX = 1; // an item two pixels wide
    FNRasterDraw(job);
    EXPECT_EQ(buffer, (std::vector<uint32_t> { 0xFEFF0000, 0xFEFF0000, OpaqueBlue, OpaqueBlue }));
}

TEST(RasterBilinear, CornerAtHalfFractionsTakesAQuarterOfThePicture)
{
    FNImage picture(1, 1);
    paint(picture, OpaqueRed);
    std::vector<uint32_t> buffer(1, OpaqueBlue);
    FNRasterJob job = identityJob(buffer, 1, 1, picture);
    job.sampling = 1;
    job.c = job.f = -2048; // pixel 0 samples at (-0.5, -0.5): fx = fy = 2048
    FNRasterDraw(job);
    // red (255 * 2^22) >> 24 = 63, blue (3 * 2^22 * 255) >> 24 = 191, alpha 255 -> a = 254
    EXPECT_EQ(buffer[0], 0xFE3F00BFu);
}

TEST(RasterBilinear, EdgeFadesOutOverOneSourcePixel)
{
    FNImage picture(1, 1);
    paint(picture, OpaqueRed);
    std::vector<uint32_t> buffer(4, OpaqueBlue);
    FNRasterJob job = identityJob(buffer, 4, 1, picture);
    job.sampling = 1;
    job.a = 2048; // magnified twice: u = 0, 2048, 4096, 6144
    job.e = 0; // every row samples v = 0
    FNRasterDraw(job);
    EXPECT_EQ(buffer[0], 0xFEFF0000u);
    EXPECT_EQ(buffer[1], 0xFE7F007Fu); // half picture, half destination
    EXPECT_EQ(buffer[2], OpaqueBlue); // fx = 0 at the right neighbour: no weight inside
    EXPECT_EQ(buffer[3], OpaqueBlue);
}

TEST(RasterSharp, RampAtScaleFourIsFlatBelow3072)
{
    int table[4096];
    FNRasterSharpRamp(4.0, table);
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[3071], 0);
    EXPECT_EQ(table[3072], 0);
    EXPECT_EQ(table[3584], 2048);
    EXPECT_EQ(table[4095], 4092);
    FNRasterSharpRamp(1.0, table); // T = 0: the plain bilinear fraction
    EXPECT_EQ(table[1234], 1234);
    FNRasterSharpRamp(0.005, table); // tiny scale: T = 4096, nearest-like
    EXPECT_EQ(table[4095], 0);
}

TEST(RasterSharp, MagnifiedPictureShowsFlatSourcePixels)
{
    FNImage picture(2, 1);
    picture.row(0)[0] = OpaqueRed;
    picture.row(0)[1] = OpaqueBlue;
    std::vector<uint32_t> buffer(8, 0xFF00FF00);
    FNRasterJob job = identityJob(buffer, 8, 1, picture);
    job.sampling = 2;
    job.a = 1024; // scale 4
    job.e = 0;
    job.scaleX = job.scaleY = 4.0;
    FNRasterDraw(job);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(buffer[x], 0xFEFF0000u) << x;
    EXPECT_EQ(buffer[4], 0xFE0000FFu);
}

TEST(RasterClip, AxesLimitTheDrawnColumns)
{
    FNImage picture(6, 1);
    paint(picture, OpaqueRed);
    std::vector<uint32_t> buffer(6, OpaqueBlue);
    FNRasterJob job = identityJob(buffer, 6, 1, picture);
    FNRasterAxis axis; // an ancestor from x = 2 to x = 4 (three pixels)
    axis.start = -2 * 4096;
    axis.stepX = 4096;
    axis.low = 0;
    axis.high = 3 * 4096 - 1;
    job.clips = &axis;
    job.clipCount = 1;
    FNRasterDraw(job);
    EXPECT_EQ(
        buffer, (std::vector<uint32_t> { OpaqueBlue, OpaqueBlue, 0xFEFF0000, 0xFEFF0000, 0xFEFF0000, OpaqueBlue }));
}

TEST(RasterFixed, TruncatesTowardZeroAndLimitsExtremes)
{
    EXPECT_EQ(FNRasterFixed(1.5), 6144);
    EXPECT_EQ(FNRasterFixed(-0.00001), 0);
    EXPECT_EQ(FNRasterFixed(-1.00001), -4096);
    // Limited to +-2^40 pixels, i.e. +-2^52 in fixed point.
    EXPECT_EQ(FNRasterFixed(1e300), int64_t(1) << 52);
    EXPECT_EQ(FNRasterFixed(-1e300), -(int64_t(1) << 52));
    EXPECT_EQ(FNRasterFixed(0.0 / 0.0), 0);
}

} // namespace
