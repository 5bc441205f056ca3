#include "imaging/FNImage.h"
#include "imaging/text/FNStringStyle.h"
#include "imaging/text/TextImage.h"
#include "imaging/text/TextLayout.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

const FNString kLabel = "キャンバス保存";

// Count of pixels whose alpha is above zero.
int inkedPixels(const FNImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            count += image.getAlpha(x, y) > 0;
    return count;
}

bool samePixels(const FNImage& a, const FNImage& b)
{
    return a.width == b.width && a.height == b.height && std::equal(a.pixels, a.pixels + a.byteCount(), b.pixels);
}

} // namespace

TEST(DrawString, NothingForEmptyTextOrAnImageWithoutPixels)
{
    FNImage image(40, 20);
    image.fill(255, 255, 255, 0);
    FNImage before;
    before.copyFrom(&image);
    image.drawString(nullptr, 0, 0, -1, -1, -1, -1, true, "");
    EXPECT_TRUE(samePixels(image, before));

    FNImage cleared(40, 20);
    cleared.clear();
    cleared.drawString(nullptr, 0, 0, -1, -1, -1, -1, true, kLabel); // must not touch a missing buffer
    EXPECT_EQ(cleared.pixels, nullptr);
}

TEST(DrawString, DrawsInTheStyleColourWithCoverageAsAlpha)
{
    FNStringStyle style;
    style.setColor(200, 40, 10);
    FNImage image(120, 20);
    image.fill(200, 40, 10, 0);
    image.drawString(&style, 2, 2, -1, -1, -1, -1, true, kLabel);
    EXPECT_GT(inkedPixels(image), 100);
    int fullyCovered = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            int r, g, b;
            image.getColor(x, y, r, g, b);
            // a colour blended into itself stays exactly that colour
            ASSERT_EQ(r, 200);
            ASSERT_EQ(g, 40);
            ASSERT_EQ(b, 10);
            fullyCovered += image.getAlpha(x, y) >= 240;
        }
    }
    EXPECT_GT(fullyCovered, 10);
    // The text lies inside its measured box at (2, 2).
    const FNTextSize size = measureString(kLabel, style.font.get());
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (x < 2 || y < 2 || x >= 2 + size.width || y >= 2 + size.height + 2) {
                ASSERT_EQ(image.getAlpha(x, y), 0) << x << "," << y;
            }
        }
    }
}

TEST(DrawString, WriteAlphaFalseKeepsAlpha)
{
    FNImage image(100, 16);
    image.fill(255, 255, 255, 77);
    image.drawString(nullptr, 0, 0, -1, -1, -1, -1, false, kLabel);
    int darkened = 0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            ASSERT_EQ(image.getAlpha(x, y), 77);
            int r, g, b;
            image.getColor(x, y, r, g, b);
            darkened += r < 128;
        }
    }
    EXPECT_GT(darkened, 10);
}

TEST(DrawString, NegativeXDropsTheLeadingColumns)
{
    const FNTextSize size = measureString(kLabel, nullptr);
    FNImage shifted(size.width, 16), reference(size.width + 5, 16);
    shifted.fill(255, 255, 255, 0);
    reference.fill(255, 255, 255, 0);
    shifted.drawString(nullptr, -5, 0, -1, -1, -1, -1, true, kLabel);
    reference.drawString(nullptr, 0, 0, -1, -1, -1, -1, true, kLabel);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < size.width; ++x) {
            const int expected = x + 5 < size.width ? reference.getAlpha(x + 5, y) : 0;
            ASSERT_EQ(shifted.getAlpha(x, y), expected) << x << "," << y;
        }
    }
}

TEST(DrawString, ClipRectangleAndEdgesBoundTheWrites)
{
    FNImage image(60, 16);
    image.fill(255, 255, 255, 0);
    image.drawString(nullptr, 0, 0, 10, 3, 20, 8, true, kLabel);
    ASSERT_GT(inkedPixels(image), 0);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 60; ++x) {
            if (x < 10 || x >= 30 || y < 3 || y >= 11) {
                ASSERT_EQ(image.getAlpha(x, y), 0) << x << "," << y;
            }
        }
    }
    // Positions and clips beyond the edges on every side.
    for (int x : { -500, -60, 50, 59, 60, 1000 }) {
        for (int y : { -30, -10, 10, 15, 16 }) {
            image.drawString(nullptr, x, y, -7, -20, 5000, 5000, true, kLabel);
            image.drawString(nullptr, x, y, 58, 14, -1, -1, true, kLabel);
        }
    }
}

TEST(TextImage, EnabledAndDisabledColours)
{
    EXPECT_EQ(FNMakeTextImage(nullptr, "", true), nullptr);
    const FNTextSize size = measureString(kLabel, nullptr);
    std::unique_ptr<FNImage> enabled(FNMakeTextImage(nullptr, kLabel, true));
    std::unique_ptr<FNImage> disabled(FNMakeTextImage(nullptr, kLabel, false));
    ASSERT_TRUE(enabled && disabled);
    EXPECT_EQ(enabled->width, size.width + 1);
    EXPECT_EQ(enabled->height, size.height);
    int r, g, b;
    enabled->getColor(3, 3, r, g, b);
    EXPECT_EQ(r, 5);
    EXPECT_EQ(g, 10);
    EXPECT_EQ(b, 5);
    // halfway to white: (c + 255) >> 1
    disabled->getColor(3, 3, r, g, b);
    EXPECT_EQ(r, 130);
    EXPECT_EQ(g, 132);
    EXPECT_EQ(b, 130);
    // Same shape: the coverage does not depend on the colour.
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x <= size.width; ++x)
            ASSERT_EQ(enabled->getAlpha(x, y), disabled->getAlpha(x, y));
    EXPECT_GT(inkedPixels(*enabled), 50);
}

TEST(StringStyle, DefaultsCopiesAndTheLightenedStyle)
{
    FNStringStyle style;
    EXPECT_TRUE(style.valid);
    EXPECT_TRUE(style.name.empty());
    EXPECT_EQ(style.format, 0u);
    EXPECT_FALSE(style.bold);
    EXPECT_FALSE(style.italic);
    EXPECT_EQ(FNSystemVersionCode(), 0);
    EXPECT_EQ(style.fontHeight(), 12);

    FNStringStyle other;
    other.name = "title";
    other.setFace("ＭＳ ゴシック");
    other.setSize(20);
    other.setFormat(FNTextCenter);
    other.setColor(300, -4, 77);
    other.setBold(true);
    other.setItalic(true);
    EXPECT_EQ(other.red, 255);
    EXPECT_EQ(other.green, 0);
    style.copyFrom(other);
    EXPECT_TRUE(style.name.empty());
    EXPECT_EQ(style.face, "ＭＳ ゴシック");
    EXPECT_EQ(style.size, 20);
    EXPECT_EQ(style.format, static_cast<uint32_t>(FNTextCenter));
    EXPECT_EQ(style.blue, 77);
    EXPECT_TRUE(style.bold && style.italic);
    EXPECT_EQ(style.font, other.font);
    EXPECT_EQ(style.font->cellHeight(), 20);

    const FNStringStyle& light = FNLightenedStringStyle(&other);
    EXPECT_EQ(light.red, 255);
    EXPECT_EQ(light.green, 127);
    EXPECT_EQ(light.blue, 166);
    EXPECT_EQ(light.font, other.font);
    EXPECT_EQ(FNLightenedStringStyle(nullptr).red, 130);
}

namespace {

struct Ink {
    long total = 0; // summed alpha
    double lean = 0; // mean ink column of rows 1-4 minus that of rows 7-10
};

Ink inkOf(const FNStringStyle& style, const FNString& text)
{
    FNImage image(100, 16);
    image.fill(0, 0, 0, 0);
    image.drawString(&style, 0, 0, -1, -1, -1, -1, true, text);
    Ink ink;
    double column[2] = { 0, 0 }, weight[2] = { 0, 0 };
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 100; ++x) {
            const int a = image.getAlpha(x, y);
            ink.total += a;
            if ((y >= 1 && y <= 4) || (y >= 7 && y <= 10)) {
                column[y <= 4] += double(x) * a;
                weight[y <= 4] += a;
            }
        }
    }
    ink.lean = column[1] / weight[1] - column[0] / weight[0];
    return ink;
}

} // namespace

TEST(StringStyle, ItalicLeansAndBoldDarkens)
{
    FNStringStyle regular, bold, italic;
    bold.setBold(true);
    italic.setItalic(true);
    const Ink plain = inkOf(regular, "llll");
    EXPECT_GT(inkOf(bold, "llll").total, plain.total * 5 / 4);
    EXPECT_NEAR(plain.lean, 0, 0.3);
    EXPECT_GT(inkOf(italic, "llll").lean, plain.lean + 0.4);
}
