#pragma once

#include "imaging/FNString.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Font resolution through fontconfig. The program names Windows faces ("ＭＳ
// Ｐゴシック", "ＭＳ ゴシック", "メイリオ"); they are mapped to installed
// families with the same metrics where such exist (the IPA gothic fonts),
// and otherwise to fontconfig's best match for Japanese text.

// One font file of a resolved font, in fontconfig's order of preference.
struct FNFontSource {
    std::string file;
    int index = 0;
    std::string family;
    bool isBold = false; // the face itself is bold; no emboldening needed
    bool isSlanted = false; // the face itself is italic or oblique
    std::shared_ptr<const void> charset; // FcCharSet*, released with the source
    bool covers(uint32_t code) const;
};

// The family actually asked of fontconfig for a face name of the program.
std::string fontFamilyFor(const FNString& face);

// The primary font (first) followed by fallback fonts for letters the
// primary lacks. Empty only when fontconfig knows no font at all.
std::vector<FNFontSource> resolveFontSources(const FNString& face, bool bold, bool italic);
