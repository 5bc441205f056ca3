#pragma once

#include <cstddef>
#include <string>

// Length of the longest prefix of text (UTF-8) that fits into limit bytes
// without splitting a letter: a cut never leaves the lead byte of a letter
// without all its continuation bytes. Bytes that are not valid UTF-8 count
// as letters of one byte each, so malformed text is cut byte-wise.
size_t FNUtf8CutLength(const std::string& text, size_t limit);
// text cut to FNUtf8CutLength(text, limit) bytes.
std::string FNUtf8Cut(const std::string& text, size_t limit);
