#pragma once

#include "imaging/FNString.h"
#include "imaging/text/FNFont.h"

#include <cstdint>
#include <memory>

// Layout flags of FNStringStyle::format (the values of the platform's
// formatted-text flags, so stored formats keep their meaning). Left and top
// alignment are the default; vertical centring and bottom alignment act on
// single-line layouts only.
enum FNTextFormat : uint32_t {
    FNTextLeft = 0x0000,
    FNTextCenter = 0x0001, // each line centred horizontally
    FNTextRight = 0x0002, // each line against the right edge
    FNTextVCenter = 0x0004, // with FNTextSingleLine: centred vertically
    FNTextBottom = 0x0008, // with FNTextSingleLine: against the bottom edge
    FNTextWordBreak = 0x0010, // lines wider than the box break between words
    FNTextSingleLine = 0x0020, // "\n" does not start a new line
    FNTextNoPrefix = 0x0800, // always in effect: "&" is drawn literally
};

// The system version code that chooses the default face and the extra
// centring pixel; 0 on this platform.
int FNSystemVersionCode();

// FNStringStyle: how text looks. The font is remade whenever one of the
// fields it depends on changes (through the setters or copyFrom); fonts are
// shared through FNFont's cache, so remaking is a lookup.
// Thread: the application thread, or inside a look (serialised there).
class FNStringStyle {
public:
    FNStringStyle();
    virtual ~FNStringStyle();

    FNStringStyle(const FNStringStyle&) = delete;
    FNStringStyle& operator=(const FNStringStyle&) = delete;

    // Copies size, face, format, colour, bold and italic, then remakes the
    // font; `name` is not copied.
    void copyFrom(const FNStringStyle& other);
    void setFace(const FNString& newFace);
    void setSize(int newSize);
    void setFormat(uint32_t newFormat);
    void setColor(int newRed, int newGreen, int newBlue);
    void setBold(bool newBold);
    void setItalic(bool newItalic);

    // The font's pixel height: `size`, or 1.5 times it from version code 7.
    int fontHeight() const;

    bool valid = false;
    std::shared_ptr<FNFont> font;
    FNString name;
    FNString face;
    int32_t size = 12;
    uint32_t format = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool bold = false;
    bool italic = false;

private:
    void makeFont();
};

// The process-wide default style, made on first use and destroyed at exit.
FNStringStyle& FNDefaultStringStyle();

// The process-wide style for text of disabled items: a copy of `style`
// (null: the default style) with each colour byte moved halfway to white.
// Each call overwrites the previous copy.
FNStringStyle& FNLightenedStringStyle(const FNStringStyle* style);
