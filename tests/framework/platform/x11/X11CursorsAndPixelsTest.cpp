// gtest first: Xlib defines None as a macro.
#include <gtest/gtest.h>

#include "framework/platform/FNPlatform.h"
#include "framework/platform/x11/X11Cursors.h"
#include "framework/platform/x11/X11PixelFormat.h"

#include <X11/Xutil.h>
#include <X11/cursorfont.h>

#include <string>

namespace {

// A 32 x 32 picture of spaces with the given characters placed in it.
struct ShapeRows {
    std::string rows[FNCursorShapeSize];
    FNCursorShape shape {};
    ShapeRows()
    {
        for (int y = 0; y < FNCursorShapeSize; ++y) {
            rows[y] = std::string(FNCursorShapeSize, ' ');
            shape.rows[y] = rows[y].c_str();
        }
    }
    void Set(int x, int y, char c) { rows[y][x] = c; }
};

TEST(X11Cursors, BitmapsPutTheLeftmostPixelInTheLowestBit)
{
    ShapeRows picture;
    picture.Set(0, 0, '#'); // byte 0, bit 0
    picture.Set(9, 0, '.'); // byte 1, bit 1
    picture.Set(31, 31, '#'); // last byte, bit 7
    picture.Set(12, 5, '.'); // row 5: byte 5 * 4 + 1, bit 4
    const X11CursorBitmaps bitmaps = X11CursorBitmapsOf(picture.shape);
    const int last = FNCursorShapeSize * X11CursorBitmaps::rowBytes - 1;
    for (int i = 0; i <= last; ++i) {
        const unsigned char source = i == 0 ? 0x01 : (i == last ? 0x80 : 0);
        unsigned char mask = source;
        if (i == 1)
            mask = 0x02;
        if (i == 21)
            mask = 0x10;
        EXPECT_EQ(bitmaps.source[i], source) << "source byte " << i;
        EXPECT_EQ(bitmaps.mask[i], mask) << "mask byte " << i;
    }
}

TEST(X11Cursors, EveryProgramCursorHasAMaskAroundItsBlackPixels)
{
    for (int id = FNCursorBoxFirst; id <= FNCursorBoxLast; ++id) {
        const FNCursorShape* shape = FNFindCursorShape(id);
        ASSERT_NE(shape, nullptr) << id;
        const X11CursorBitmaps bitmaps = X11CursorBitmapsOf(*shape);
        int black = 0;
        for (size_t i = 0; i < sizeof bitmaps.source; ++i) {
            EXPECT_EQ(bitmaps.source[i] & ~bitmaps.mask[i], 0) << "cursor " << id << " byte " << i;
            black += __builtin_popcount(bitmaps.source[i]);
        }
        EXPECT_GT(black, 0) << "cursor " << id << " draws nothing";
    }
}

TEST(X11Cursors, SystemCursorsUseTheirFontGlyphsAndUnknownIdsTheArrow)
{
    EXPECT_EQ(X11FontCursorGlyph(FNCursorWait), unsigned(XC_watch));
    EXPECT_EQ(X11FontCursorGlyph(FNCursorSizeNWSE), unsigned(XC_bottom_right_corner));
    EXPECT_EQ(X11FontCursorGlyph(FNCursorSizeNESW), unsigned(XC_bottom_left_corner));
    EXPECT_EQ(X11FontCursorGlyph(FNCursorSizeWE), unsigned(XC_sb_h_double_arrow));
    EXPECT_EQ(X11FontCursorGlyph(FNCursorSizeNS), unsigned(XC_sb_v_double_arrow));
    EXPECT_EQ(X11FontCursorGlyph(FNCursorSizeAll), unsigned(XC_fleur));
    EXPECT_EQ(X11FontCursorGlyph(FNCursorArrow), unsigned(XC_left_ptr));
    EXPECT_EQ(X11FontCursorGlyph(12345), unsigned(XC_left_ptr));
}

TEST(X11PixelFormat, ChannelsScaleToTheirMasksWidthRounded)
{
    const X11ChannelMasks rgb565 { 0xF800, 0x07E0, 0x001F };
    EXPECT_EQ(X11TrueColorPixel(rgb565, 0xFFFFFF), 0xFFFFul);
    EXPECT_EQ(X11TrueColorPixel(rgb565, 0x000000), 0ul);
    // 0x80 * 31 / 255 = 15.56 -> 16 (red), 0x80 * 63 / 255 = 31.6 -> 32 (green)
    EXPECT_EQ(X11TrueColorPixel(rgb565, 0x808080), (16ul << 11) | (32ul << 5) | 16ul);
    EXPECT_EQ(X11TrueColorPixel({ 0xFF0000, 0x00FF00, 0x0000FF }, 0x123456), 0x123456ul);
    // Channels swapped.
    EXPECT_EQ(X11TrueColorPixel({ 0x0000FF, 0x00FF00, 0xFF0000 }, 0x123456), 0x563412ul);
}

} // namespace
