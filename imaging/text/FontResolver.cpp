#include "imaging/text/FontResolver.h"

#include <fontconfig/fontconfig.h>

namespace {

struct FaceMapping {
    const char* programFace;
    const char* family;
};

// IPAPGothic and IPAGothic are drawn to the metrics of the two MS gothic
// faces, so panel layouts keep their proportions.
const FaceMapping kFaceMappings[] = {
    { "ＭＳ Ｐゴシック", "IPAPGothic" },
    { "ＭＳ ゴシック", "IPAGothic" },
};

FNFontSource sourceFrom(FcPattern* font)
{
    FNFontSource source;
    FcChar8* text = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &text) == FcResultMatch)
        source.file = reinterpret_cast<const char*>(text);
    if (FcPatternGetString(font, FC_FAMILY, 0, &text) == FcResultMatch)
        source.family = reinterpret_cast<const char*>(text);
    FcPatternGetInteger(font, FC_INDEX, 0, &source.index);
    int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(font, FC_SLANT, 0, &slant);
    source.isBold = weight >= FC_WEIGHT_DEMIBOLD;
    source.isSlanted = slant != FC_SLANT_ROMAN;
    FcCharSet* charset = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) == FcResultMatch && charset) {
        source.charset = std::shared_ptr<const void>(FcCharSetCopy(charset),
            [](const void* set) { FcCharSetDestroy(static_cast<FcCharSet*>(const_cast<void*>(set))); });
    }
    return source;
}

} // namespace

bool FNFontSource::covers(uint32_t code) const
{
    // Without a character set the font file itself decides (the caller
    // asks FreeType for the glyph index).
    if (!charset)
        return true;
    return FcCharSetHasChar(static_cast<FcCharSet*>(const_cast<void*>(charset.get())), code);
}

std::string fontFamilyFor(const FNString& face)
{
    for (const FaceMapping& mapping : kFaceMappings) {
        if (face == mapping.programFace)
            return mapping.family;
    }
    return face.str();
}

std::vector<FNFontSource> resolveFontSources(const FNString& face, bool bold, bool italic)
{
    std::vector<FNFontSource> sources;
    FcPattern* pattern = FcPatternCreate();
    const std::string family = fontFamilyFor(face);
    if (!family.empty())
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    // The user-interface texts are Japanese: a missing family falls back to
    // the best Japanese font rather than to a Latin-only one.
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BLACK : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);

    FcResult result = FcResultNoMatch;
    FcFontSet* set = FcFontSort(nullptr, pattern, FcTrue, nullptr, &result);
    if (set) {
        for (int i = 0; i < set->nfont; ++i) {
            FNFontSource source = sourceFrom(set->fonts[i]);
            if (!source.file.empty())
                sources.push_back(std::move(source));
        }
        FcFontSetDestroy(set);
    }
    FcPatternDestroy(pattern);
    return sources;
}

// fontconfig 2.14 loses a few hundred bytes while parsing its configuration
// files on first use; nothing a caller does reaches them. Builds with the
// leak checker ignore allocations made inside fontconfig, and only those.
// Weak, so that a program with its own suppression list keeps it.
#if defined(__SANITIZE_ADDRESS__)
#define TESSERINE_LEAK_CHECKER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSERINE_LEAK_CHECKER 1
#endif
#endif
#if defined(TESSERINE_LEAK_CHECKER)
extern "C" __attribute__((weak, used)) const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" __attribute__((weak, used)) const char* __lsan_default_options()
{
    return "print_suppressions=0";
}
#endif
