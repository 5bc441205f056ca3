#include "app/pictures/ColourAdjust.h"
#include "app/pictures/TrackColours.h"
#include "tests/app/TestPictures.h"

#include <array>
#include <gtest/gtest.h>

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
