// The span-cut rasteriser against the per-pixel reference: random mappings
// (rotations, flips, shears, axis-aligned and degenerate steps), picture
// sizes, offsets, crops, clipping axes, filters, blend modes and opacities.
// Any pixel visited outside the visible region, or missed inside it, or any
// difference in sampling or blending shows up as a buffer difference.

#include "RasterReference.h"

#include "imaging/FNImage.h"
#include "imaging/raster/FNRaster.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

constexpr int BufferWidth = 48;
constexpr int BufferHeight = 40;

struct Generator {
    std::mt19937_64 rng { 20261207 };

    int range(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); }
    bool chance(int percent) { return range(0, 99) < percent; }

    // A per-column step: often exact (0, +-4096, +-2048), otherwise any
    // magnification from about 1/4 to 4 in either direction.
    int64_t step()
    {
        switch (range(0, 5)) {
        case 0:
            return 0;
        case 1:
            return chance(50) ? 4096 : -4096;
        case 2:
            return chance(50) ? 2048 : -1365;
        default:
            return chance(70) ? range(-6000, 6000) : range(-16384, 16384);
        }
    }

    uint32_t pixel()
    {
        const uint32_t colour = uint32_t(rng()) & 0xFFFFFF;
        // Transparent, opaque, just below the direct-write threshold, or any.
        const int kind = range(0, 4);
        const uint32_t alpha = kind == 0 ? 0
            : kind == 1                  ? 255
            : kind == 2                  ? uint32_t(range(252, 254))
                                         : uint32_t(range(0, 255));
        return colour | alpha << 24;
    }

    void fill(FNImage& image)
    {
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                image.row(y)[x] = pixel();
    }

    // An axis value = start + stepX*X + stepY*Y that passes `target` near the
    // case's focus point, so that the region is usually partly on screen.
    int focusX = 0, focusY = 0;
    void aim(int64_t& start, int64_t stepX, int64_t stepY, int64_t target)
    {
        start = target - stepX * focusX - stepY * focusY + range(-8192, 8192);
    }
};

struct Case {
    FNImage picture { 1, 1 };
    std::vector<FNRasterAxis> clips;
    FNRasterJob job;
};

// Scaled cases keep the picture unrotated and unsheared (b = d = 0) and make
// it wide enough for the vector loops' full steps and their remainders.
void makeCase(Generator& g, Case& c, uint32_t* pixels, bool scaled = false)
{
    if (scaled)
        c.picture.resize(g.range(1, 40), g.range(1, 12));
    else
        c.picture.resize(g.range(1, 12), g.range(1, 12));
    g.fill(c.picture);
    FNRasterJob& job = c.job;
    job = FNRasterJob();
    job.pixels = pixels;
    job.width = BufferWidth;
    job.height = BufferHeight;
    job.rowLength = BufferWidth;
    job.image = &c.picture;
    job.offsetX = g.range(-4, 4);
    job.offsetY = g.range(-4, 4);
    job.lastX = g.range(-2, 16);
    job.lastY = g.range(-2, 16);
    g.focusX = g.range(-4, BufferWidth + 4);
    g.focusY = g.range(-4, BufferHeight + 4);
    // The update rectangle holds the focus point, sometimes reaching past the buffer.
    job.left = g.focusX - g.range(0, 24);
    job.top = g.focusY - g.range(0, 24);
    job.right = g.focusX + g.range(0, 24);
    job.bottom = g.focusY + g.range(0, 24);
    job.a = g.step();
    job.b = g.step();
    job.d = g.step();
    job.e = g.step();
    if (scaled) {
        job.b = job.d = 0;
        while (job.a == 0)
            job.a = g.step();
    }
    g.aim(job.c, job.a, job.b, (job.offsetX + c.picture.width / 2) * int64_t(4096));
    g.aim(job.f, job.d, job.e, (job.offsetY + c.picture.height / 2) * int64_t(4096));
    job.opacity = g.chance(10) ? g.range(0, 2) : g.chance(30) ? 255 : g.range(1, 255);
    job.blendMode = g.range(-1, 9);
    job.sampling = scaled ? g.range(1, 2) : g.chance(5) ? 3 : g.range(0, 2);
    if (scaled && g.chance(70))
        job.blendMode = 0;
    job.scaleX = g.chance(10) ? 0.005 : (g.range(1, 600) / 100.0) * (g.chance(20) ? -1 : 1);
    job.scaleY = g.range(1, 600) / 100.0;
    c.clips.clear();
    const int clipCount = g.chance(40) ? 0 : 2 * g.range(1, 2);
    for (int k = 0; k < clipCount; ++k) {
        FNRasterAxis axis;
        axis.stepX = g.step();
        axis.stepY = g.step();
        const int64_t size = g.range(-10, 30) * int64_t(4096) + g.range(0, 4095);
        g.aim(axis.start, axis.stepX, axis.stepY, size / 2);
        axis.low = std::min<int64_t>(0, size);
        axis.high = std::max<int64_t>(0, size) - 1;
        c.clips.push_back(axis);
    }
    job.clips = c.clips.data();
    job.clipCount = clipCount;
}

// Draws `iterations` random cases with the rasteriser and the reference and
// returns how many changed the buffer.
int compareWithReference(int iterations, bool scaled)
{
    Generator g;
    Case c;
    std::vector<uint32_t> actual(BufferWidth * BufferHeight), expected(actual.size());
    int drawn = 0;
    for (int iteration = 0; iteration < iterations; ++iteration) {
        for (size_t i = 0; i < actual.size(); ++i)
            actual[i] = expected[i] = g.pixel();
        const std::vector<uint32_t> before = actual;
        makeCase(g, c, actual.data(), scaled);
        FNRasterDraw(c.job);
        c.job.pixels = expected.data();
        RasterReference::draw(c.job);
        drawn += actual != before;
        EXPECT_EQ(actual, expected) << "iteration " << iteration << " sampling " << c.job.sampling << " mode "
                                    << c.job.blendMode << " steps " << c.job.a << "," << c.job.b << "," << c.job.d
                                    << "," << c.job.e << " clips " << c.job.clipCount << " vector level "
                                    << FNRasterVectorLevel();
        if (actual != expected)
            break;
    }
    return drawn;
}

// The vector levels: 0 SSE2, 1 SSE4.1, 2 AVX2.
constexpr int WidestVectorLevel = 2;

// Runs the body at every vector level the processor has, then restores the
// widest.
template <class Body> void atEveryVectorLevel(Body body)
{
    const int widest = FNRasterSetVectorLevel(WidestVectorLevel);
    for (int level = 0; level <= widest; ++level) {
        ASSERT_EQ(FNRasterSetVectorLevel(level), level);
        body();
    }
    FNRasterSetVectorLevel(widest);
}

TEST(RasterProperty, SpanCutDrawingEqualsPerPixelReference)
{
    atEveryVectorLevel([] {
        // The generator must actually put pictures on screen, or the
        // comparison proves nothing.
        EXPECT_GT(compareWithReference(10000, false), 2500);
    });
}

TEST(RasterProperty, ScaledPicturesEqualPerPixelReference)
{
    atEveryVectorLevel([] { EXPECT_GT(compareWithReference(4000, true), 1000); });
}

// A large picture scaled 1.5 (and mirrored) across a wide buffer: long runs of
// the vector loops, source columns far from the start, partial opacity and
// every blend mode, against the reference at every level.
TEST(RasterProperty, WideScaledDrawsEqualPerPixelReference)
{
    Generator g;
    FNImage picture(300, 40);
    g.fill(picture);
    const int width = 420, height = 24;
    std::vector<uint32_t> backdrop(width * height);
    for (uint32_t& pixel : backdrop)
        pixel = g.pixel();
    atEveryVectorLevel([&] {
        for (int variant = 0; variant < 24; ++variant) {
            FNRasterJob job;
            std::vector<uint32_t> actual = backdrop, expected = backdrop;
            job.pixels = actual.data();
            job.width = job.rowLength = width;
            job.right = width;
            job.height = job.bottom = height;
            job.image = &picture;
            job.lastX = 299;
            job.lastY = 39;
            const bool mirrored = variant & 1;
            job.a = mirrored ? -2730 : 2730; // 1 / 1.5 in fixed point
            job.e = 2730;
            job.c = mirrored ? 299 * int64_t(4096) - 1000 : 1000;
            job.f = 5000 + 397 * variant;
            job.sampling = 1 + (variant >> 1 & 1);
            job.blendMode = variant % 9;
            job.opacity = variant < 12 ? 255 : 131;
            job.scaleX = job.scaleY = 1.5;
            FNRasterDraw(job);
            job.pixels = expected.data();
            RasterReference::draw(job);
            EXPECT_NE(actual, backdrop);
            ASSERT_EQ(actual, expected) << "variant " << variant << " vector level " << FNRasterVectorLevel();
        }
    });
}

// Rows of every length from 1 to 28 pixels: each remainder of the loops that
// take several pixels per step, and rows shorter than one step, at every
// level, opaque and translucent.
TEST(RasterProperty, EveryScaledRowLengthEqualsPerPixelReference)
{
    Generator g;
    FNImage picture(20, 4);
    g.fill(picture);
    const int width = 32, height = 4;
    std::vector<uint32_t> backdrop(width * height);
    for (uint32_t& pixel : backdrop)
        pixel = g.pixel();
    atEveryVectorLevel([&] {
        for (int length = 1; length <= 28; ++length) {
            for (const int opacity : { 255, 140 }) {
                FNRasterJob job;
                std::vector<uint32_t> actual = backdrop, expected = backdrop;
                job.pixels = actual.data();
                job.width = job.rowLength = width;
                job.left = 2;
                job.right = 2 + length;
                job.height = job.bottom = height;
                job.image = &picture;
                job.lastX = 19;
                job.lastY = 3;
                job.a = job.e = 2730; // 1 / 1.5 in fixed point
                job.c = 123 - 2 * 2730;
                job.f = 700;
                job.sampling = 1;
                job.opacity = opacity;
                job.scaleX = job.scaleY = 1.5;
                FNRasterDraw(job);
                job.pixels = expected.data();
                RasterReference::draw(job);
                EXPECT_NE(actual, backdrop);
                ASSERT_EQ(actual, expected)
                    << "length " << length << " opacity " << opacity << " vector level " << FNRasterVectorLevel();
            }
        }
    });
}

// The widest level is the one the processor supports, never more: each
// level the loops choose must run here, or its property runs test nothing.
TEST(RasterProperty, VectorLevelFollowsTheProcessor)
{
    int supported = 0;
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
    if (__builtin_cpu_supports("avx2"))
        supported = 2;
    else if (__builtin_cpu_supports("sse4.1") && __builtin_cpu_supports("ssse3"))
        supported = 1;
#endif
    EXPECT_EQ(FNRasterVectorLevel(), supported);
    EXPECT_EQ(FNRasterSetVectorLevel(7), supported);
    for (int level = 0; level <= supported; ++level)
        EXPECT_EQ(FNRasterSetVectorLevel(level), level);
    EXPECT_EQ(FNRasterSetVectorLevel(-3), 0);
    EXPECT_EQ(FNRasterVectorLevel(), 0);
    EXPECT_EQ(FNRasterSetVectorLevel(WidestVectorLevel), supported);
}

} // namespace
