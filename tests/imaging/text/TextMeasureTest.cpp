#include "imaging/text/FNFont.h"
#include "imaging/text/FNStringStyle.h"
#include "imaging/text/TextLayout.h"

#include <gtest/gtest.h>

namespace {

FNFont* defaultFont()
{
    return FNDefaultStringStyle().font.get();
}

} // namespace

TEST(TextCounting, LineCountAndLongestLine)
{
    EXPECT_EQ(lineCount(""), 1);
    EXPECT_EQ(lineCount("a\nb\n"), 3);
    EXPECT_EQ(longestLine("ab\ncde\nfgh"), "cde"); // the earlier one on ties
    EXPECT_EQ(longestLine("abc\n\n"), "abc");
    EXPECT_EQ(longestLine(""), "");
    // Bytes decide, not letters: three Japanese letters are nine bytes.
    EXPECT_EQ(longestLine("abcdefgh\n保存用"), "保存用");
}

TEST(TextFonts, DefaultFaceResolvesToTheIpaProportionalGothic)
{
    const FNStringStyle& style = FNDefaultStringStyle();
    EXPECT_EQ(style.face, "ＭＳ Ｐゴシック");
    EXPECT_EQ(style.size, 12);
    ASSERT_TRUE(style.font);
    EXPECT_FALSE(style.font->empty());
    EXPECT_EQ(style.font->family(), "IPAPGothic");
    FNStringStyle fixed;
    fixed.setFace("ＭＳ ゴシック");
    EXPECT_EQ(fixed.font->family(), "IPAGothic");
    // A face that is not installed falls back to a Japanese font.
    FNStringStyle missing;
    missing.setFace("メイリオ");
    ASSERT_FALSE(missing.font->empty());
    EXPECT_GT(missing.font->glyph(0x4FDD).advance, 0); // 保
}

TEST(TextFonts, CellHeightEqualsTheStyleSize)
{
    FNStringStyle style;
    for (int size : { 8, 12, 13, 16, 24, 40 }) {
        style.setSize(size);
        EXPECT_EQ(style.font->cellHeight(), size);
        EXPECT_EQ(measureString("キャンバス保存", style.font.get()).height, size);
        EXPECT_GT(style.font->ascent(), size / 2);
        EXPECT_LE(style.font->ascent(), size);
    }
}

TEST(TextFonts, FixedFaceHasEqualAdvancesAndBoldIsWider)
{
    FNStringStyle fixed;
    fixed.setFace("ＭＳ ゴシック");
    const int narrow = measureString("iiii", fixed.font.get()).width;
    EXPECT_EQ(narrow, measureString("WWWW", fixed.font.get()).width);
    EXPECT_EQ(measureString("保", fixed.font.get()).width, measureString("あ", fixed.font.get()).width);
    EXPECT_GT(measureString("保", fixed.font.get()).width, measureString("W", fixed.font.get()).width);

    FNStringStyle bold;
    bold.setBold(true);
    EXPECT_GT(measureString("保存", bold.font.get()).width, measureString("保存", defaultFont()).width);
}

TEST(TextFonts, MissingLettersComeFromAFallbackFont)
{
    FNFont& font = *defaultFont();
    // U+0E3F (Thai baht) is not in the IPA fonts; a private-use code point is
    // in no font, so it gets the missing-glyph shape.
    const FNGlyph& baht = font.glyph(0x0E3F);
    const FNGlyph& none = font.glyph(0x10FFFD);
    ASSERT_GT(baht.width * baht.height, 0);
    EXPECT_FALSE(baht.width == none.width && baht.height == none.height && baht.coverage == none.coverage);
}

TEST(TextFonts, GlyphsAreRasterisedOncePerFontAndSize)
{
    FNFont& font = *defaultFont();
    const FNGlyph* first = &font.glyph(0x4FDD);
    EXPECT_EQ(first, &font.glyph(0x4FDD));
    // Styles with the same face, size, weight and slant share one font.
    FNStringStyle a, b;
    EXPECT_EQ(a.font, b.font);
    b.setSize(13);
    EXPECT_NE(a.font, b.font);
    b.setSize(12);
    EXPECT_EQ(a.font, b.font);
}

TEST(TextMeasure, LinesFollowedByAFinalBreak)
{
    FNFont* font = defaultFont();
    const int lineHeight = font->cellHeight();
    const FNTextSize first = measureString("キャンバス", font);
    const FNTextSize second = measureString("保存", font);
    const FNTextSize both = measureString("キャンバス\n保存\n", font);
    EXPECT_EQ(both.width, std::max(first.width, second.width));
    EXPECT_EQ(both.height, 3 * lineHeight);
    EXPECT_EQ(measureString("", font).width, 0);
    EXPECT_EQ(measureString("", font).height, lineHeight);
}

TEST(TextMeasure, WidestLineWinsEvenWithFewerBytes)
{
    FNFont* font = defaultFont();
    // "WWWWWWW" has fewer bytes than "保存" ... but is wider.
    const int wide = measureString("WWWWWWW", font).width;
    ASSERT_GT(wide, measureString("保存。", font).width);
    EXPECT_EQ(measureString("保存。\nWWWWWWW", font).width, wide);
}

TEST(TextMeasure, WidthIsTheSumOfAdvancesAndTabsAlign)
{
    FNFont& font = *defaultFont();
    const int sum = font.glyph('A').advance + font.glyph(0x4FDD).advance + font.glyph('b').advance;
    EXPECT_EQ(measureString("A保b", &font).width, sum);
    const int tab = 8 * font.glyph(' ').advance;
    EXPECT_EQ(measureString("a\tb", &font).width, tab + font.glyph('b').advance);
}

TEST(TextMeasure, CenterStringRoundsEachHalfTowardZero)
{
    const FNStringStyle& style = FNDefaultStringStyle();
    EXPECT_EQ(centerString(&style, 100, 40, "").x, 0);
    EXPECT_EQ(centerString(&style, 100, 40, "").y, 0);
    const FNTextSize size = measureString("キャンバス保存", style.font.get());
    const FNTextPosition at = centerString(&style, 101, 41, "キャンバス保存");
    EXPECT_EQ(at.x, 101 / 2 - size.width / 2);
    EXPECT_EQ(at.y, 41 / 2 - 12 / 2);
    // A box smaller than the text gives a negative offset, halves truncated.
    const FNTextPosition tight = centerString(nullptr, 3, 3, "キャンバス保存");
    EXPECT_EQ(tight.x, 1 - size.width / 2);
    EXPECT_EQ(tight.y, 1 - 6);
}

TEST(TextLayout, AlignmentAndWordBreak)
{
    FNFont& font = *defaultFont();
    const std::string text = "ab\nキャンバス保存";
    const int widest = measureString(text, &font).width;
    const int first = measureString("ab", &font).width;
    auto lines = layoutText(text, font, FNTextCenter, widest, 26);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].x, (widest - first) / 2);
    EXPECT_EQ(lines[1].x, 0);
    EXPECT_EQ(lines[1].y, font.cellHeight());
    lines = layoutText(text, font, FNTextRight, widest, 26);
    EXPECT_EQ(lines[0].x, widest - first);

    lines = layoutText("ab", font, FNTextSingleLine | FNTextVCenter, 40, 20);
    EXPECT_EQ(lines[0].y, (20 - 12) / 2);
    lines = layoutText("ab", font, FNTextSingleLine | FNTextBottom, 40, 20);
    EXPECT_EQ(lines[0].y, 8);
    lines = layoutText("a\nb", font, FNTextSingleLine, 40, 20);
    EXPECT_EQ(lines.size(), 1u);

    // Breaks after the last space that fits, and between letters of a word
    // too wide for the box; no piece is wider than the box.
    const std::string words = "one two three キャンバス保存";
    const int box = measureString("one two", &font).width;
    lines = layoutText(words, font, FNTextWordBreak, box, 100);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(words.substr(lines[0].begin, lines[0].end - lines[0].begin), "one two");
    EXPECT_EQ(words.substr(lines[1].begin, lines[1].end - lines[1].begin), "three");
    for (const FNTextLine& line : lines)
        EXPECT_LE(line.width, box);
    EXPECT_EQ(lines.back().end, words.size());
}
