// BMP reader and writer of FNImage.
//
// Reads 1-, 4-, 8-, 24- and 32-bit files (8-bit also run-length coded,
// 32-bit also with the standard bit-field masks), with any information
// header of 40 bytes or more, bottom-up or top-down. Writes 24-bit files.
#include "imaging/FNImage.h"
#include "imaging/codecs/ByteCursor.h"
#include "imaging/codecs/CodecSupport.h"
#include "imaging/codecs/Extensions.h"
#include "imaging/codecs/FNFileStream.h"
#include "imaging/codecs/ImageLimits.h"
#include "imaging/codecs/RunLength.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr char kCannotOpen[] = "指定したファイルは読み込めませんでした。:\n";
constexpr char kBadFile[] = "読み込めるファイルは1,4,8,24,32bitのbitmapです。:\n";
constexpr char kRLE4[] = "16色のRLE圧縮形式には対応していません:\n";
constexpr char kNothingToSave[] = "データがありません。保存に失敗しました:\n";
constexpr char kCannotWrite[] = "指定したファイルに書き込めませんでした:\n";

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreInfoSize = 12; // the OS/2 header, with 16-bit sizes
constexpr uint32_t kMinInfoSize = 40;
constexpr uint32_t kInfoSizeWithMasks = 52; // information headers from here on carry the masks
constexpr uint32_t kCompressionNone = 0;
constexpr uint32_t kCompressionRLE8 = 1;
constexpr uint32_t kCompressionRLE4 = 2;
constexpr uint32_t kCompressionBitFields = 3;
constexpr int32_t kSaveResolution = 2834; // pixels per metre (72 dpi)

struct BMPHeader {
    uint8_t type[2] = {};
    uint32_t fileSize = 0;
    uint32_t dataOffset = 0;
    uint32_t infoSize = 0;
    int32_t width = 0;
    int32_t height = 0; // negative: rows stored top-down
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t imageSize = 0;
    uint32_t colorsUsed = 0;
};

// Where the parts of a file lie and how its rows are laid out.
struct BMPLayout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    size_t stride = 0; // bytes per file row, padded to 4
    size_t rowBytes = 0; // bytes per file row that hold pixels
    size_t paletteOffset = 0;
    size_t paletteEntries = 0;
    size_t dataOffset = 0;
};

// One pixel as the image stores it: blue, green, red, alpha.
struct Pixel {
    uint8_t b, g, r, a;
};

using Palette = std::vector<Pixel>;

bool readHeader(ByteCursor& in, BMPHeader& h)
{
    uint16_t reserved = 0;
    uint32_t xResolution = 0;
    uint32_t yResolution = 0;
    uint32_t important = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    const uint8_t* type = in.take(2);
    if (!type)
        return false;
    h.type[0] = type[0];
    h.type[1] = type[1];
    const bool ok = in.u32le(h.fileSize) && in.u16le(reserved) && in.u16le(reserved) && in.u32le(h.dataOffset)
        && in.u32le(h.infoSize) && in.u32le(width) && in.u32le(height) && in.u16le(h.planes) && in.u16le(h.bitCount)
        && in.u32le(h.compression) && in.u32le(h.imageSize) && in.u32le(xResolution) && in.u32le(yResolution)
        && in.u32le(h.colorsUsed) && in.u32le(important);
    h.width = static_cast<int32_t>(width);
    h.height = static_cast<int32_t>(height);
    return ok;
}

bool supportedBitCount(uint16_t bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
}

// Bit fields are read only in the common order (red, green, blue in the low
// three bytes), which is plain 32-bit data; the fourth byte stays alpha. The
// masks sit right after the first 40 header bytes whether the header holds
// them (52 bytes and longer) or they follow a 40-byte header.
bool standardMasks(const std::vector<uint8_t>& file)
{
    const size_t maskOffset = kFileHeaderSize + kMinInfoSize;
    ByteCursor in(file.data(), file.size());
    uint32_t red = 0;
    uint32_t green = 0;
    uint32_t blue = 0;
    if (!in.seek(maskOffset) || !in.u32le(red) || !in.u32le(green) || !in.u32le(blue))
        return false;
    return red == 0x00FF0000u && green == 0x0000FF00u && blue == 0x000000FFu;
}

size_t defaultPaletteEntries(uint16_t bits)
{
    return bits <= 8 ? size_t(1) << bits : 0;
}

BMPLayout layoutOf(const BMPHeader& h)
{
    BMPLayout l;
    l.width = h.width;
    l.topDown = h.height < 0;
    l.height = static_cast<int>(l.topDown ? -int64_t(h.height) : int64_t(h.height));
    l.rowBytes = (size_t(l.width) * h.bitCount + 7) / 8;
    l.stride = (l.rowBytes + 3) / 4 * 4;
    // The palette follows the information header (and the three masks that
    // a 40-byte header is followed by when it declares bit fields).
    l.paletteOffset = kFileHeaderSize + h.infoSize;
    if (h.compression == kCompressionBitFields && h.infoSize < kInfoSizeWithMasks)
        l.paletteOffset += 12;
    if (h.bitCount <= 8)
        l.paletteEntries = h.colorsUsed ? std::min<size_t>(h.colorsUsed, 256) : defaultPaletteEntries(h.bitCount);
    // A data offset pointing into the headers cannot be right; such files
    // are read with the pixels straight after the palette.
    const size_t headersEnd = l.paletteOffset + l.paletteEntries * 4;
    l.dataOffset = h.dataOffset >= kFileHeaderSize + h.infoSize ? h.dataOffset : headersEnd;
    return l;
}

// Always 256 entries so that any index is in range; entries the file does
// not hold are opaque black.
Palette readPalette(const std::vector<uint8_t>& file, const BMPLayout& l)
{
    Palette palette(256, Pixel { 0, 0, 0, 255 });
    ByteCursor in(file.data(), file.size());
    if (!in.seek(l.paletteOffset))
        return palette;
    for (size_t i = 0; i < l.paletteEntries; ++i) {
        const uint8_t* e = in.take(4); // blue, green, red, unused
        if (!e)
            break;
        palette[i] = Pixel { e[0], e[1], e[2], 255 };
    }
    return palette;
}

// The bytes of file row r: straight from the data when all are there,
// otherwise what is there copied into scratch and the rest zero.
const uint8_t* dataRow(ByteCursor& data, size_t offset, size_t count, std::vector<uint8_t>& scratch)
{
    if (data.seek(offset)) {
        if (const uint8_t* whole = data.take(count))
            return whole;
    }
    std::fill(scratch.begin(), scratch.end(), 0);
    if (data.seek(offset) && !data.atEnd()) {
        const size_t n = std::min(count, data.remaining());
        std::memcpy(scratch.data(), data.take(n), n);
    }
    return scratch.data();
}

Pixel* imageRow(FNImage& image, const BMPLayout& l, int fileRow)
{
    const int y = l.topDown ? fileRow : l.height - 1 - fileRow;
    return reinterpret_cast<Pixel*>(image.row(y));
}

// index of pixel x in a row of 1-, 4- or 8-bit indices; the leftmost pixel
// sits in the most significant bits of its byte.
uint8_t indexAt(const uint8_t* row, int x, int bits)
{
    switch (bits) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
    default:
        return row[x];
    }
}

void decodeRows(
    FNImage& image, const BMPLayout& l, ByteCursor& data, size_t firstOffset, int bits, const Palette& palette)
{
    std::vector<uint8_t> scratch(l.rowBytes);
    for (int r = 0; r < l.height; ++r) {
        const uint8_t* src = dataRow(data, firstOffset + size_t(r) * l.stride, l.rowBytes, scratch);
        Pixel* dst = imageRow(image, l, r);
        if (bits == 32) {
            // B, G, R, A copied unchanged: the fourth byte is the alpha.
            std::memcpy(dst, src, size_t(l.width) * 4);
        } else if (bits == 24) {
            // B, G, R with alpha 255.
            for (int x = 0; x < l.width; ++x, src += 3)
                dst[x] = Pixel { src[0], src[1], src[2], 255 };
        } else {
            for (int x = 0; x < l.width; ++x)
                dst[x] = palette[indexAt(src, x, bits)];
        }
    }
}

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::vector<uint8_t> headerFor(int width, int height, uint32_t dataSize)
{
    std::vector<uint8_t> h;
    h.reserve(54);
    h.push_back('B');
    h.push_back('M');
    put32(h, 54 + dataSize); // file size
    put32(h, 0); // two reserved words
    put32(h, 54); // data offset
    put32(h, 40); // information header size
    put32(h, uint32_t(width));
    put32(h, uint32_t(height)); // positive: rows stored bottom-up
    put16(h, 1); // planes
    put16(h, 24); // bits per pixel
    put32(h, kCompressionNone);
    put32(h, dataSize);
    put32(h, kSaveResolution);
    put32(h, kSaveResolution);
    put32(h, 0); // colours used
    put32(h, 0); // important colours
    return h;
}

// Why a header is refused: the cause, its detail and the message.
struct Refusal {
    FNImageFailure why = FNImageFailure::None;
    const char* detail = "";
    const char* text = kBadFile;
};

Refusal refusalOf(const BMPHeader& h, const std::vector<uint8_t>& file)
{
    const int64_t height = h.height < 0 ? -int64_t(h.height) : int64_t(h.height);
    if (h.bitCount == 16)
        return { FNImageFailure::UnsupportedVariant, "16-bit BMP" };
    if (!supportedBitCount(h.bitCount))
        return { FNImageFailure::NotThisFormat, "BMP" };
    if (h.compression == kCompressionRLE4)
        return { FNImageFailure::UnsupportedVariant, "4-bit run-length BMP", kRLE4 };
    if (h.compression > kCompressionBitFields)
        return { FNImageFailure::UnsupportedVariant, "BMP compression (JPEG, PNG or other)" };
    if (h.infoSize == kCoreInfoSize)
        return { FNImageFailure::UnsupportedVariant, "OS/2 BMP (12-byte header)" };
    if (h.infoSize < kMinInfoSize || h.width <= 0 || height == 0)
        return { FNImageFailure::NotThisFormat, "BMP" };
    if (!pictureSizeAcceptable(int64_t(h.width), height))
        return { FNImageFailure::TooLarge };
    if (h.bitCount == 32 && h.compression == kCompressionBitFields && !standardMasks(file))
        return { FNImageFailure::UnsupportedVariant, "32-bit BMP with other than 8-8-8 bit fields" };
    return {};
}

// True when the file holds the palette and, unless the data are run-length
// coded, every byte of pixels that the layout takes (the last row needs no
// padding).
bool holdsPaletteAndData(const BMPLayout& l, bool runLength, size_t fileSize)
{
    const size_t paletteEnd = l.paletteOffset + l.paletteEntries * 4;
    const size_t dataEnd = l.dataOffset + l.stride * size_t(l.height - 1) + l.rowBytes;
    return paletteEnd <= fileSize && (runLength || dataEnd <= fileSize);
}

// Run-length data must end with its end-of-bitmap code or cover every row.
bool decodeRunLength8(FNImage& image, const BMPLayout& l, const std::vector<uint8_t>& file, const Palette& palette)
{
    // Expanded into padded rows first, with some slack past the last row.
    std::vector<uint8_t> expanded(l.stride * size_t(l.height) + 256, 0);
    ByteCursor data(file.data(), file.size());
    if (!data.seek(l.dataOffset))
        return false;
    const RunLength8End end = decodeBMPRunLength8(data, expanded.data(), expanded.size(), l.stride);
    if (!end.endOfBitmap && end.reached < l.stride * size_t(l.height - 1) + l.rowBytes)
        return false;
    ByteCursor rows(expanded.data(), expanded.size());
    decodeRows(image, l, rows, 0, 8, palette);
    return true;
}

// Validates, then decodes into a scratch picture, so that a refused or cut
// off file leaves `image` as it was.
bool decodeBMP(FNImage& image, FNFileReader& reader, const FNString& fileName)
{
    const std::vector<uint8_t> file = reader.readAll();
    if (reader.error())
        return failWith(image, readFailureOf(reader.error()), kCannotOpen, fileName, systemReason(reader.error()));
    ByteCursor in(file.data(), file.size());
    BMPHeader h;
    if (!readHeader(in, h)) {
        const bool startsLikeBMP = file.size() < 2 || (file[0] == 'B' && file[1] == 'M');
        return failWith(image, startsLikeBMP ? FNImageFailure::Truncated : FNImageFailure::NotThisFormat, kBadFile,
            fileName, "BMP");
    }
    if (h.type[0] != 'B' || h.type[1] != 'M')
        return failWith(image, FNImageFailure::NotThisFormat, kBadFile, fileName, "BMP");
    const Refusal refusal = refusalOf(h, file);
    if (refusal.why != FNImageFailure::None)
        return failWith(image, refusal.why, refusal.text, fileName, refusal.detail);
    const BMPLayout l = layoutOf(h);
    const bool rle8 = h.bitCount == 8 && h.compression == kCompressionRLE8;
    if (!holdsPaletteAndData(l, rle8, file.size()))
        return failWith(image, FNImageFailure::Truncated, kBadFile, fileName);
    const Palette palette = readPalette(file, l);

    FNImage decoded(0, 0);
    if (!decoded.tryCreate(l.width, l.height))
        return failWith(image, FNImageFailure::OutOfMemory, kBadFile, fileName);
    if (rle8) {
        if (!decodeRunLength8(decoded, l, file, palette))
            return failWith(image, FNImageFailure::Truncated, kBadFile, fileName);
    } else {
        ByteCursor data(file.data(), file.size());
        decodeRows(decoded, l, data, l.dataOffset, h.bitCount, palette);
    }
    image.takePixels(decoded);
    return true;
}

} // namespace

const ImageFormat kBMPFormat { "BMP", kBMPExtensions, kCannotOpen, decodeBMP };

bool FNImage::loadBMP(const FNString& fileName)
{
    return loadAs(*this, fileName, kBMPFormat);
}

bool FNImage::saveBMP(const FNString& fileName)
{
    if (!created || !pixels)
        return failWith(*this, FNImageFailure::NothingToSave, kNothingToSave, fileName);
    if (!extensionIs(fileName, kBMPExtensions))
        return failWith(*this, FNImageFailure::WrongExtension, kWrongExtensionText, fileName, "BMP");
    const size_t stride = (size_t(width) * 3 + 3) / 4 * 4;
    const uint64_t dataSize = uint64_t(stride) * uint64_t(height);
    // The size fields are 32 bits; a picture whose file would not fit cannot
    // be written as BMP.
    if (dataSize > 0xFFFFFFFFull - 54)
        return failWith(*this, FNImageFailure::TooLarge, kCannotWrite, fileName);
    FNFileWriter writer;
    if (!writer.open(fileName, false))
        return failWrite(*this, writer, kCannotWrite, fileName);

    // Image row y is file row height - 1 - y; B, G, R per pixel, alpha
    // dropped, each row zero-padded to the stride.
    std::vector<uint8_t> data(static_cast<size_t>(dataSize), 0);
    for (int y = 0; y < height; ++y) {
        const uint8_t* src = pixels + size_t(y) * width * 4;
        uint8_t* dst = data.data() + size_t(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x, src += 4, dst += 3) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
        }
    }
    const std::vector<uint8_t> header = headerFor(width, height, static_cast<uint32_t>(dataSize));
    const bool written = writer.write(header.data(), header.size()) && writer.write(data.data(), data.size());
    if (!written || !writer.close())
        return failWrite(*this, writer, kCannotWrite, fileName);
    return true;
}
