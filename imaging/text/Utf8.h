#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// UTF-8 letter boundaries. Fern's text is 8-bit multi-byte; on Linux that is
// UTF-8. Everything that steps through letters (text layout, the text box's
// caret and deletion) goes through these functions so that no code splits a
// multi-byte letter. Malformed input never stops the walk: a byte that does
// not start a valid sequence counts as a one-byte letter.

// The code point U+FFFD stands in for malformed bytes.
constexpr uint32_t kUtf8Replacement = 0xFFFD;

// Number of bytes of the letter starting at `pos` (1 to 4), or 0 at or past
// the end of the text.
size_t utf8LetterLength(const std::string& text, size_t pos);

// The byte offset of the next letter after the one at `pos`; the text's
// length when `pos` is on the last letter or beyond.
size_t utf8NextBoundary(const std::string& text, size_t pos);

// The byte offset of the letter that ends at `pos` (the letter before the
// caret position `pos`); 0 at the start. A `pos` inside a letter moves to
// that letter's start.
size_t utf8PreviousBoundary(const std::string& text, size_t pos);

// Decodes the letter at `pos` and advances `pos` past it. Returns
// kUtf8Replacement for a malformed byte (and advances by one byte).
uint32_t utf8Decode(const std::string& text, size_t& pos);

// Length of the longest prefix of `text` that fits in `limit` bytes without
// splitting a letter (fixed-size limits such as input-method text).
size_t utf8CutLength(const std::string& text, size_t limit);
// `text` cut to utf8CutLength(text, limit) bytes.
std::string utf8Cut(const std::string& text, size_t limit);
