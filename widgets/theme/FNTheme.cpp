#include "widgets/theme/FNTheme.h"

#include "framework/core/FNBackgroundColor.h"
#include "imaging/text/FNTextColor.h"

namespace {

struct ThemeEntry {
    const char* key;
    uint32_t color;
};

constexpr uint32_t rgb(uint32_t red, uint32_t green, uint32_t blue)
{
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

// The text and background colours come from the layers below, which draw
// in them before any widget exists.
const ThemeEntry kWhiteFern[] = {
    { FNThemeKey::Background, kFNBackgroundColor },
    { FNThemeKey::Main0, rgb(46, 130, 85) },
    { FNThemeKey::Main1, rgb(181, 224, 193) },
    { FNThemeKey::Main2, rgb(255, 255, 236) },
    { FNThemeKey::Base0, rgb(110, 117, 118) },
    { FNThemeKey::Base1, rgb(215, 221, 225) },
    { FNThemeKey::Base2, rgb(248, 255, 255) },
    { FNThemeKey::Accent0, rgb(170, 140, 100) },
    { FNThemeKey::Accent1, rgb(255, 222, 115) },
    { FNThemeKey::Accent2, rgb(255, 255, 231) },
    { FNThemeKey::Text, kFNDefaultTextColor },
    { FNThemeKey::Title, rgb(40, 80, 58) },
};

} // namespace

const char* FNThemeName()
{
    return "WhiteFern";
}

uint32_t FNThemeColor(const FNString& key)
{
    for (const ThemeEntry& entry : kWhiteFern) {
        if (key == entry.key)
            return entry.color;
    }
    return 0;
}

FNRGB FNThemeRGB(const FNString& key)
{
    const uint32_t color = FNThemeColor(key);
    return { static_cast<int>(color >> 16 & 0xFF), static_cast<int>(color >> 8 & 0xFF),
        static_cast<int>(color & 0xFF) };
}
