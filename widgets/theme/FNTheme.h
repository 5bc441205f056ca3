#pragma once

#include "imaging/FNString.h"

#include <cstdint>

// The built-in colour theme "WhiteFern". Colours are looked up by key (exact,
// case-sensitive) and returned as pixel words 0xAARRGGBB with alpha 255; an
// unknown key gives 0. Three-tone sets work together in the looks: tone 0
// for outlines, tones 1 and 2 for the body gradient.
namespace FNThemeKey {
constexpr const char* Background = "background"; // window and panel background
constexpr const char* Main0 = "main0"; // highlight set (hover, pressed): dark
constexpr const char* Main1 = "main1"; //   middle
constexpr const char* Main2 = "main2"; //   light
constexpr const char* Base0 = "base0"; // normal set: dark (outlines)
constexpr const char* Base1 = "base1"; //   middle
constexpr const char* Base2 = "base2"; //   light
constexpr const char* Accent0 = "accent0"; // "on" set: dark
constexpr const char* Accent1 = "accent1"; //   middle
constexpr const char* Accent2 = "accent2"; //   light
constexpr const char* Text = "text"; // text colour
constexpr const char* Title = "title"; // window title colour
} // namespace FNThemeKey

const char* FNThemeName();
uint32_t FNThemeColor(const FNString& key);

// A colour split into channels for arithmetic in the looks.
struct FNRGB {
    int red = 0;
    int green = 0;
    int blue = 0;
};

FNRGB FNThemeRGB(const FNString& key);
