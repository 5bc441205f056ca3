#pragma once

#include "imaging/FNString.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class FNFont;
class FNStringStyle;

struct FNTextSize {
    int width = 0;
    int height = 0;
};

struct FNTextPosition {
    int x = 0;
    int y = 0;
};

// Number of "\n" in the text plus one.
int lineCount(const FNString& text);
// The line (between "\n" separators) with the most bytes; the earlier one
// on ties.
FNString longestLine(const FNString& text);

// Width and height of the text in pixels: the width of its widest line and
// the font's cell height times lineCount(). A null font means the default
// style's font.
FNTextSize measureString(const FNString& text, FNFont* font);

// The position that centres the text in a box of boxWidth x boxHeight;
// (0, 0) for empty text. A null style means the default style.
FNTextPosition centerString(const FNStringStyle* style, int boxWidth, int boxHeight, const FNString& text);

// ---- Layout used by drawing ------------------------------------------------

// One laid-out line: bytes [begin, end) of the text, its width in pixels and
// its pen position.
struct FNTextLine {
    size_t begin = 0;
    size_t end = 0;
    int width = 0;
    int x = 0;
    int y = 0;
};

// Tab stops lie every eight space widths from the start of a line.
int nextTabStop(int pen, FNFont& font);

// Pixel width of bytes [begin, end) of the text; tabs advance to the next
// multiple of eight space widths from `begin`.
int textWidth(const std::string& text, size_t begin, size_t end, FNFont& font);

// Splits the text into lines and places them in a box of boxWidth x
// boxHeight following the format flags (FNTextFormat).
std::vector<FNTextLine> layoutText(const std::string& text, FNFont& font, uint32_t format, int boxWidth, int boxHeight);
