#include "app/pictures/ColourAdjust.h"
#include "app/pictures/TrackColours.h"
#include "tests/app/TestPictures.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Adjusts one pixel given as (R, G, B, A) and returns the result's bytes as
// (R, G, B, A).
std::array<int, 4> adjustOne(int r, int g, int b, int a, int hue, int sat, int value)
{
    FNImage part(1, 1), adjusted;
    part.setColor(0, 0, r, g, b, a);
    q_AdjustColour(part, adjusted, hue, sat, value);
    const uint8_t* p = adjusted.pixels;
    return { p[2], p[1], p[0], p[3] };
}

using RGBA = std::array<int, 4>;

} // namespace

TEST(ColourAdjust, HueShiftsRotatePureColours)
{
    EXPECT_EQ(adjustOne(255, 0, 0, 255, 120, 0, 0), (RGBA { 0, 255, 0, 255 }));
    EXPECT_EQ(adjustOne(255, 0, 0, 255, 180, 0, 0), (RGBA { 0, 255, 255, 255 }));
    EXPECT_EQ(adjustOne(255, 0, 0, 255, -180, 0, 0), (RGBA { 0, 255, 255, 255 }));
    EXPECT_EQ(adjustOne(0, 0, 255, 17, -120, 0, 0), (RGBA { 0, 255, 0, 17 }));
}

TEST(ColourAdjust, SaturationExtremes)
{
    EXPECT_EQ(adjustOne(200, 100, 50, 255, 0, -100, 0), (RGBA { 200, 200, 200, 255 }));
    // (255, 127, 127) has h = 0, s = 128, v = 255; +50 % is ds = 127, so
    // s = 128 + 127 * 128 / 255 = 191 and p = t = (255 - 191) = 64.
    EXPECT_EQ(q_RGBToHSV(255, 127, 127).s, 128);
    EXPECT_EQ(adjustOne(255, 127, 127, 255, 0, 50, 0), (RGBA { 255, 64, 64, 255 }));
    // +100 % doubles s and is limited to 255.
    EXPECT_EQ(adjustOne(255, 127, 127, 255, 0, 100, 0), (RGBA { 255, 0, 0, 255 }));
}

TEST(ColourAdjust, ValueExtremesKeepAlpha)
{
    EXPECT_EQ(adjustOne(12, 200, 90, 33, 0, 0, 100), (RGBA { 255, 255, 255, 33 }));
    EXPECT_EQ(adjustOne(12, 200, 90, 33, 45, -30, 100), (RGBA { 255, 255, 255, 33 }));
    EXPECT_EQ(adjustOne(255, 255, 255, 7, 0, 0, -100), (RGBA { 0, 0, 0, 7 }));
    // 10 * 255 / 100 = 25 added after the conversion back.
    EXPECT_EQ(adjustOne(100, 100, 100, 255, 0, 0, 10), (RGBA { 125, 125, 125, 255 }));
}

TEST(ColourAdjust, GreyIgnoresHueAndSaturation)
{
    EXPECT_EQ(adjustOne(90, 90, 90, 255, 77, 100, 0), (RGBA { 90, 90, 90, 255 }));
    EXPECT_EQ(adjustOne(0, 0, 0, 255, 77, -100, 0), (RGBA { 0, 0, 0, 255 }));
}

TEST(ColourAdjust, ZeroSlidersCopyExactly)
{
    TestRandom random(4);
    auto part = makeNoisyPicture(7, 5, random, 100);
    part->pixels[3] = 9;
    FNImage adjusted(2, 2);
    q_AdjustColour(*part, adjusted, 0, 0, 0);
    EXPECT_TRUE(samePixels(adjusted, *part));
    // 1 % of saturation is 2 (255 / 100), so not a copy.
    q_AdjustColour(*part, adjusted, 0, 0, 1);
    EXPECT_FALSE(samePixels(adjusted, *part));
}

TEST(ColourAdjust, EmptyPartGivesEmptyAdjustedPart)
{
    FNImage part, adjusted;
    part.clear();
    q_AdjustColour(part, adjusted, 10, 0, 0);
    EXPECT_EQ(adjusted.pixels, nullptr);
    EXPECT_EQ(adjusted.width, 0);
}

TEST(TrackColours, HueTrackRunsCyanRedCyan)
{
    const int width = 128;
    // Left end: g = trunc(2 * 360 / 120 - 180) = -174 -> 186, sector 3.
    const q_RGB left = q_HueTrackColour(5, width);
    EXPECT_EQ(left.r, 25);
    // Middle: a hue shift near 0 gives red.
    const q_RGB middle = q_HueTrackColour(63, width);
    EXPECT_EQ(middle.r, 255);
    EXPECT_EQ(middle.b, 25);
    // g = 0 exactly at x = 63: F = 0, f = 0, u = 1, n = trunc(0.1 * 255) = 25.
    EXPECT_EQ(middle.g, 25);
    const q_RGB right = q_HueTrackColour(width - 6, width);
    EXPECT_EQ(right.r, 25);
}

TEST(TrackColours, SaturationAndValueTracks)
{
    const int width = 108; // W - 8 = 100
    EXPECT_EQ(q_SaturationTrackColour(3, width).g, 255);
    EXPECT_EQ(q_SaturationTrackColour(53, width).g, 127); // trunc(0.5 * 255)
    EXPECT_EQ(q_SaturationTrackColour(53, width).r, 255);
    EXPECT_EQ(q_ValueTrackColour(53, width).b, 127);
    EXPECT_EQ(q_ValueTrackColour(103, width).r, 255);
    EXPECT_EQ(q_ValueTrackColour(5, width).r, 5); // trunc(0.02 * 255)
}

namespace {

// The adjustment of one colour written straight from the formulas: HSV,
// hue shifted and wrapped, saturation scaled and limited, back to RGB, the
// value offset added and limited. Returns the bytes B, G, R as 0x00RRGGBB.
uint32_t adjustedByFormulas(int r, int g, int b, int dh, int ds, int dv)
{
    q_HSV hsv = q_RGBToHSV(r, g, b);
    hsv.h += dh;
    if (hsv.h > 359)
        hsv.h -= 360;
    else if (hsv.h < 0)
        hsv.h += 360;
    hsv.s = std::clamp(hsv.s + ds * hsv.s / 255, 0, 255);
    const q_RGB rgb = q_HSVToRGB(hsv.h, hsv.s, hsv.v);
    return static_cast<uint32_t>(
        std::clamp(rgb.r + dv, 0, 255) << 16 | std::clamp(rgb.g + dv, 0, 255) << 8 | std::clamp(rgb.b + dv, 0, 255));
}

} // namespace

// Every one of the 16,777,216 colours, for slider settings that reach the
// ends of each range, on each path this processor has: 256 pictures of
// 256 x 256 (one red value each, alpha varying), each pixel checked against
// the formulas.
TEST(ColourAdjust, EveryColourMatchesTheFormulas)
{
    std::vector<q_ColourAdjustPath> paths { q_ColourAdjustPath::Scalar };
    const q_ColourAdjustPath previous = q_ColourAdjustSetPath(q_ColourAdjustPath::Avx2);
    if (q_ColourAdjustActivePath() == q_ColourAdjustPath::Avx2)
        paths.push_back(q_ColourAdjustPath::Avx2);
    const int settings[][3] = { { 30, 20, 10 }, { -180, -100, -1 }, { 180, 100, 100 }, { -97, 55, -37 } };
    FNImage part(256, 256), adjusted;
    std::vector<uint32_t> expected(65536);
    for (const auto& k : settings) {
        const int ds = k[1] * 255 / 100, dv = k[2] * 255 / 100;
        for (int r = 0; r < 256; ++r) {
            for (uint32_t n = 0; n < 65536; ++n) { // alpha, red, green (n >> 8), blue (n & 0xFF)
                const uint32_t alpha = ((n * 7) & 0xFF) << 24;
                part.row(0)[n] = alpha | static_cast<uint32_t>(r) << 16 | n;
                expected[n] = alpha | adjustedByFormulas(r, n >> 8, n & 0xFF, k[0], ds, dv);
            }
            for (const q_ColourAdjustPath path : paths) {
                q_ColourAdjustSetPath(path);
                q_AdjustColour(part, adjusted, k[0], k[1], k[2]);
                ASSERT_EQ(std::memcmp(adjusted.pixels, expected.data(), 65536 * 4), 0)
                    << "red " << r << " with hue " << k[0] << ", saturation " << k[1] << ", value " << k[2]
                    << " on path " << static_cast<int>(path);
            }
        }
    }
    q_ColourAdjustSetPath(previous);
}

// Pictures whose pixel count is not a multiple of the vector width: the
// last pixels take the scalar path and must agree with the rest.
TEST(ColourAdjust, OddSizesAdjustEveryPixel)
{
    TestRandom random(6);
    for (const int width : { 1, 7, 9, 15, 33 }) {
        auto part = makeNoisyPicture(width, 3, random, 120);
        FNImage adjusted;
        q_AdjustColour(*part, adjusted, -60, 40, 5);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < width; ++x) {
                const uint8_t* p = part->pixels + (static_cast<size_t>(y) * width + x) * 4;
                const uint32_t want
                    = 0xFF000000u | adjustedByFormulas(p[2], p[1], p[0], -60, 40 * 255 / 100, 5 * 255 / 100);
                EXPECT_EQ(pixelAt(adjusted, x, y), want) << width << " wide, pixel " << x << ", " << y;
            }
        }
    }
}
