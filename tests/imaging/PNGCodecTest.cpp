#include "imaging/FNImage.h"
#include "tests/imaging/CodecTestSupport.h"

#include <png.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

using namespace adaptertest;

namespace {

const std::string kWrongExtension = "拡張子が間違っています。:\n";
const std::string kCannotRead = "PNGファイルを読み込めませんでした\n";
const std::string kNothingToSave = "データが作成されていません:\n";
const std::string kBadBitCount = "bitcountの値が不正です：32bitで保存します。";

// ---- Files made here with libpng directly ----------------------------------

struct PNGDescription {
    int width = 1;
    int height = 1;
    int depth = 8;
    int colorType = PNG_COLOR_TYPE_RGB;
    std::vector<Bytes> rows; // as stored in the file
    std::vector<png_color> palette;
    Bytes transparency;
    int compressionLevel = 6;
    int filters = PNG_ALL_FILTERS;
    bool gammaOne = false;
};

void appendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void noFlush(png_structp) { }

Bytes encodePNG(const PNGDescription& d)
{
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows;
    for (const Bytes& row : d.rows)
        rows.push_back(const_cast<png_bytep>(row.data()));
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << "libpng refused the test picture";
        return {};
    }
    // Test files may hold palette indices beyond the palette on purpose.
    png_set_benign_errors(png, 1);
    png_set_write_fn(png, &out, appendBytes, noFlush);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, d.filters);
    png_set_compression_level(png, d.compressionLevel);
    png_set_IHDR(png, info, d.width, d.height, d.depth, d.colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
        PNG_FILTER_TYPE_DEFAULT);
    if (!d.palette.empty())
        png_set_PLTE(png, info, d.palette.data(), int(d.palette.size()));
    if (!d.transparency.empty())
        png_set_tRNS(png, info, d.transparency.data(), int(d.transparency.size()), nullptr);
    if (d.gammaOne)
        png_set_gAMA(png, info, 1.0);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

// A picture of one layout whose rows are all `fill`.
PNGDescription uniform(int width, int height, int depth, int colorType, uint8_t fill)
{
    PNGDescription d;
    d.width = width;
    d.height = height;
    d.depth = depth;
    d.colorType = colorType;
    const int channels = colorType == PNG_COLOR_TYPE_RGB ? 3
        : colorType == PNG_COLOR_TYPE_RGB_ALPHA          ? 4
        : colorType == PNG_COLOR_TYPE_GRAY_ALPHA         ? 2
                                                         : 1;
    const size_t rowBytes = (size_t(width) * channels * depth + 7) / 8;
    d.rows.assign(height, Bytes(rowBytes, fill));
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        d.palette = { { 10, 20, 30 }, { 40, 50, 60 } };
    return d;
}

// ---- Files assembled chunk by chunk (headers no encoder would write) -------

void appendChunk(Bytes& file, const char* type, const Bytes& data)
{
    const uint32_t length = uint32_t(data.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        file.push_back(uint8_t(length >> shift));
    const size_t typeAt = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data.begin(), data.end());
    const uint32_t crc = uint32_t(crc32(0, file.data() + typeAt, uInt(4 + data.size())));
    for (int shift = 24; shift >= 0; shift -= 8)
        file.push_back(uint8_t(crc >> shift));
}

Bytes craftedPNG(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType, const Bytes& raw)
{
    Bytes file = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    Bytes header;
    for (uint32_t v : { width, height })
        for (int shift = 24; shift >= 0; shift -= 8)
            header.push_back(uint8_t(v >> shift));
    header.insert(header.end(), { depth, colorType, 0, 0, 0 });
    appendChunk(file, "IHDR", header);
    Bytes packed(compressBound(uLong(raw.size())));
    uLongf packedSize = uLongf(packed.size());
    compress(packed.data(), &packedSize, raw.data(), uLong(raw.size()));
    packed.resize(packedSize);
    appendChunk(file, "IDAT", packed);
    appendChunk(file, "IEND", {});
    return file;
}

struct Chunk {
    std::string type;
    Bytes data;
};

std::vector<Chunk> chunksOf(const Bytes& file)
{
    std::vector<Chunk> chunks;
    size_t at = 8;
    while (at + 12 <= file.size()) {
        const uint32_t length = be32(&file[at]);
        if (at + 12 + length > file.size())
            break;
        chunks.push_back({ std::string(file.begin() + at + 4, file.begin() + at + 8),
            Bytes(file.begin() + at + 8, file.begin() + at + 8 + length) });
        at += 12 + length;
    }
    return chunks;
}

// Compares with R, G, B, A bytes; each byte may differ by `tolerance`.
void expectPixelsEqual(const FNImage& image, const Bytes& rgba, int tolerance = 0)
{
    ASSERT_EQ(image.byteCount(), rgba.size());
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* e = &rgba[(size_t(y) * image.width + x) * 4];
            const uint32_t expected = uint32_t(e[3]) << 24 | uint32_t(e[0]) << 16 | uint32_t(e[1]) << 8 | e[2];
            const uint32_t actual = pixelAt(image, x, y);
            for (int shift = 0; shift < 32; shift += 8) {
                const int difference = int(actual >> shift & 0xFF) - int(expected >> shift & 0xFF);
                ASSERT_LE(std::abs(difference), tolerance)
                    << "pixel " << x << ", " << y << std::hex << ": " << actual << " for " << expected;
            }
        }
    }
}

class PNGCodec : public LoadingFixture {
protected:
    PNGCodec()
        : LoadingFixture(&FNImage::loadPNG, "picture.png")
    {
    }
};

} // namespace

// ---- Round trips -----------------------------------------------------------

TEST_F(PNGCodec, RoundTripOf32BitsKeepsEveryByte)
{
    const int sizes[][2] = { { 1, 1 }, { 3, 3 }, { 7, 1 }, { 33, 5 } };
    for (const auto& size : sizes) {
        auto source = noisePicture(size[0], size[1], uint64_t(size[0] * 100 + size[1]));
        const std::string name = dir.path("noise.png");
        ASSERT_TRUE(source->savePNG(name.c_str(), 32));
        FNImage loaded;
        ASSERT_TRUE(loaded.loadPNG(name.c_str()));
        EXPECT_TRUE(loaded.created);
        ASSERT_EQ(loaded.width, size[0]);
        ASSERT_EQ(loaded.height, size[1]);
        EXPECT_EQ(std::memcmp(loaded.pixels, source->pixels, source->byteCount()), 0) << size[0] << "x" << size[1];
    }
}

TEST_F(PNGCodec, RoundTripOf24BitsKeepsColoursAndMakesOpaque)
{
    auto source = noisePicture(33, 5, 24);
    const std::string name = dir.path("rgb.PNG");
    ASSERT_TRUE(source->savePNG(name.c_str(), 24));
    EXPECT_EQ(chunksOf(readFile(name))[0].data[9], PNG_COLOR_TYPE_RGB);
    ASSERT_TRUE(image.loadPNG(name.c_str()));
    ASSERT_EQ(image.byteCount(), source->byteCount());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 33; ++x)
            ASSERT_EQ(pixelAt(image, x, y), pixelAt(*source, x, y) | 0xFF000000u) << x << ", " << y;
}

TEST_F(PNGCodec, WrittenFileHasGammaOneAndEightBitSamples)
{
    auto source = noisePicture(3, 3, 1);
    const std::string name = dir.path("gamma.png");
    ASSERT_TRUE(source->savePNG(name.c_str(), 32));
    const std::vector<Chunk> chunks = chunksOf(readFile(name));
    ASSERT_GE(chunks.size(), 4u);
    ASSERT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[0].data[8], 8); // bit depth
    EXPECT_EQ(chunks[0].data[9], PNG_COLOR_TYPE_RGB_ALPHA);
    EXPECT_EQ(chunks[0].data[12], 0); // no interlace
    bool gamma = false;
    for (const Chunk& chunk : chunks) {
        if (chunk.type == "IDAT")
            break;
        if (chunk.type == "gAMA") {
            ASSERT_EQ(chunk.data.size(), 4u);
            EXPECT_EQ(be32(chunk.data.data()), 100000u); // 1.0 in units of 1/100000
            gamma = true;
        }
    }
    EXPECT_TRUE(gamma) << "no gAMA chunk before the image data";
}

// All five filters and zlib level 9: the same bytes libpng writes when asked
// for exactly that, and not what its defaults give.
TEST_F(PNGCodec, WrittenFileMatchesLibpngAtLevelNineWithAllFilters)
{
    auto source = noisePicture(33, 5, 9);
    for (int y = 0; y < 5; ++y) // a smooth half so filters and levels matter
        for (int x = 0; x < 16; ++x)
            source->row(y)[x] = 0xFF000000u | uint32_t(x * 8) << 16 | uint32_t(y * 40) << 8;
    PNGDescription direct;
    direct.width = 33;
    direct.height = 5;
    direct.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    direct.compressionLevel = 9;
    direct.gammaOne = true;
    for (int y = 0; y < 5; ++y) {
        Bytes row;
        for (int x = 0; x < 33; ++x) {
            const uint32_t p = pixelAt(*source, x, y);
            row.insert(row.end(), { uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24) });
        }
        direct.rows.push_back(row);
    }
    const std::string name = dir.path("settings.png");
    ASSERT_TRUE(source->savePNG(name.c_str(), 32));
    EXPECT_EQ(readFile(name), encodePNG(direct));
    direct.compressionLevel = 1;
    direct.filters = PNG_FILTER_NONE;
    EXPECT_NE(readFile(name), encodePNG(direct));
}

TEST_F(PNGCodec, OtherBitCountWarnsAndWritesRGBA)
{
    auto source = noisePicture(7, 1, 16);
    const std::string name = dir.path("sixteen.png");
    ASSERT_TRUE(source->savePNG(name.c_str(), 16));
    EXPECT_EQ(source->message, kBadBitCount.c_str());
    EXPECT_EQ(chunksOf(readFile(name))[0].data[9], PNG_COLOR_TYPE_RGB_ALPHA);
    ASSERT_TRUE(image.loadPNG(name.c_str()));
    EXPECT_EQ(std::memcmp(image.pixels, source->pixels, source->byteCount()), 0);
}

TEST_F(PNGCodec, UTF8FileNamesAreUsedAsGiven)
{
    auto source = noisePicture(3, 3, 3);
    const std::string name = dir.path("パーツ画像.png");
    ASSERT_TRUE(source->savePNG(name.c_str(), 32));
    EXPECT_EQ(access(name.c_str(), F_OK), 0);
    ASSERT_TRUE(image.loadPNG(name.c_str()));
    EXPECT_EQ(std::memcmp(image.pixels, source->pixels, source->byteCount()), 0);
}

// ---- Layouts read ------------------------------------------------------------

TEST_F(PNGCodec, OneBitGreyTakesHighBitFirstAndIgnoresPadding)
{
    PNGDescription d = uniform(10, 1, 1, PNG_COLOR_TYPE_GRAY, 0);
    d.rows[0] = { 0xB2, 0x7F }; // 1011 0010 | 01 + six padding bits set
    ASSERT_TRUE(loadBytes(encodePNG(d)));
    ASSERT_EQ(image.width, 10);
    const int bits[10] = { 1, 0, 1, 1, 0, 0, 1, 0, 0, 1 };
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(pixelAt(image, x, 0), bits[x] ? 0xFFFFFFFFu : 0xFF000000u) << x;
}

TEST_F(PNGCodec, EightBitGreyGoesToAllColours)
{
    PNGDescription d = uniform(3, 2, 8, PNG_COLOR_TYPE_GRAY, 0);
    d.rows = { { 0, 7, 200 }, { 255, 128, 1 } };
    ASSERT_TRUE(loadBytes(encodePNG(d)));
    EXPECT_EQ(pixelAt(image, 1, 0), 0xFF070707u);
    EXPECT_EQ(pixelAt(image, 2, 0), 0xFFC8C8C8u);
    EXPECT_EQ(pixelAt(image, 1, 1), 0xFF808080u);
}

TEST_F(PNGCodec, PaletteTransparencyBecomesAlpha)
{
    PNGDescription d = uniform(5, 1, 8, PNG_COLOR_TYPE_PALETTE, 0);
    d.palette = { { 255, 0, 0 }, { 0, 255, 0 }, { 1, 2, 3 } };
    d.transparency = { 0, 128 };
    d.rows[0] = { 0, 1, 2, 1, 5 }; // index 5 lies past the palette
    ASSERT_TRUE(loadBytes(encodePNG(d)));
    EXPECT_EQ(pixelAt(image, 0, 0), 0x00FF0000u);
    EXPECT_EQ(pixelAt(image, 1, 0), 0x8000FF00u);
    EXPECT_EQ(pixelAt(image, 2, 0), 0xFF010203u); // no tRNS entry: opaque
    EXPECT_EQ(pixelAt(image, 4, 0), 0xFF000000u); // undefined entry: opaque black
}

// Files of every colour type and bit depth, written by ImageMagick and
// Pillow (tests/data/png/make_fixtures.py), against the pixels Pillow (or,
// for the first files, the writing program) decodes from them. Pillow keeps
// the high byte of a 16-bit sample, floor(v / 256); libpng's scaling gives
// round(v * 255 / 65535), which libpng documents as exact and which differs
// from the high byte by at most 1: the 16-bit rows allow that difference.
TEST_F(PNGCodec, EveryColourTypeAndDepthDecodesAsPillowDoes)
{
    const struct {
        const char* name;
        int tolerance;
    } files[] = {
        { "pillow_rgba", 0 }, // RGBA 8
        { "pillow_grey1", 0 }, // grey 1
        { "magick_grey2", 0 }, // grey 2
        { "magick_grey4", 0 }, // grey 4
        { "magick_grey", 0 }, // grey 8
        { "pillow_grey_trns", 0 }, // grey 8 with a transparent value
        { "pillow_greyalpha8", 0 }, // grey + alpha 8
        { "pillow_rgb_trns", 0 }, // RGB 8 with a transparent colour
        { "magick_interlaced", 0 }, // RGB 8, Adam7
        { "magick_palette1", 0 }, // palette 1 (ImageMagick's single colour)
        { "pillow_palette1", 0 },
        { "pillow_palette2", 0 },
        { "magick_palette4", 0 },
        { "pillow_palette4_trns", 0 }, // palette 4 with many alpha values
        { "pillow_palette_trns", 0 }, // palette 8 with many alpha values
        { "magick_palette_trns", 0 }, // palette 8 with one transparent entry
        { "magick_rgb16", 1 }, // ImageMagick's default for a gradient
        { "magick_interlaced16", 1 },
        { "magick_rgba16", 1 },
        { "magick_grey16", 1 },
        { "pillow_grey16", 1 },
        { "magick_greyalpha16", 1 },
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        FNImage loaded;
        ASSERT_TRUE(loaded.loadPNG(dataPath(std::string("png/") + file.name + ".png").c_str()));
        EXPECT_TRUE(loaded.created);
        expectPixelsEqual(loaded, readFile(dataPath(std::string("png/") + file.name + ".rgba")), file.tolerance);
    }
}

// Scaled, not cut: 0xFF00 becomes 254 (its high byte is 255) and 0x01FF
// becomes 2 (high byte 1); alpha and grey alike.
TEST_F(PNGCodec, SixteenBitSamplesAreScaledToEightBits)
{
    const auto be16 = [](Bytes& row, std::initializer_list<unsigned> samples) {
        for (unsigned v : samples)
            row.insert(row.end(), { uint8_t(v >> 8), uint8_t(v) });
    };
    PNGDescription rgba = uniform(2, 1, 16, PNG_COLOR_TYPE_RGB_ALPHA, 0);
    rgba.rows[0].clear();
    be16(rgba.rows[0], { 0xFF00, 0x01FF, 0x8080, 0xFFFF, 0x0000, 0x0080, 0x7F7F, 0xFF00 });
    ASSERT_TRUE(loadBytes(encodePNG(rgba)));
    EXPECT_EQ(pixelAt(image, 0, 0), 0xFFFE0280u);
    EXPECT_EQ(pixelAt(image, 1, 0), 0xFE00007Fu);

    PNGDescription grey = uniform(2, 1, 16, PNG_COLOR_TYPE_GRAY_ALPHA, 0);
    grey.rows[0].clear();
    be16(grey.rows[0], { 0x01FF, 0xFF00, 0xFF00, 0x01FF });
    ASSERT_TRUE(loadBytes(encodePNG(grey)));
    EXPECT_EQ(pixelAt(image, 0, 0), 0xFE020202u);
    EXPECT_EQ(pixelAt(image, 1, 0), 0x02FEFEFEu);
}

// ---- Refusals ---------------------------------------------------------------

TEST_F(PNGCodec, WrongExtensionIsRefusedByBothCalls)
{
    auto source = noisePicture(3, 3, 5);
    const std::string good = dir.path("a.png");
    ASSERT_TRUE(source->savePNG(good.c_str(), 32));
    const std::string mixed = dir.path("a.Png");
    ASSERT_EQ(rename(good.c_str(), mixed.c_str()), 0);
    EXPECT_FALSE(image.loadPNG(mixed.c_str()));
    EXPECT_EQ(image.message.str(), kWrongExtension + mixed);
    expectUntouched();
    const std::string jpeg = dir.path("b.jpg");
    EXPECT_FALSE(source->savePNG(jpeg.c_str(), 32));
    EXPECT_EQ(source->message.str(), kWrongExtension + jpeg);
    EXPECT_NE(access(jpeg.c_str(), F_OK), 0);
}

TEST_F(PNGCodec, UnreadableFilesFailWithTheReadMessage)
{
    const Bytes good = encodePNG(uniform(40, 30, 8, PNG_COLOR_TYPE_RGB, 77));
    Bytes badSignature = good;
    badSignature[1] = 'Q';
    Bytes badCRC = good;
    badCRC[8 + 8 + 13] ^= 1; // IHDR's CRC
    // After IHDR, a tEXt chunk whose length field says 0x7FFFFFFF (skipped
    // unread, not allocated: the fuzz corpus keeps the same case).
    Bytes hugeText(good.begin(), good.begin() + 8 + 25);
    hugeText.insert(hugeText.end(), { 0x7F, 0xFF, 0xFF, 0xFF, 't', 'E', 'X', 't', 'a', 0, 'b' });
    const struct {
        const char* what;
        Bytes bytes;
        FNImageFailure why;
    } cases[] = {
        { "three signature bytes", Bytes(good.begin(), good.begin() + 3), FNImageFailure::Truncated },
        { "signature only", Bytes(good.begin(), good.begin() + 8), FNImageFailure::Truncated },
        { "cut inside IHDR", Bytes(good.begin(), good.begin() + 20), FNImageFailure::Truncated },
        { "cut inside IDAT", Bytes(good.begin(), good.begin() + good.size() / 2), FNImageFailure::Truncated },
        { "no IEND", Bytes(good.begin(), good.end() - 12), FNImageFailure::Truncated },
        { "bad signature", badSignature, FNImageFailure::NotThisFormat },
        { "bad IHDR CRC", badCRC, FNImageFailure::NotThisFormat },
        { "empty", Bytes(), FNImageFailure::Truncated },
        { "text", Bytes { 'h', 'e', 'l', 'l', 'o', '\n' }, FNImageFailure::NotThisFormat },
        { "a text chunk claiming 2 GiB", hugeText, FNImageFailure::Truncated },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(loadBytes(c.bytes));
        EXPECT_EQ(image.message.str(), kCannotRead + path);
        EXPECT_EQ(image.failure, c.why);
        expectUntouched();
    }
    const std::string missing = dir.path("missing.png");
    EXPECT_FALSE(image.loadPNG(missing.c_str()));
    EXPECT_EQ(image.message.str(), kCannotRead + missing);
    EXPECT_EQ(image.failure, FNImageFailure::FileMissing);
}

// Headers no encoder writes: refused with the read message before the row
// memory or the picture is made.
TEST_F(PNGCodec, ImpossibleSizesAreRefusedBeforeAllocating)
{
    const bool watching = watchAllocations();
    const struct {
        const char* what;
        uint32_t width, height;
        FNImageFailure why;
    } cases[] = {
        { "zero width", 0, 4, FNImageFailure::NotThisFormat },
        { "zero height", 4, 0, FNImageFailure::NotThisFormat },
        { "negative as signed", 0x80000001u, 1, FNImageFailure::NotThisFormat },
        { "too wide", 32769, 1, FNImageFailure::TooLarge },
        { "too tall", 1, 32769, FNImageFailure::TooLarge },
        { "too many pixels", 20000, 20000, FNImageFailure::TooLarge },
        { "rows the file cannot hold", 16000, 16000, FNImageFailure::Truncated },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        largestAllocation() = 0;
        EXPECT_FALSE(loadBytes(craftedPNG(c.width, c.height, 8, PNG_COLOR_TYPE_RGB_ALPHA, Bytes(64, 0))));
        EXPECT_EQ(image.message.str(), kCannotRead + path);
        EXPECT_EQ(image.failure, c.why);
        expectUntouched();
        if (watching) {
            EXPECT_LT(largestAllocation().load(), size_t(16) << 20);
        }
    }
}

// Complete, valid files that are still too big for the editor.
TEST_F(PNGCodec, ValidFilesBeyondTheLimitsAreRefused)
{
    PNGDescription wide = uniform(32769, 1, 1, PNG_COLOR_TYPE_GRAY, 0xFF);
    EXPECT_FALSE(loadBytes(encodePNG(wide)));
    EXPECT_EQ(image.message.str(), kCannotRead + path);
    // 16385 x 16384 is just over 2^28 pixels; one bit each keeps the file small.
    PNGDescription large = uniform(16385, 16384, 1, PNG_COLOR_TYPE_GRAY, 0);
    large.compressionLevel = 1;
    EXPECT_FALSE(loadBytes(encodePNG(large)));
    EXPECT_EQ(image.message.str(), kCannotRead + path);
    EXPECT_EQ(image.failure, FNImageFailure::TooLarge);
    expectUntouched();
}

// ---- Save failures -----------------------------------------------------------

TEST_F(PNGCodec, SavingAnEmptyPictureFails)
{
    image.clear();
    const std::string name = dir.path("empty.png");
    EXPECT_FALSE(image.savePNG(name.c_str(), 32));
    EXPECT_EQ(image.message.str(), kNothingToSave + name);
    EXPECT_NE(access(name.c_str(), F_OK), 0);
}

TEST_F(PNGCodec, WriteFailuresReturnFalseWithoutMessage)
{
    auto source = noisePicture(64, 64, 8);
    const std::string full = dir.path("full.png");
    ASSERT_EQ(symlink("/dev/full", full.c_str()), 0);
    EXPECT_FALSE(source->savePNG(full.c_str(), 32));
    EXPECT_TRUE(source->message.empty());
    EXPECT_EQ(source->failure, FNImageFailure::WriteFailed);
    EXPECT_EQ(source->failureText(), "No space left on device");
    const std::string nowhere = dir.path("no/such/dir.png");
    EXPECT_FALSE(source->savePNG(nowhere.c_str(), 24));
    EXPECT_TRUE(source->message.empty());
    EXPECT_EQ(source->failureText(), "No such file or directory");
}
