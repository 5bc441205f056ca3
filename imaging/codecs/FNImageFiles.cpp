// FNImage::load and FNImage::save: the format table.
//
// load accepts only the extensions of the four formats, then lets the
// file's first bytes overrule the extension: a JPEG renamed to .png is read
// as JPEG, a PNG named .jpg as PNG. PNG, JPEG and BMP have signatures; TGA
// has none, so a .tga file with no other signature is read as TGA. save
// goes by the extension alone.
#include "imaging/FNImage.h"
#include "imaging/codecs/CodecSupport.h"
#include "imaging/codecs/Extensions.h"
#include "imaging/codecs/FNFileStream.h"

#include <cstring>

namespace {

constexpr char kUnsupportedExtension[] = "非対応の拡張子です:\n";

const ImageFormat* const kFormats[] = { &kBMPFormat, &kJPEGFormat, &kPNGFormat, &kTGAFormat };

// Exact, case-sensitive spellings: "Png" or "Bmp" are not accepted.
const ImageFormat* formatByExtension(const FNString& fileName)
{
    for (const ImageFormat* format : kFormats) {
        if (extensionIs(fileName, format->extensions))
            return format;
    }
    return nullptr;
}

constexpr uint8_t kPNGSignature[] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
constexpr uint8_t kJPEGSignature[] = { 0xFF, 0xD8, 0xFF }; // start of image, then any marker

// A BMP starts with "BM" and, 14 bytes in, the size of one of the
// information headers that exist; two letters alone would be too weak.
bool looksLikeBMP(const uint8_t* head, size_t count)
{
    if (count < 18 || head[0] != 'B' || head[1] != 'M')
        return false;
    const uint32_t infoSize
        = uint32_t(head[14]) | uint32_t(head[15]) << 8 | uint32_t(head[16]) << 16 | uint32_t(head[17]) << 24;
    for (uint32_t known : { 12u, 40u, 52u, 56u, 64u, 108u, 124u }) {
        if (infoSize == known)
            return true;
    }
    return false;
}

// The format the file's first bytes name, or the one its extension named.
const ImageFormat& formatByContent(FNFileReader& file, const ImageFormat& byExtension)
{
    uint8_t head[18] = {};
    const size_t count = file.peek(head, sizeof(head));
    if (count >= sizeof(kPNGSignature) && std::memcmp(head, kPNGSignature, sizeof(kPNGSignature)) == 0)
        return kPNGFormat;
    if (count >= sizeof(kJPEGSignature) && std::memcmp(head, kJPEGSignature, sizeof(kJPEGSignature)) == 0)
        return kJPEGFormat;
    if (looksLikeBMP(head, count))
        return kBMPFormat;
    return byExtension;
}

bool refuseExtension(FNImage& image, const FNString& fileName)
{
    return failWith(image, FNImageFailure::WrongExtension, kUnsupportedExtension, fileName, "");
}

} // namespace

bool FNImage::load(const FNString& fileName)
{
    const ImageFormat* byExtension = formatByExtension(fileName);
    if (!byExtension)
        return refuseExtension(*this, fileName);
    FNFileReader file;
    if (!openToLoad(*this, file, fileName, *byExtension))
        return false;
    return formatByContent(file, *byExtension).decode(*this, file, fileName);
}

bool FNImage::save(const FNString& fileName)
{
    const ImageFormat* format = formatByExtension(fileName);
    if (format == &kBMPFormat)
        return saveBMP(fileName);
    if (format == &kJPEGFormat)
        return saveJPEG(fileName, 85);
    if (format == &kPNGFormat)
        return savePNG(fileName, 32);
    if (format == &kTGAFormat)
        return saveTGA(fileName, 32);
    return refuseExtension(*this, fileName);
}
