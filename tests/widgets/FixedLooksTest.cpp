// Pixel rules of the looks whose every pixel is fixed: the face family, the
// disabled overlay, label, frame and slider track. Expected values are
// worked out by hand from the WhiteFern colours.
#include "imaging/FNImage.h"
#include "widgets/looks/FNLooks.h"

#include <gtest/gtest.h>

namespace {

struct Rgba {
    int r, g, b, a;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

void PrintTo(const Rgba& p, std::ostream* os)
{
    *os << "(" << p.r << ", " << p.g << ", " << p.b << ", " << p.a << ")";
}

Rgba at(const FNImage& image, int x, int y)
{
    Rgba p {};
    image.getColor(x, y, p.r, p.g, p.b);
    p.a = image.getAlpha(x, y);
    return p;
}

FNImage& paint(FNImage& image, FNLookFunc look, int w, int h)
{
    look(&image, w, h, {});
    return image;
}

} // namespace

TEST(FaceLook, FourByFourHasTransparentCornersAndSoftenedEdges)
{
    FNImage face;
    paint(face, FNFaceLook, 4, 4);
    // half = 2: rows 0 and 1 get a sheen of 15 and 7; rows 1..3 darken.
    EXPECT_EQ(at(face, 0, 0), (Rgba { 255, 255, 255, 0 })); // bg + 15, clamped
    EXPECT_EQ(at(face, 0, 3), (Rgba { 232, 235, 248, 0 })); // bg - 15 / 7
    EXPECT_EQ(face.getAlpha(3, 0), 0);
    EXPECT_EQ(face.getAlpha(3, 3), 0);
    // Rule 2: (bg + c0) / 2 = (178, 183, 186) at alpha 160.
    EXPECT_EQ(at(face, 1, 0), (Rgba { 193, 198, 201, 160 }));
    EXPECT_EQ(at(face, 0, 1), (Rgba { 180, 185, 191, 160 }));
    for (auto [x, y] : { std::pair { 2, 0 }, { 0, 2 }, { 3, 1 }, { 3, 2 }, { 1, 3 }, { 2, 3 } })
        EXPECT_EQ(face.getAlpha(x, y), 160) << x << "," << y;
    // Rule 4 on all four inner pixels: (c2 + 2 c0) / 3 = (156, 163, 163).
    EXPECT_EQ(at(face, 1, 1), (Rgba { 158, 165, 168, 255 }));
    EXPECT_EQ(at(face, 2, 2), (Rgba { 156 + 0 - 10, 163 - 10, 163 - 5, 255 }));
}

TEST(FaceLook, HeightThreeUsesHalfTwo)
{
    FNImage face;
    paint(face, FNFaceLook, 8, 3);
    // Rows 0 and 2 are outer rows; row 1 is the second row from both sides.
    EXPECT_EQ(face.getAlpha(0, 0), 0);
    EXPECT_EQ(face.getAlpha(0, 2), 0);
    // (4, 0): outline c0 (110, 117, 118) + sheen (2 - 0) 15 / 2 = 15.
    EXPECT_EQ(at(face, 4, 0), (Rgba { 125, 132, 133, 255 }));
    // (4, 1): second row, c2 (248, 255, 255) + 7 - 6, blue - 3, clamped.
    EXPECT_EQ(at(face, 4, 1), (Rgba { 249, 255, 255, 255 }));
    // (4, 2): outline, no sheen, - 13 and - 6.
    EXPECT_EQ(at(face, 4, 2), (Rgba { 97, 104, 112, 255 }));
}

TEST(FaceLook, BodyShadesAndBendsNearTheSides)
{
    FNImage face;
    paint(face, FNFaceLook, 20, 10);
    // Middle column, row 5 = s: C = 1000, colour = 1000 c1 >> 10 = (209, 215,
    // 219), then - 10 / - 5.
    EXPECT_EQ(at(face, 10, 5), (Rgba { 199, 205, 214, 255 }));
    // Row 3 above s: C = 300 -> (232, 239, 240), sheen 6, - 6 / - 3.
    EXPECT_EQ(at(face, 10, 3), (Rgba { 232, 239, 243, 255 }));
    // Column 3 bends the edge down by one row: s = 6, C = 416 at row 5.
    EXPECT_EQ(at(face, 3, 5), (Rgba { 218, 225, 231, 255 }));
    // Rule 7 at (2, h - 3): (c1 + 2 c2) / 3 = (237, 243, 245), - 14 / - 7.
    EXPECT_EQ(at(face, 2, 7), (Rgba { 223, 229, 238, 255 }));
    // Rule 5 at (2, 1): (c0 + 3 c2) / 4 = (213, 220, 220), sheen 12, - 2 / - 1.
    EXPECT_EQ(at(face, 2, 1), (Rgba { 223, 230, 231, 255 }));
    // Rule 3 at (0, 2): (bg + 4 c0) / 5 = (137, 143, 145) at alpha 220.
    EXPECT_EQ(at(face, 0, 2), (Rgba { 137 + 9 - 4, 143 + 9 - 4, 145 + 9 - 2, 220 }));
}

TEST(FaceLook, SetsOfHoverPressedAndOn)
{
    FNImage hover, pressed, on;
    paint(hover, FNHoverFaceLook, 20, 10);
    paint(pressed, FNPressedFaceLook, 20, 10);
    paint(on, FNOnFaceLook, 20, 10);
    // Top outline: tone 0 + 15.
    EXPECT_EQ(at(hover, 10, 0), (Rgba { 61, 145, 100, 255 }));
    EXPECT_EQ(at(on, 10, 0), (Rgba { 185, 155, 115, 255 }));
    // Pressed: main0 at two thirds (30, 86, 56); bottom row - 18 / - 9.
    EXPECT_EQ(at(pressed, 10, 9), (Rgba { 12, 68, 47, 255 }));
    // The background is not reduced: rule 2 mixes the full bg with 2/3 c0.
    EXPECT_EQ(at(pressed, 1, 0), (Rgba { (247 + 30) / 2 + 15, (250 + 86) / 2 + 15, (255 + 56) / 2 + 15, 160 }));
}

TEST(DisabledOverlay, MovesThreeQuartersTowardTheBackground)
{
    FNImage image(3, 1);
    image.setColor(0, 0, 255, 255, 255, 255);
    image.setColor(1, 0, 0, 0, 0, 1);
    image.setColor(2, 0, 10, 20, 30, 0);
    FNDisabledOverlayLook(&image, 3, 1, {});
    EXPECT_EQ(at(image, 0, 0), (Rgba { 249, 251, 255, 255 }));
    // (0 + 741) >> 2 = 185; 75 * 250 / 100 = 187; 75 * 255 / 100 = 191
    EXPECT_EQ(at(image, 1, 0), (Rgba { 185, 187, 191, 1 }));
    EXPECT_EQ(at(image, 2, 0), (Rgba { 10, 20, 30, 0 }));
}

TEST(LabelLook, FillsWithOpaqueBackground)
{
    FNImage label;
    paint(label, FNLabelLook, 5, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(at(label, x, y), (Rgba { 247, 250, 255, 255 }));
}

TEST(FrameLook, EtchedLinesAndSoftCorners)
{
    FNImage frame;
    paint(frame, FNFrameLook, 10, 8);
    const Rgba dark { 162, 169, 171, 230 }, light { 231, 238, 240, 230 }, soft { 204, 209, 213, 128 };
    EXPECT_EQ(at(frame, 4, 0), dark);
    EXPECT_EQ(at(frame, 4, 1), light);
    EXPECT_EQ(at(frame, 4, 6), dark);
    EXPECT_EQ(at(frame, 4, 7), light);
    EXPECT_EQ(at(frame, 0, 3), dark);
    EXPECT_EQ(at(frame, 1, 3), light);
    EXPECT_EQ(at(frame, 8, 3), dark);
    EXPECT_EQ(at(frame, 9, 3), light);
    EXPECT_EQ(frame.getAlpha(4, 3), 0);
    for (auto [x, y] : { std::pair { 0, 0 }, { 9, 0 }, { 0, 7 }, { 9, 7 } })
        EXPECT_EQ(frame.getAlpha(x, y), 0) << x << "," << y;
    for (auto [x, y] : { std::pair { 1, 0 }, { 0, 1 }, { 8, 0 }, { 9, 1 }, { 1, 7 }, { 0, 6 }, { 8, 7 }, { 9, 6 } })
        EXPECT_EQ(at(frame, x, y), soft) << x << "," << y;
}

TEST(SliderTrackLook, GrooveRowsAndCaps)
{
    FNImage track;
    paint(track, FNSliderTrackLook, 30, 20);
    // m = 10: rows 7 .. 12 between columns 6 and 23.
    EXPECT_EQ(at(track, 15, 7), (Rgba { 110, 117, 118, 255 }));
    EXPECT_EQ(at(track, 15, 8), (Rgba { 231, 238, 240, 255 }));
    EXPECT_EQ(at(track, 15, 9), (Rgba { 215, 221, 225, 255 }));
    EXPECT_EQ(at(track, 15, 10), (Rgba { 231, 238, 240, 255 }));
    EXPECT_EQ(at(track, 15, 11), (Rgba { 255, 255, 255, 255 }));
    EXPECT_EQ(at(track, 15, 12), (Rgba { 155, 162, 173, 255 }));
    EXPECT_EQ(track.getAlpha(15, 6), 0);
    EXPECT_EQ(track.getAlpha(15, 13), 0);
    EXPECT_EQ(track.getAlpha(5, 10), 0);
    EXPECT_EQ(track.getAlpha(24, 10), 0);
    // Outer caps: base0 lightened by 7 per row.
    EXPECT_EQ(at(track, 6, 8), (Rgba { 117, 124, 125, 255 }));
    EXPECT_EQ(at(track, 23, 11), (Rgba { 138, 145, 146, 255 }));
    EXPECT_EQ(track.getAlpha(6, 7), 128);
    EXPECT_EQ(track.getAlpha(23, 12), 128);
}
