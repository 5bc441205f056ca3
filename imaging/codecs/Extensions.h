#pragma once

#include "imaging/FNString.h"

#include <initializer_list>

// True when the file name's extension is exactly one of the spellings
// (byte for byte; "Png" is not "png").
inline bool extensionIs(const FNString& fileName, std::initializer_list<const char*> spellings)
{
    const FNString ext = fileName.extension();
    for (const char* s : spellings) {
        if (ext == s)
            return true;
    }
    return false;
}

// The message of a codec called directly with a name of another format.
constexpr char kWrongExtensionText[] = "拡張子が間違っています。:\n";

constexpr std::initializer_list<const char*> kBMPExtensions = { "bmp", "BMP" };
constexpr std::initializer_list<const char*> kJPEGExtensions = { "jpg", "JPG", "jpeg", "JPEG" };
constexpr std::initializer_list<const char*> kPNGExtensions = { "png", "PNG" };
constexpr std::initializer_list<const char*> kTGAExtensions = { "tga", "TGA" };
