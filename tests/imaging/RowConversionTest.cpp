#include "imaging/codecs/RowConversion.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Exact-size heap buffers, so AddressSanitizer sees any access past the end.
template <typename T> std::unique_ptr<T[]> buffer(size_t count)
{
    return std::unique_ptr<T[]>(new T[count ? count : 1]);
}

uint32_t testPixel(size_t i)
{
    return uint32_t(0x9E3779B9u * (i + 1)) ^ 0x5A5A5A5Au;
}

} // namespace

// Every length up to a few groups of four, on both the shuffle and the plain
// paths, against the byte-by-byte definition.
TEST(RowConversion, ThreeByteRowsMatchTheByteDefinitionForEveryLength)
{
    for (size_t count = 0; count <= 21; ++count) {
        SCOPED_TRACE(count);
        auto pixels = buffer<uint32_t>(count);
        for (size_t i = 0; i < count; ++i)
            pixels[i] = testPixel(i);
        auto rgb = buffer<uint8_t>(count * 3);
        auto plainRGB = buffer<uint8_t>(count * 3);
        rowconversion::pixelsToRGB(pixels.get(), rgb.get(), count);
        rowconversion::pixelsToRGBPlain(pixels.get(), plainRGB.get(), count);
        for (size_t i = 0; i < count; ++i) {
            // B, G, R, A -> R, G, B
            ASSERT_EQ(rgb[3 * i], uint8_t(pixels[i] >> 16)) << i;
            ASSERT_EQ(rgb[3 * i + 1], uint8_t(pixels[i] >> 8)) << i;
            ASSERT_EQ(rgb[3 * i + 2], uint8_t(pixels[i])) << i;
            ASSERT_EQ(plainRGB[3 * i], rgb[3 * i]);
            ASSERT_EQ(plainRGB[3 * i + 2], rgb[3 * i + 2]);
        }
        auto back = buffer<uint32_t>(count);
        auto plainBack = buffer<uint32_t>(count);
        rowconversion::rgbToPixels(rgb.get(), back.get(), count);
        rowconversion::rgbToPixelsPlain(rgb.get(), plainBack.get(), count);
        for (size_t i = 0; i < count; ++i) {
            ASSERT_EQ(back[i], pixels[i] | 0xFF000000u) << i;
            ASSERT_EQ(plainBack[i], back[i]) << i;
        }
    }
}

TEST(RowConversion, FourByteRowsSwapRedAndBlue)
{
    const uint32_t pixels[3] = { 0x80112233u, 0x00FFFEFDu, 0xFF000001u };
    uint8_t rgba[12];
    rowconversion::pixelsToRGBA(pixels, rgba, 3);
    const uint8_t expected[12] = { 0x11, 0x22, 0x33, 0x80, 0xFF, 0xFE, 0xFD, 0x00, 0x00, 0x00, 0x01, 0xFF };
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(rgba[i], expected[i]) << i;
    uint32_t back[3];
    rowconversion::rgbaToPixels(rgba, back, 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(back[i], pixels[i]);
}
