#pragma once

#include "imaging/FNString.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

class FNImage;

// The start shared by the loaders of the program's own formats (BMP, TGA):
// check the extension against the format's spellings, open the file and read
// all of it into `file`, so the decoder works from memory. On failure the
// picture's message is the wrong-extension text or the format's own
// cannot-open text, followed by the file name, and the result is false; the
// picture is not touched otherwise.
bool readFileToLoad(FNImage& image, const FNString& fileName, std::initializer_list<const char*> extensions,
    const char* cannotOpen, std::vector<uint8_t>& file);

// Stores text + file name in the picture's message and returns false, so a
// codec can end with `return failWith(...)`.
bool failWith(FNImage& image, const char* text, const FNString& fileName);
