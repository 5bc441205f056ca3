#include "framework/platform/FNUtf8Cut.h"

namespace {

// Bytes of the letter whose lead byte is lead: 1 for ASCII and for bytes that
// cannot start a letter, else 2, 3 or 4.
size_t letterLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 1;
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Bytes of the letter at offset: its expected length when all continuation
// bytes are present, else 1 (the lead byte alone is taken as a letter).
size_t letterAt(const std::string& text, size_t offset)
{
    const size_t length = letterLength(static_cast<unsigned char>(text[offset]));
    if (offset + length > text.size())
        return 1;
    for (size_t i = 1; i < length; ++i) {
        if (!isContinuation(static_cast<unsigned char>(text[offset + i])))
            return 1;
    }
    return length;
}

} // namespace

size_t FNUtf8CutLength(const std::string& text, size_t limit)
{
    if (text.size() <= limit)
        return text.size();
    size_t offset = 0;
    while (offset < text.size()) {
        const size_t length = letterAt(text, offset);
        if (offset + length > limit)
            break;
        offset += length;
    }
    return offset;
}

std::string FNUtf8Cut(const std::string& text, size_t limit)
{
    return text.substr(0, FNUtf8CutLength(text, limit));
}
