// The looks whose pixels are this toolkit's own design: checks of their
// structure (outline, arrow area, glyphs, states) rather than every pixel.
#include "imaging/FNImage.h"
#include "widgets/looks/FNLooks.h"

#include <gtest/gtest.h>

namespace {

int luminance(const FNImage& image, int x, int y)
{
    int r, g, b;
    image.getColor(x, y, r, g, b);
    return (299 * r + 587 * g + 114 * b) / 1000;
}

FNLookInfo withState(int state, int value = 0)
{
    FNLookInfo info;
    info.state = state;
    info.value = value;
    return info;
}

bool samePixels(const FNImage& a, const FNImage& b)
{
    return a.width == b.width && a.height == b.height && std::equal(a.pixels, a.pixels + a.byteCount(), b.pixels);
}

} // namespace

TEST(DropDownLook, ArrowSitsInTheRightEighteenPixels)
{
    FNImage box;
    FNDropDownBoxLook(&box, 95, 20, {});
    EXPECT_EQ(box.getAlpha(0, 0), 0); // softened corners as the faces
    // The arrow's widest row is dark against the light body around it.
    const int cx = 95 - 18 + 1 + 8;
    EXPECT_LT(luminance(box, cx, 9), 140);
    EXPECT_GT(luminance(box, cx + 6, 9), 180);
    EXPECT_GT(luminance(box, 40, 9), 180); // the text area stays light
    // The divider is darker than the body next to it.
    EXPECT_LT(luminance(box, 95 - 18, 10), luminance(box, 95 - 22, 10));

    FNImage highlighted;
    FNDropDownBoxHighlightLook(&highlighted, 95, 20, {});
    EXPECT_FALSE(samePixels(box, highlighted));
}

TEST(DropDownLook, ListHasAOnePixelBorder)
{
    FNImage list;
    FNDropDownListLook(&list, 79, 42, {});
    int r, g, b;
    list.getColor(20, 0, r, g, b);
    EXPECT_EQ(r, 46);
    EXPECT_EQ(g, 130);
    list.getColor(0, 20, r, g, b);
    EXPECT_EQ(b, 85);
    EXPECT_GT(luminance(list, 20, 1), 220);
    EXPECT_EQ(list.getAlpha(40, 20), 255);
}

TEST(ScrollLooks, StatesDifferAndPressedIsDarkest)
{
    FNImage normal, hover, pressed;
    FNScrollButtonLook(&normal, 16, 16, withState(FNButtonNormal, FNScrollArrowUp));
    FNScrollButtonLook(&hover, 16, 16, withState(FNButtonHover, FNScrollArrowUp));
    FNScrollButtonLook(&pressed, 16, 16, withState(FNButtonPressed, FNScrollArrowUp));
    EXPECT_FALSE(samePixels(normal, hover));
    EXPECT_LT(luminance(pressed, 3, 12), luminance(hover, 3, 12));
    // The up arrow's tip is above its base.
    int tipRow = -1, baseRow = -1;
    for (int y = 2; y < 14; ++y) {
        if (luminance(normal, 7, y) < 150 && tipRow < 0)
            tipRow = y;
        if (luminance(normal, 5, y) < 150)
            baseRow = y;
    }
    ASSERT_GE(tipRow, 0);
    EXPECT_LT(tipRow, baseRow);

    FNImage down;
    FNScrollButtonLook(&down, 16, 16, withState(FNButtonNormal, FNScrollArrowDown));
    EXPECT_FALSE(samePixels(down, normal));
}

TEST(ScrollLooks, TrackFollowsItsLongAxis)
{
    FNImage vertical, horizontal;
    FNScrollTrackLook(&vertical, 16, 100, {});
    FNScrollTrackLook(&horizontal, 100, 16, {});
    // Shaded across the short axis: along the long axis a row is uniform.
    EXPECT_EQ(luminance(vertical, 8, 30), luminance(vertical, 8, 60));
    EXPECT_NE(luminance(vertical, 3, 50), luminance(vertical, 12, 50));
    EXPECT_EQ(luminance(horizontal, 30, 8), luminance(horizontal, 60, 8));
    EXPECT_NE(luminance(horizontal, 50, 3), luminance(horizontal, 50, 12));
}

TEST(FieldLooks, TextBoxIsLightInsideAndFocusChangesTheOutline)
{
    FNImage normal, focused, mark, highlight;
    FNTextBoxLook(&normal, 60, 22, {});
    FNTextBoxFocusedLook(&focused, 60, 22, {});
    EXPECT_GT(luminance(normal, 30, 11), 240);
    EXPECT_LT(luminance(normal, 30, 0), 130);
    EXPECT_NE(luminance(normal, 30, 0), luminance(focused, 30, 0));
    EXPECT_EQ(normal.getAlpha(0, 0), 0);
    FNSelectorLook(&mark, 80, 20, {});
    FNSelectorLook(&highlight, 80, 20, withState(FNButtonHover));
    EXPECT_GT(luminance(highlight, 40, 10), luminance(mark, 40, 10));
}

TEST(WindowFrameLooks, GlyphsAreCrispAndStatesDiffer)
{
    FNImage close;
    FNCloseButtonLook(&close, 22, 18, {});
    // The x: both diagonals pass through the centre, dark and unblended.
    const int size = (18 * 9 / 20) | 1, x0 = (22 - size) / 2, y0 = (18 - size) / 2;
    EXPECT_LT(luminance(close, x0, y0), 100);
    EXPECT_LT(luminance(close, x0 + size - 1, y0), 100);
    EXPECT_LT(luminance(close, x0 + size / 2, y0 + size / 2), 100);
    EXPECT_EQ(luminance(close, x0, y0), luminance(close, x0 + size - 1, y0 + size - 1));

    FNImage minimise, maximise, restore, hover;
    FNMinimiseButtonLook(&minimise, 22, 18, {});
    FNMaximiseButtonLook(&maximise, 22, 18, {});
    FNRestoreButtonLook(&restore, 22, 18, {});
    FNMaximiseButtonLook(&hover, 22, 18, withState(FNButtonHover));
    EXPECT_FALSE(samePixels(maximise, restore));
    EXPECT_FALSE(samePixels(maximise, hover));
    // The minimise bar lies in the glyph's bottom rows only.
    EXPECT_LT(luminance(minimise, 11, y0 + size - 1), 100);
    EXPECT_GT(luminance(minimise, 11, y0), 150);

    FNImage bar;
    FNTitleBarLook(&bar, 200, 28, {});
    EXPECT_EQ(bar.getAlpha(0, 0), 0);
    EXPECT_EQ(bar.getAlpha(100, 0), 255);
    EXPECT_GT(luminance(bar, 100, 5), luminance(bar, 100, 24)); // light at the top
}
