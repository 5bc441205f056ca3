#include "imaging/text/FNStringStyle.h"

#include "imaging/text/FNTextColor.h"

#include <algorithm>

namespace {

// Sizes beyond this would only make huge temporary pictures and glyphs.
constexpr int kLargestFontHeight = 1024;

} // namespace

int FNSystemVersionCode()
{
    return 0;
}

FNStringStyle::FNStringStyle()
    : face(FNSystemVersionCode() == 7 ? "メイリオ" : "ＭＳ Ｐゴシック")
    , red(static_cast<uint8_t>(kFNDefaultTextColor >> 16))
    , green(static_cast<uint8_t>(kFNDefaultTextColor >> 8))
    , blue(static_cast<uint8_t>(kFNDefaultTextColor))
{
    valid = true;
    makeFont();
}

FNStringStyle::~FNStringStyle() = default;

int FNStringStyle::fontHeight() const
{
    const int height = FNSystemVersionCode() >= 7 ? static_cast<int>(size * 1.5) : size;
    return std::clamp(height, 1, kLargestFontHeight);
}

void FNStringStyle::makeFont()
{
    if (!valid)
        return;
    font.reset();
    font = FNFont::make(face, fontHeight(), bold, italic);
}

void FNStringStyle::copyFrom(const FNStringStyle& other)
{
    size = other.size;
    face = other.face;
    format = other.format;
    red = other.red;
    green = other.green;
    blue = other.blue;
    bold = other.bold;
    italic = other.italic;
    makeFont();
}

void FNStringStyle::setFace(const FNString& newFace)
{
    face = newFace;
    makeFont();
}

void FNStringStyle::setSize(int newSize)
{
    size = newSize;
    makeFont();
}

void FNStringStyle::setFormat(uint32_t newFormat)
{
    format = newFormat;
    makeFont();
}

void FNStringStyle::setColor(int newRed, int newGreen, int newBlue)
{
    red = static_cast<uint8_t>(std::clamp(newRed, 0, 255));
    green = static_cast<uint8_t>(std::clamp(newGreen, 0, 255));
    blue = static_cast<uint8_t>(std::clamp(newBlue, 0, 255));
    makeFont();
}

void FNStringStyle::setBold(bool newBold)
{
    bold = newBold;
    makeFont();
}

void FNStringStyle::setItalic(bool newItalic)
{
    italic = newItalic;
    makeFont();
}

FNStringStyle& FNDefaultStringStyle()
{
    static FNStringStyle style;
    return style;
}

FNStringStyle& FNLightenedStringStyle(const FNStringStyle* style)
{
    static FNStringStyle lightened;
    const FNStringStyle& from = style ? *style : FNDefaultStringStyle();
    lightened.copyFrom(from);
    // (byte + 255) >> 1: halfway to white
    lightened.setColor((from.red + 255) >> 1, (from.green + 255) >> 1, (from.blue + 255) >> 1);
    return lightened;
}
