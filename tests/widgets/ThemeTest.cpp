#include "imaging/text/FNStringStyle.h"
#include "widgets/theme/FNTheme.h"

#include <gtest/gtest.h>

TEST(Theme, WhiteFernColours)
{
    EXPECT_STREQ(FNThemeName(), "WhiteFern");
    EXPECT_EQ(FNThemeColor("main0"), 0xFF2E8255u); // 46, 130, 85
    EXPECT_EQ(FNThemeColor("Main0"), 0u);
    EXPECT_EQ(FNThemeColor(""), 0u);
    EXPECT_EQ(FNThemeColor("background"), 0xFFF7FAFFu);
    EXPECT_EQ(FNThemeColor("title"), 0xFF28503Au);
    const char* keys[] = { "background", "main0", "main1", "main2", "base0", "base1", "base2", "accent0", "accent1",
        "accent2", "text", "title" };
    for (const char* key : keys)
        EXPECT_EQ(FNThemeColor(key) >> 24, 0xFFu) << key;
    const FNRGB accent1 = FNThemeRGB(FNThemeKey::Accent1);
    EXPECT_EQ(accent1.red, 255);
    EXPECT_EQ(accent1.green, 222);
    EXPECT_EQ(accent1.blue, 115);
}

TEST(Theme, StylesDrawInTheThemeTextColour)
{
    const FNRGB text = FNThemeRGB(FNThemeKey::Text);
    EXPECT_EQ(text.red, 5);
    EXPECT_EQ(text.green, 10);
    EXPECT_EQ(text.blue, 5);
    FNStringStyle style;
    EXPECT_EQ(style.red, text.red);
    EXPECT_EQ(style.green, text.green);
    EXPECT_EQ(style.blue, text.blue);
}
