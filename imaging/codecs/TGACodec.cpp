// TGA reader and writer of FNImage.
//
// Reads colour-mapped (type 1, 8-bit indices), true-colour (type 2) and
// run-length true-colour (type 10) files of 24 and 32 bits in all four row
// and column orders. Writes uncompressed true colour of 24 or 32 bits.
#include "imaging/FNImage.h"
#include "imaging/codecs/ByteCursor.h"
#include "imaging/codecs/CodecSupport.h"
#include "imaging/codecs/Extensions.h"
#include "imaging/codecs/FNFileStream.h"
#include "imaging/codecs/ImageLimits.h"
#include "imaging/codecs/RunLength.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr char kCannotOpen[] = "ファイルが読み込めませんでした:\n";
constexpr char kUnsupported[] = "対応していないTARGA形式のファイルです:\n";
constexpr char kNothingToSave[] = "データがありません。保存に失敗しました:\n";
constexpr char kBadDepth[] = "指定できる色深度は24,32bitのいずれかです。:\n";
constexpr char kCannotWrite[] = "ファイルを書き込めませんでした。:\n";

constexpr size_t kHeaderSize = 18;
constexpr uint8_t kTypeColorMapped = 1;
constexpr uint8_t kTypeTrueColor = 2;
constexpr uint8_t kTypeRunLengthTrueColor = 10;
constexpr uint8_t kRightToLeft = 0x10; // descriptor bit 4
constexpr uint8_t kTopDown = 0x20; // descriptor bit 5
constexpr int kMaxSavedSide = 0xFFFF; // the size fields are 16 bits

struct TGAHeader {
    uint8_t idLength = 0;
    uint8_t colorMapType = 0;
    uint8_t imageType = 0;
    uint16_t firstEntry = 0;
    uint16_t mapLength = 0;
    uint8_t entryBits = 0;
    uint16_t xOrigin = 0;
    uint16_t yOrigin = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t depth = 0;
    uint8_t descriptor = 0;
};

// One pixel as the image stores it: blue, green, red, alpha.
struct Pixel {
    uint8_t b, g, r, a;
};

using Palette = std::array<Pixel, 256>;

bool readHeader(ByteCursor& in, TGAHeader& h)
{
    return in.u8(h.idLength) && in.u8(h.colorMapType) && in.u8(h.imageType) && in.u16le(h.firstEntry)
        && in.u16le(h.mapLength) && in.u8(h.entryBits) && in.u16le(h.xOrigin) && in.u16le(h.yOrigin)
        && in.u16le(h.width) && in.u16le(h.height) && in.u8(h.depth) && in.u8(h.descriptor);
}

bool supportedType(const TGAHeader& h)
{
    if (h.imageType == kTypeColorMapped)
        return h.mapLength != 0 && h.entryBits != 0;
    return h.imageType == kTypeTrueColor || h.imageType == kTypeRunLengthTrueColor;
}

size_t entryBytes(const TGAHeader& h)
{
    return (size_t(h.entryBits) + 7) / 8;
}

// Bytes of colour map in the file: a colour-mapped picture always has one,
// a true-colour picture only when the map type says so.
size_t colorMapBytes(const TGAHeader& h)
{
    const bool present = h.imageType == kTypeColorMapped || h.colorMapType == 1;
    return present ? size_t(h.mapLength) * entryBytes(h) : 0;
}

// 8 bits from a 5-bit channel: v * 255 / 31, done as (v << 3) | (v >> 2).
uint8_t expand5(unsigned v)
{
    return uint8_t((v << 3) | (v >> 2));
}

// Entries of 3 or more bytes start blue, green, red; 2-byte entries are
// 5-5-5 (x rrrrr ggggg bbbbb, little-endian); 1-byte entries are grey.
Pixel paletteEntry(const uint8_t* e, size_t bytes)
{
    if (bytes >= 3)
        return Pixel { e[0], e[1], e[2], 255 };
    if (bytes == 2) {
        const unsigned v = unsigned(e[0]) | unsigned(e[1]) << 8;
        return Pixel { expand5(v & 31), expand5((v >> 5) & 31), expand5((v >> 10) & 31), 255 };
    }
    return Pixel { e[0], e[0], e[0], 255 };
}

// Index i selects map entry i - firstEntry; indices with no entry in the
// map (or in the file) are opaque black.
Palette readPalette(ByteCursor in, const TGAHeader& h)
{
    Palette palette;
    palette.fill(Pixel { 0, 0, 0, 255 });
    const size_t bytes = entryBytes(h);
    if (bytes == 0)
        return palette;
    for (size_t entry = 0; entry < h.mapLength; ++entry) {
        const uint8_t* e = in.take(bytes);
        if (!e)
            break;
        const size_t index = entry + h.firstEntry;
        if (index >= palette.size())
            break;
        palette[index] = paletteEntry(e, bytes);
    }
    return palette;
}

// Fills row with the next file row; false when the file ends first.
bool nextRow(ByteCursor& in, TGARunDecoder* rle, std::vector<uint8_t>& row)
{
    if (rle)
        return rle->decode(row.data(), row.size()) == row.size();
    const uint8_t* bytes = in.take(row.size());
    if (bytes)
        std::memcpy(row.data(), bytes, row.size());
    return bytes != nullptr;
}

// False when the pixel data end before the picture does.
bool decodePixels(FNImage& image, const TGAHeader& h, ByteCursor& in, const Palette& palette)
{
    const size_t pixelSize = h.depth / 8;
    TGARunDecoder decoder(in, pixelSize);
    TGARunDecoder* rle = h.imageType == kTypeRunLengthTrueColor && h.depth != 8 ? &decoder : nullptr;
    const bool topDown = h.descriptor & kTopDown;
    const bool rightToLeft = h.descriptor & kRightToLeft;
    const int width = image.width;
    std::vector<uint8_t> row(size_t(width) * pixelSize);
    for (int r = 0; r < image.height; ++r) {
        if (!nextRow(in, rle, row))
            return false;
        Pixel* dst = reinterpret_cast<Pixel*>(image.row(topDown ? r : image.height - 1 - r));
        const uint8_t* src = row.data();
        if (pixelSize == 4 && !rightToLeft) {
            std::memcpy(dst, src, row.size()); // B, G, R, A unchanged
            continue;
        }
        for (int i = 0; i < width; ++i, src += pixelSize) {
            const int x = rightToLeft ? width - 1 - i : i;
            if (pixelSize == 4)
                dst[x] = Pixel { src[0], src[1], src[2], src[3] }; // B, G, R, A unchanged
            else if (pixelSize == 3)
                dst[x] = Pixel { src[0], src[1], src[2], 255 }; // B, G, R, opaque
            else
                dst[x] = palette[src[0]];
        }
    }
    return true;
}

void put16(uint8_t* out, int v)
{
    out[0] = uint8_t(v);
    out[1] = uint8_t(v >> 8);
}

// Why a header is refused (cause and detail), or None.
std::pair<FNImageFailure, const char*> refusalOf(const TGAHeader& h)
{
    if (!supportedType(h)) {
        switch (h.imageType) {
        case 3:
            return { FNImageFailure::UnsupportedVariant, "TGA type 3 (grey)" };
        case 9:
            return { FNImageFailure::UnsupportedVariant, "TGA type 9 (run-length colour-mapped)" };
        case 11:
            return { FNImageFailure::UnsupportedVariant, "TGA type 11 (run-length grey)" };
        default:
            return { FNImageFailure::NotThisFormat, "TGA" };
        }
    }
    if (h.width == 0 || h.height == 0)
        return { FNImageFailure::NotThisFormat, "TGA" };
    if (!pictureSizeAcceptable(int64_t(h.width), int64_t(h.height)))
        return { FNImageFailure::TooLarge, "" };
    return { FNImageFailure::None, "" };
}

// Validates, then decodes into a scratch picture, so that a refused or cut
// off file leaves `image` as it was.
bool decodeTGA(FNImage& image, FNFileReader& reader, const FNString& fileName)
{
    const std::vector<uint8_t> file = reader.readAll();
    if (reader.error())
        return failWith(image, readFailureOf(reader.error()), kCannotOpen, fileName, systemReason(reader.error()));
    ByteCursor in(file.data(), file.size());
    TGAHeader h;
    if (!readHeader(in, h))
        return failWith(image, FNImageFailure::Truncated, kUnsupported, fileName);
    const auto [why, detail] = refusalOf(h);
    if (why != FNImageFailure::None)
        return failWith(image, why, kUnsupported, fileName, detail);

    // The image ID and the colour map come before the pixels.
    if (!in.skip(h.idLength))
        return failWith(image, FNImageFailure::Truncated, kUnsupported, fileName);
    Palette palette;
    if (h.depth == 8)
        palette = readPalette(in, h);
    if (!in.skip(colorMapBytes(h)))
        return failWith(image, FNImageFailure::Truncated, kUnsupported, fileName);

    FNImage decoded(0, 0);
    if (!decoded.tryCreate(h.width, h.height))
        return failWith(image, FNImageFailure::OutOfMemory, kUnsupported, fileName);
    if (h.depth == 8 || h.depth == 24 || h.depth == 32) {
        if (!decodePixels(decoded, h, in, palette))
            return failWith(image, FNImageFailure::Truncated, kUnsupported, fileName);
    } else {
        std::memset(decoded.pixels, 0, decoded.byteCount()); // depths not read give a zero picture
    }
    image.takePixels(decoded);
    return true;
}

} // namespace

const ImageFormat kTGAFormat { "TGA", kTGAExtensions, kCannotOpen, decodeTGA };

bool FNImage::loadTGA(const FNString& fileName)
{
    return loadAs(*this, fileName, kTGAFormat);
}

bool FNImage::saveTGA(const FNString& fileName, int bitCount)
{
    if (!created || !pixels)
        return failWith(*this, FNImageFailure::NothingToSave, kNothingToSave, fileName);
    if (bitCount != 24 && bitCount != 32)
        return failWith(
            *this, FNImageFailure::UnsupportedVariant, kBadDepth, fileName, FNString(bitCount) + "-bit TGA output");
    if (!extensionIs(fileName, kTGAExtensions))
        return failWith(*this, FNImageFailure::WrongExtension, kWrongExtensionText, fileName, "TGA");
    if (width > kMaxSavedSide || height > kMaxSavedSide)
        return failWith(*this, FNImageFailure::TooLarge, kCannotWrite, fileName);
    FNFileWriter writer;
    if (!writer.open(fileName, false))
        return failWrite(*this, writer, kCannotWrite, fileName);

    // Uncompressed true colour, no ID, no colour map, origin 0, descriptor 0
    // (bottom-up rows, left to right, no alpha bits declared).
    uint8_t header[kHeaderSize] = {};
    header[2] = kTypeTrueColor;
    put16(header + 12, width);
    put16(header + 14, height);
    header[16] = uint8_t(bitCount);

    // Image row y is file row height - 1 - y; B, G, R (and A for 32 bits).
    const size_t pixelSize = size_t(bitCount) / 8;
    std::vector<uint8_t> data(size_t(width) * height * pixelSize);
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = pixels + size_t(y) * width * 4;
        uint8_t* dst = data.data() + size_t(height - 1 - y) * width * pixelSize;
        for (int x = 0; x < width; ++x, src += 4, dst += pixelSize)
            std::memcpy(dst, src, pixelSize);
    }
    const bool written = writer.write(header, sizeof(header)) && writer.write(data.data(), data.size());
    if (!written || !writer.close())
        return failWrite(*this, writer, kCannotWrite, fileName);
    return true;
}
