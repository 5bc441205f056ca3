// The theme's lookup rules. Its colour values are checked where they show:
// in the pixels of the looks (FixedLooksTest, OpenLooksTest).
#include "imaging/text/FNStringStyle.h"
#include "widgets/theme/FNTheme.h"

#include <gtest/gtest.h>

TEST(Theme, KeysMatchExactlyAndUnknownKeysGiveZero)
{
    EXPECT_STREQ(FNThemeName(), "WhiteFern");
    EXPECT_EQ(FNThemeColor("main0"), 0xFF2E8255u); // 46, 130, 85
    for (const char* unknown : { "Main0", "", "main", "main0 ", "main3" }) {
        EXPECT_EQ(FNThemeColor(unknown), 0u) << '"' << unknown << '"';
        const FNRGB rgb = FNThemeRGB(unknown);
        EXPECT_EQ(rgb.red + rgb.green + rgb.blue, 0) << '"' << unknown << '"';
    }
}

TEST(Theme, EveryKeyIsOpaqueAndSplitsIntoItsChannels)
{
    const char* keys[] = { FNThemeKey::Background, FNThemeKey::Main0, FNThemeKey::Main1, FNThemeKey::Main2,
        FNThemeKey::Base0, FNThemeKey::Base1, FNThemeKey::Base2, FNThemeKey::Accent0, FNThemeKey::Accent1,
        FNThemeKey::Accent2, FNThemeKey::Text, FNThemeKey::Title };
    for (const char* key : keys) {
        const uint32_t color = FNThemeColor(key);
        EXPECT_EQ(color >> 24, 0xFFu) << key;
        const FNRGB rgb = FNThemeRGB(key);
        EXPECT_EQ(0xFF000000u | uint32_t(rgb.red) << 16 | uint32_t(rgb.green) << 8 | uint32_t(rgb.blue), color) << key;
    }
}

TEST(Theme, StylesDrawInTheThemeTextColour)
{
    const FNRGB text = FNThemeRGB(FNThemeKey::Text);
    FNStringStyle style;
    EXPECT_EQ(style.red, text.red);
    EXPECT_EQ(style.green, text.green);
    EXPECT_EQ(style.blue, text.blue);
}
