#include "imaging/text/Utf8.h"

namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Length announced by a lead byte, or 0 for a byte that cannot lead.
// Overlong two-byte leads (C0, C1) and leads beyond U+10FFFF (F5..FF) are
// rejected here; the remaining overlong and surrogate forms by utf8Decode.
size_t leadLength(unsigned char byte)
{
    if (byte < 0x80)
        return 1;
    if (byte >= 0xC2 && byte <= 0xDF)
        return 2;
    if (byte >= 0xE0 && byte <= 0xEF)
        return 3;
    if (byte >= 0xF0 && byte <= 0xF4)
        return 4;
    return 0;
}

// The code point of a well-formed sequence of `length` bytes at `p`, or
// kUtf8Replacement for an overlong form, a surrogate or a value past U+10FFFF.
uint32_t decodeSequence(const unsigned char* p, size_t length)
{
    static const uint32_t minimum[5] = { 0, 0, 0x80, 0x800, 0x10000 };
    uint32_t code = length == 1 ? p[0] : (p[0] & (0x7F >> length));
    for (size_t i = 1; i < length; ++i)
        code = code << 6 | (p[i] & 0x3F);
    if (code < minimum[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return kUtf8Replacement;
    return code;
}

} // namespace

size_t utf8LetterLength(const std::string& text, size_t pos)
{
    if (pos >= text.size())
        return 0;
    const size_t length = leadLength(static_cast<unsigned char>(text[pos]));
    if (length == 0 || pos + length > text.size())
        return 1;
    for (size_t i = 1; i < length; ++i) {
        if (!isContinuation(static_cast<unsigned char>(text[pos + i])))
            return 1;
    }
    return length;
}

size_t utf8NextBoundary(const std::string& text, size_t pos)
{
    if (pos >= text.size())
        return text.size();
    return pos + utf8LetterLength(text, pos);
}

size_t utf8PreviousBoundary(const std::string& text, size_t pos)
{
    if (pos > text.size())
        pos = text.size();
    if (pos == 0)
        return 0;
    // A letter is at most four bytes: look back that far for a lead byte
    // whose letter covers pos - 1; otherwise the previous byte stands alone.
    const size_t earliest = pos >= 4 ? pos - 4 : 0;
    for (size_t start = pos - 1;; --start) {
        if (!isContinuation(static_cast<unsigned char>(text[start]))) {
            if (start + utf8LetterLength(text, start) >= pos)
                return start;
            break;
        }
        if (start == earliest)
            break;
    }
    return pos - 1;
}

uint32_t utf8Decode(const std::string& text, size_t& pos)
{
    const size_t length = utf8LetterLength(text, pos);
    if (length == 0)
        return kUtf8Replacement;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data()) + pos;
    pos += length;
    if (length == 1)
        return p[0] < 0x80 ? p[0] : kUtf8Replacement;
    return decodeSequence(p, length);
}

size_t utf8CutLength(const std::string& text, size_t limit)
{
    if (text.size() <= limit)
        return text.size();
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t next = utf8NextBoundary(text, pos);
        if (next > limit)
            break;
        pos = next;
    }
    return pos;
}

std::string utf8Cut(const std::string& text, size_t limit)
{
    return text.substr(0, utf8CutLength(text, limit));
}
