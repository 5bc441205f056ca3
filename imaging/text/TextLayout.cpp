#include "imaging/text/TextLayout.h"

#include "imaging/text/FNFont.h"
#include "imaging/text/FNStringStyle.h"
#include "imaging/text/Utf8.h"

#include <algorithm>

namespace {

constexpr int kTabSpaces = 8;

// Bytes [begin, end) of every "\n"-separated line.
std::vector<std::pair<size_t, size_t>> splitLines(const std::string& text)
{
    std::vector<std::pair<size_t, size_t>> lines;
    size_t begin = 0;
    for (;;) {
        const size_t end = text.find('\n', begin);
        if (end == std::string::npos) {
            lines.emplace_back(begin, text.size());
            return lines;
        }
        lines.emplace_back(begin, end);
        begin = end + 1;
    }
}

// Breaks one line into pieces no wider than maxWidth: after the last space
// that fits, or between letters when a single word is too wide (as CJK text
// has no spaces). Leading spaces of a continuation piece are dropped.
void breakLine(const std::string& text, size_t begin, size_t end, FNFont& font, int maxWidth,
    std::vector<std::pair<size_t, size_t>>& pieces)
{
    while (begin < end) {
        size_t pos = begin, lastSpace = std::string::npos, fit = begin;
        while (pos < end) {
            const size_t next = utf8NextBoundary(text, pos);
            const bool space = text[pos] == ' ';
            if (space)
                lastSpace = pos;
            if (textWidth(text, begin, next, font) > maxWidth && fit > begin)
                break;
            fit = pos = next;
        }
        const size_t cut = (pos < end && lastSpace != std::string::npos && lastSpace > begin) ? lastSpace : fit;
        pieces.emplace_back(begin, cut);
        begin = cut;
        while (begin < end && text[begin] == ' ')
            ++begin;
    }
}

} // namespace

int lineCount(const FNString& text)
{
    return static_cast<int>(std::count(text.str().begin(), text.str().end(), '\n')) + 1;
}

FNString longestLine(const FNString& text)
{
    std::pair<size_t, size_t> best { 0, 0 };
    for (const auto& line : splitLines(text.str())) {
        if (line.second - line.first > best.second - best.first)
            best = line;
    }
    return FNString(text.str().substr(best.first, best.second - best.first));
}

int nextTabStop(int pen, FNFont& font)
{
    const int tab = std::max(1, kTabSpaces * font.glyph(' ').advance);
    return (pen / tab + 1) * tab;
}

int textWidth(const std::string& text, size_t begin, size_t end, FNFont& font)
{
    std::lock_guard<std::recursive_mutex> guard(FNFont::textLock());
    int width = 0;
    for (size_t pos = begin; pos < end;) {
        const uint32_t code = utf8Decode(text, pos);
        width = code == '\t' ? nextTabStop(width, font) : width + font.glyph(code).advance;
    }
    return width;
}

// The widest line decides the width: a line with fewer bytes can still be
// wider (Latin against Japanese letters), and must not be cut off.
FNTextSize measureString(const FNString& text, FNFont* font)
{
    if (!font)
        font = FNDefaultStringStyle().font.get();
    FNTextSize size;
    if (!font)
        return size;
    for (const auto& line : splitLines(text.str()))
        size.width = std::max(size.width, textWidth(text.str(), line.first, line.second, *font));
    size.height = font->cellHeight() * lineCount(text);
    return size;
}

FNTextPosition centerString(const FNStringStyle* style, int boxWidth, int boxHeight, const FNString& text)
{
    if (text.empty())
        return {};
    const FNStringStyle& used = style ? *style : FNDefaultStringStyle();
    const FNTextSize size = measureString(text, used.font.get());
    FNTextPosition position { boxWidth / 2 - size.width / 2, boxHeight / 2 - size.height / 2 };
    if (style && FNSystemVersionCode() >= 7)
        position.y += 1;
    return position;
}

std::vector<FNTextLine> layoutText(const std::string& text, FNFont& font, uint32_t format, int boxWidth, int boxHeight)
{
    std::vector<std::pair<size_t, size_t>> pieces;
    const bool singleLine = format & FNTextSingleLine;
    const auto lines = singleLine ? std::vector<std::pair<size_t, size_t>> { { 0, text.size() } } : splitLines(text);
    for (const auto& line : lines) {
        if ((format & FNTextWordBreak) && !singleLine)
            breakLine(text, line.first, line.second, font, boxWidth, pieces);
        else
            pieces.push_back(line);
        if (line.first == line.second && (format & FNTextWordBreak) && !singleLine)
            pieces.push_back(line); // an empty line still takes a row
    }
    std::vector<FNTextLine> laidOut;
    const int lineHeight = font.cellHeight();
    int y = 0;
    if (singleLine && (format & FNTextVCenter))
        y = (boxHeight - lineHeight) / 2;
    else if (singleLine && (format & FNTextBottom))
        y = boxHeight - lineHeight;
    for (const auto& piece : pieces) {
        FNTextLine line { piece.first, piece.second, textWidth(text, piece.first, piece.second, font), 0, y };
        if (format & FNTextCenter)
            line.x = (boxWidth - line.width) / 2;
        else if (format & FNTextRight)
            line.x = boxWidth - line.width;
        laidOut.push_back(line);
        y += lineHeight;
    }
    return laidOut;
}
