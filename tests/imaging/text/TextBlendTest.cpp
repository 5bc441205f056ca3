#include "imaging/text/TextBlend.h"
#include "imaging/FNImage.h"

#include <climits>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A 1 x 1 temporary text picture holding one pixel (blue, green, red).
std::unique_ptr<FNImage> textPixel(int blue, int green, int red)
{
    auto picture = std::make_unique<FNImage>(1, 1);
    picture->setColor(0, 0, red, green, blue);
    return picture;
}

FNTextClip wholeImage(const FNImage& image)
{
    return { 0, 0, image.width, image.height };
}

struct Rgba {
    int r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

Rgba at(const FNImage& image, int x, int y)
{
    Rgba p {};
    image.getColor(x, y, p.r, p.g, p.b);
    p.a = image.getAlpha(x, y);
    return p;
}

void PrintTo(const Rgba& p, std::ostream* os)
{
    *os << "(" << p.r << ", " << p.g << ", " << p.b << ", " << p.a << ")";
}

} // namespace

TEST(TextBlend, WhiteTextPixelChangesNothing)
{
    FNImage target(1, 1);
    target.setColor(0, 0, 10, 20, 30, 40);
    const auto text = textPixel(255, 255, 255);
    blendTextPicture(target, *text, 0, 0, wholeImage(target), 200, 100, 50, true);
    EXPECT_EQ(at(target, 0, 0), (Rgba { 10, 20, 30, 40 }));
}

TEST(TextBlend, BlackPixelIsFullCoverage)
{
    FNImage target(1, 1);
    target.setColor(0, 0, 100, 100, 100, 0);
    const auto text = textPixel(0, 0, 0);
    blendTextPicture(target, *text, 0, 0, wholeImage(target), 5, 10, 200, true);
    // k = 255: C' = (255 c + 100 * 1) >> 8; alpha = 765 / 3
    EXPECT_EQ(at(target, 0, 0), (Rgba { (255 * 5 + 100) >> 8, (255 * 10 + 100) >> 8, (255 * 200 + 100) >> 8, 255 }));
}

TEST(TextBlend, ColouredPixelUsesLumaWeights)
{
    FNImage target(1, 1);
    target.setColor(0, 0, 0, 0, 0, 50);
    // ib = 255 - 40 = 215, ig = 255 - 160 = 95, ir = 255 - 250 = 5
    const auto text = textPixel(40, 160, 250);
    blendTextPicture(target, *text, 0, 0, wholeImage(target), 255, 255, 255, true);
    const int k = (587 * 95 + 299 * 5 + 114 * 215) / 1000;
    const int c = (k * 255) >> 8;
    EXPECT_EQ(at(target, 0, 0), (Rgba { c, c, c, std::max(50, (215 + 95 + 5) / 3) }));
}

TEST(TextBlend, AlphaOnlyRisesAndOnlyWhenAsked)
{
    FNImage target(2, 1);
    target.setColor(0, 0, 0, 0, 0, 200);
    target.setColor(1, 0, 0, 0, 0, 10);
    FNImage text(2, 1);
    text.fill(128, 128, 128, 255); // coverage 127
    FNImage keep;
    keep.copyFrom(&target);
    blendTextPicture(target, text, 0, 0, wholeImage(target), 0, 0, 0, true);
    EXPECT_EQ(target.getAlpha(0, 0), 200);
    EXPECT_EQ(target.getAlpha(1, 0), 127);
    blendTextPicture(keep, text, 0, 0, wholeImage(keep), 0, 0, 0, false);
    EXPECT_EQ(keep.getAlpha(0, 0), 200);
    EXPECT_EQ(keep.getAlpha(1, 0), 10);
}

namespace {

// A text picture whose column i has the grey level i * 10, so every column
// leaves its own trace (no pixel is white).
std::unique_ptr<FNImage> stripes(int w, int h)
{
    auto text = std::make_unique<FNImage>(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            text->setColor(x, y, x * 10 % 256, x * 10 % 256, x * 10 % 256);
    }
    return text;
}

} // namespace

TEST(TextBlend, NegativePositionDropsTheLeadingColumns)
{
    const auto text = stripes(12, 3);
    FNImage shifted(10, 3), reference(20, 3);
    shifted.fill(255, 255, 255, 0);
    reference.fill(255, 255, 255, 0);
    blendTextPicture(shifted, *text, -5, 0, wholeImage(shifted), 0, 0, 0, true);
    blendTextPicture(reference, *text, 0, 0, wholeImage(reference), 0, 0, 0, true);
    for (int x = 0; x < 10; ++x) {
        const Rgba expected = x + 5 < 12 ? at(reference, x + 5, 1) : Rgba { 255, 255, 255, 0 };
        EXPECT_EQ(at(shifted, x, 1), expected) << "column " << x;
    }
}

TEST(TextBlend, WritesOnlyInsideClipAndTarget)
{
    const auto text = stripes(30, 30);
    // Every combination of position and clip, including extreme values,
    // must keep to the clip rectangle intersected with the target.
    const int positions[] = { INT_MIN, -40, -3, 0, 2, 7, INT_MAX };
    const FNTextClip clips[] = { { 0, 0, 8, 6 }, { 2, 1, 3, 3 }, { -5, -5, 100, 100 }, { -3, 2, 2, -7 },
        { INT_MAX, INT_MAX, INT_MAX, INT_MAX }, { INT_MIN, INT_MIN, INT_MAX, INT_MAX }, { 6, 4, 5, 5 } };
    for (int px : positions) {
        for (int py : positions) {
            for (const FNTextClip& clip : clips) {
                FNImage target(8, 6);
                target.fill(255, 255, 255, 0);
                blendTextPicture(target, *text, px, py, clip, 0, 0, 0, true);
                for (int y = 0; y < 6; ++y) {
                    for (int x = 0; x < 8; ++x) {
                        const bool inClip = int64_t(x) >= clip.x && int64_t(x) < int64_t(clip.x) + clip.width
                            && int64_t(y) >= clip.y && int64_t(y) < int64_t(clip.y) + clip.height;
                        const bool inText = int64_t(x) >= px && int64_t(x) < int64_t(px) + 30 && int64_t(y) >= py
                            && int64_t(y) < int64_t(py) + 30;
                        ASSERT_EQ(target.getAlpha(x, y) > 0, inClip && inText) << x << "," << y;
                    }
                }
            }
        }
    }
}
