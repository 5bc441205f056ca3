#include "CodecTestFiles.h"
#include "imaging/FNImage.h"
#include "imaging/codecs/RunLength.h"

#include <gtest/gtest.h>

#include <climits>

using namespace codectest;

namespace {

const char kBadFile[] = "読み込めるファイルは1,4,8,24,32bitのbitmapです。:\n";

// A hand-made BMP: headers, optional extra bytes, palette and data. Offsets
// and sizes are computed unless set.
struct BMPFile {
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t infoSize = 40;
    uint32_t colorsUsed = 0;
    std::vector<uint8_t> headerTail; // bytes 40.. of a longer information header
    std::vector<uint8_t> afterHeader; // e.g. the masks after a 40-byte header
    std::vector<uint32_t> palette; // 0x00RRGGBB
    std::vector<uint8_t> gap; // bytes between palette and data
    std::vector<uint8_t> data;
    int64_t dataOffset = -1; // -1: right after the gap
    int64_t fileSizeField = -1; // -1: the real size

    std::vector<uint8_t> build() const
    {
        const uint32_t offset = uint32_t(14 + infoSize + afterHeader.size() + palette.size() * 4 + gap.size());
        Bytes b;
        b.raw({ 'B', 'M' });
        b.u32(uint32_t(fileSizeField >= 0 ? fileSizeField : offset + data.size()));
        b.u32(0);
        b.u32(dataOffset >= 0 ? uint32_t(dataOffset) : offset);
        b.u32(infoSize).i32(width).i32(height).u16(1).u16(bits).u32(compression).u32(uint32_t(data.size()));
        b.u32(2834).u32(2834).u32(colorsUsed).u32(0);
        std::vector<uint8_t> out = b.bytes();
        std::vector<uint8_t> tail = headerTail;
        tail.resize(infoSize > 40 ? infoSize - 40 : 0, 0);
        out.insert(out.end(), tail.begin(), tail.end());
        out.insert(out.end(), afterHeader.begin(), afterHeader.end());
        for (uint32_t c : palette) {
            const std::vector<uint8_t> e = Bytes().u32(c);
            out.insert(out.end(), e.begin(), e.end());
        }
        out.insert(out.end(), gap.begin(), gap.end());
        out.insert(out.end(), data.begin(), data.end());
        return out;
    }
};

std::vector<uint8_t> standardMasks()
{
    return Bytes().u32(0x00FF0000).u32(0x0000FF00).u32(0x000000FF);
}

class BMPCodec : public testing::Test {
protected:
    // Writes the bytes to a file in the test's directory and loads it.
    bool load(FNImage& image, const std::vector<uint8_t>& bytes, const char* name = "t.bmp")
    {
        const FNString path = dir.file(name);
        writeBytes(path, bytes);
        return image.loadBMP(path);
    }

    TempDir dir;
};

// ---- Saving and round trips ----------------------------------------------

TEST_F(BMPCodec, RoundTripsAwkwardSizesExactly)
{
    const int sizes[][2] = { { 1, 1 }, { 3, 3 }, { 7, 1 }, { 33, 5 } };
    uint32_t seed = 1;
    for (const auto& size : sizes) {
        FNImage source;
        fillRandom(source, size[0], size[1], seed++, false);
        const FNString path = dir.file("round.bmp");
        ASSERT_TRUE(source.saveBMP(path));
        FNImage loaded;
        ASSERT_TRUE(loaded.loadBMP(path)) << loaded.message.c_str();
        EXPECT_TRUE(loaded.created);
        ASSERT_EQ(loaded.width, size[0]);
        ASSERT_EQ(loaded.height, size[1]);
        EXPECT_EQ(allPixels(loaded), allPixels(source)) << size[0] << "x" << size[1];
    }
}

TEST_F(BMPCodec, SavingDropsAlphaAndLoadingMakesItOpaque)
{
    FNImage source;
    fillRandom(source, 5, 4, 77, true);
    ASSERT_TRUE(source.saveBMP(dir.file("a.bmp")));
    FNImage loaded;
    ASSERT_TRUE(loaded.loadBMP(dir.file("a.bmp")));
    std::vector<uint32_t> expected = allPixels(source);
    for (uint32_t& word : expected)
        word |= 0xFF000000u;
    EXPECT_EQ(allPixels(loaded), expected);
}

TEST_F(BMPCodec, SaveWritesHeaderAndPaddedBottomUpRows)
{
    FNImage image(3, 2);
    image.setColor(0, 0, 1, 2, 3); // top row
    image.setColor(2, 1, 4, 5, 6); // bottom row
    const FNString path = dir.file("s.bmp");
    ASSERT_TRUE(image.saveBMP(path));
    const std::vector<uint8_t> file = readBytes(path);
    const std::vector<uint8_t> header = Bytes()
                                            .raw({ 'B', 'M' })
                                            .u32(54 + 12 * 2)
                                            .u32(0)
                                            .u32(54)
                                            .u32(40)
                                            .u32(3)
                                            .u32(2)
                                            .u16(1)
                                            .u16(24)
                                            .u32(0)
                                            .u32(12 * 2)
                                            .u32(2834)
                                            .u32(2834)
                                            .u32(0)
                                            .u32(0);
    ASSERT_EQ(file.size(), 54u + 24u);
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 54), header);
    // First file row is the bottom image row: white, white, (4, 5, 6) as B, G, R; then 3 zero bytes.
    const std::vector<uint8_t> bottom = { 255, 255, 255, 255, 255, 255, 6, 5, 4, 0, 0, 0 };
    const std::vector<uint8_t> top = { 3, 2, 1, 255, 255, 255, 255, 255, 255, 0, 0, 0 };
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54, file.begin() + 66), bottom);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 66, file.end()), top);
}

// ---- Failure messages ----------------------------------------------------

TEST_F(BMPCodec, FailureMessagesNameTheFile)
{
    FNImage image;
    const FNString missing = dir.file("missing.bmp");
    EXPECT_FALSE(image.loadBMP(missing));
    EXPECT_EQ(image.message, "指定したファイルは読み込めませんでした。:\n" + missing);

    EXPECT_FALSE(image.loadBMP("picture.png"));
    EXPECT_EQ(image.message, "拡張子が間違っています。:\npicture.png");
    EXPECT_FALSE(image.saveBMP(dir.file("picture.Bmp")));
    EXPECT_EQ(image.message, "拡張子が間違っています。:\n" + dir.file("picture.Bmp"));

    const FNString unwritable = dir.file("no/such/dir/x.bmp");
    EXPECT_FALSE(image.saveBMP(unwritable));
    EXPECT_EQ(image.message, "指定したファイルに書き込めませんでした:\n" + unwritable);

    image.clear();
    EXPECT_FALSE(image.saveBMP(dir.file("x.bmp")));
    EXPECT_EQ(image.message, "データがありません。保存に失敗しました:\n" + dir.file("x.bmp"));
}

TEST_F(BMPCodec, RefusesRunLength4WithItsMessage)
{
    BMPFile f;
    f.bits = 4;
    f.compression = 2;
    f.data = { 0, 1 };
    FNImage image;
    EXPECT_FALSE(load(image, f.build()));
    EXPECT_EQ(image.message, "16色のRLE圧縮形式には対応していません:\n" + dir.file("t.bmp"));
    EXPECT_EQ(image.failure, FNImageFailure::UnsupportedVariant);
    EXPECT_EQ(image.failureText(), "unsupported 4-bit run-length BMP");
}

// Each header fault is refused with the bad-file message before anything is
// allocated, and the picture keeps what it had.
TEST_F(BMPCodec, RefusesBadHeadersAndLeavesThePictureAlone)
{
    auto variant = [](auto change) {
        BMPFile f;
        f.data.assign(4, 0);
        change(f);
        return f.build();
    };
    std::vector<uint8_t> notBM = variant([](BMPFile&) {});
    notBM[1] = 'A';
    std::vector<uint8_t> shortHeader = variant([](BMPFile&) {});
    shortHeader.resize(53);
    const std::vector<RefusedFile> cases = {
        { "type is not BM", notBM, FNImageFailure::NotThisFormat },
        { "header cut short", shortHeader, FNImageFailure::Truncated },
        { "empty file", {} },
        { "16 bits", variant([](BMPFile& f) { f.bits = 16; }), FNImageFailure::UnsupportedVariant },
        { "0 bits", variant([](BMPFile& f) { f.bits = 0; }) },
        { "width 0", variant([](BMPFile& f) { f.width = 0; }) },
        { "negative width", variant([](BMPFile& f) { f.width = -3; }) },
        { "height 0", variant([](BMPFile& f) { f.height = 0; }) },
        { "width over 32768", variant([](BMPFile& f) { f.width = 32769; }), FNImageFailure::TooLarge },
        { "height over 32768", variant([](BMPFile& f) { f.height = 32769; }) },
        { "top-down height over 32768", variant([](BMPFile& f) { f.height = -32769; }) },
        { "most negative height", variant([](BMPFile& f) { f.height = INT_MIN; }) },
        { "more than 2^28 pixels", variant([](BMPFile& f) {
             f.width = 32768;
             f.height = 8193;
         }) },
        { "core header of 12 bytes", variant([](BMPFile& f) { f.infoSize = 12; }), FNImageFailure::UnsupportedVariant },
        { "bit fields in another order", variant([](BMPFile& f) {
             f.bits = 32;
             f.compression = 3;
             f.afterHeader = Bytes().u32(0x000000FF).u32(0x0000FF00).u32(0x00FF0000);
         }),
            FNImageFailure::UnsupportedVariant },
    };
    expectRefused(cases, dir.file("t.bmp"), &FNImage::loadBMP, kBadFile + dir.file("t.bmp"));
}

TEST_F(BMPCodec, AcceptsTheLargestAllowedWidth)
{
    BMPFile f;
    f.width = 32768;
    f.bits = 1;
    f.colorsUsed = 2;
    f.palette = { 0x102030, 0x405060 };
    f.data.assign(32768 / 8, 0xFF);
    FNImage image;
    ASSERT_TRUE(load(image, f.build())) << image.message.c_str();
    EXPECT_EQ(image.width, 32768);
    EXPECT_EQ(pixel(image, 32767, 0), 0xFF405060u);
}

// ---- Orientation ---------------------------------------------------------

// A 3 x 2 picture: red, -, green on top; blue, -, white below (file bytes
// given bottom row first for bottom-up, top row first for top-down).
TEST_F(BMPCodec, ReadsBottomUpAndTopDownRows)
{
    const std::vector<uint8_t> topRow = { 0, 0, 255, 9, 9, 9, 0, 255, 0, 0, 0, 0 };
    const std::vector<uint8_t> bottomRow = { 255, 0, 0, 9, 9, 9, 255, 255, 255, 0, 0, 0 };
    for (bool topDown : { false, true }) {
        BMPFile f;
        f.width = 3;
        f.height = topDown ? -2 : 2;
        const auto& first = topDown ? topRow : bottomRow;
        const auto& second = topDown ? bottomRow : topRow;
        f.data = first;
        f.data.insert(f.data.end(), second.begin(), second.end());
        FNImage image;
        ASSERT_TRUE(load(image, f.build())) << image.message.c_str();
        ASSERT_EQ(image.height, 2);
        EXPECT_EQ(pixel(image, 0, 0), 0xFFFF0000u) << topDown;
        EXPECT_EQ(pixel(image, 2, 0), 0xFF00FF00u) << topDown;
        EXPECT_EQ(pixel(image, 0, 1), 0xFF0000FFu) << topDown;
        EXPECT_EQ(pixel(image, 2, 1), 0xFFFFFFFFu) << topDown;
    }
}

// ---- Indexed pictures ----------------------------------------------------

TEST_F(BMPCodec, OneBitRowsOf33PixelsUseAStrideOf8)
{
    BMPFile f;
    f.width = 33;
    f.height = 2;
    f.bits = 1;
    f.palette = { 0x000000, 0xFFFFFF };
    // Bottom file row: only the leftmost pixel set; top row: only pixel 32.
    f.data = { 0x80, 0, 0, 0, 0, 0xAA, 0xAA, 0xAA, 0, 0, 0, 0, 0x80, 0xAA, 0xAA, 0xAA };
    FNImage image;
    ASSERT_TRUE(load(image, f.build())) << image.message.c_str();
    for (int x = 0; x < 33; ++x) {
        EXPECT_EQ(pixel(image, x, 1), x == 0 ? 0xFFFFFFFFu : 0xFF000000u) << x;
        EXPECT_EQ(pixel(image, x, 0), x == 32 ? 0xFFFFFFFFu : 0xFF000000u) << x;
    }
}

TEST_F(BMPCodec, FourBitRowsOf9PixelsUseAStrideOf8WithTheHighNibbleLeft)
{
    BMPFile f;
    f.width = 9;
    f.height = 2;
    f.bits = 4;
    for (uint32_t i = 0; i < 16; ++i)
        f.palette.push_back(i * 0x111111);
    f.data = { 0x01, 0x23, 0x45, 0x67, 0x80, 0xEE, 0xEE, 0xEE, 0xFE, 0xDC, 0xBA, 0x98, 0x70, 0xEE, 0xEE, 0xEE };
    FNImage image;
    ASSERT_TRUE(load(image, f.build())) << image.message.c_str();
    for (uint32_t x = 0; x < 9; ++x) {
        EXPECT_EQ(pixel(image, x, 1), 0xFF000000u | x * 0x111111) << x;
        EXPECT_EQ(pixel(image, x, 0), 0xFF000000u | (15 - x) * 0x111111) << x;
    }
}

TEST_F(BMPCodec, EightBitPaletteSizeComesFromColoursUsedAndItsTailIsBlack)
{
    BMPFile full;
    full.width = 2;
    full.bits = 8;
    for (uint32_t i = 0; i < 256; ++i)
        full.palette.push_back(i << 8 | 7);
    full.data = { 255, 1, 0, 0 };
    FNImage image;
    ASSERT_TRUE(load(image, full.build())) << image.message.c_str();
    EXPECT_EQ(pixel(image, 0, 0), 0xFF00FF07u);
    EXPECT_EQ(pixel(image, 1, 0), 0xFF000107u);

    BMPFile small = full;
    small.colorsUsed = 2;
    small.palette = { 0x112233, 0x445566 };
    small.data = { 1, 200, 0, 0 };
    ASSERT_TRUE(load(image, small.build())) << image.message.c_str();
    EXPECT_EQ(pixel(image, 0, 0), 0xFF445566u);
    EXPECT_EQ(pixel(image, 1, 0), 0xFF000000u);
}

// ---- Direct colour ---------------------------------------------------------

TEST_F(BMPCodec, ThirtyTwoBitKeepsTheFourthByteAsAlphaAndTwentyFourIsOpaque)
{
    BMPFile f32;
    f32.width = 2;
    f32.bits = 32;
    f32.data = { 1, 2, 3, 4, 5, 6, 7, 0 };
    FNImage image;
    ASSERT_TRUE(load(image, f32.build())) << image.message.c_str();
    EXPECT_EQ(pixel(image, 0, 0), 0x04030201u);
    EXPECT_EQ(pixel(image, 1, 0), 0x00070605u);

    BMPFile f24;
    f24.width = 2;
    f24.data = { 1, 2, 3, 5, 6, 7, 0, 0 };
    ASSERT_TRUE(load(image, f24.build())) << image.message.c_str();
    EXPECT_EQ(pixel(image, 0, 0), 0xFF030201u);
    EXPECT_EQ(pixel(image, 1, 0), 0xFF070605u);
}

TEST_F(BMPCodec, StandardBitFieldsAfterA40ByteHeaderReadLikePlain32Bit)
{
    BMPFile f;
    f.width = 2;
    f.height = 2;
    f.bits = 32;
    f.compression = 3;
    f.afterHeader = standardMasks();
    f.data = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16 };
    FNImage image;
    ASSERT_TRUE(load(image, f.build())) << image.message.c_str();
    EXPECT_EQ(pixel(image, 0, 1), 0x04030201u);
    EXPECT_EQ(pixel(image, 1, 1), 0x08070605u);
    EXPECT_EQ(pixel(image, 0, 0), 0x0C0B0A09u);
    EXPECT_EQ(pixel(image, 1, 0), 0x100F0E0Du);
}

TEST_F(BMPCodec, HeadersOf108And124BytesAreSkipped)
{
    for (uint32_t infoSize : { 108u, 124u }) {
        BMPFile bitFields;
        bitFields.infoSize = infoSize;
        bitFields.width = 1;
        bitFields.bits = 32;
        bitFields.compression = 3;
        bitFields.headerTail = Bytes().u32(0x00FF0000).u32(0x0000FF00).u32(0x000000FF).u32(0xFF000000);
        bitFields.data = { 10, 20, 30, 40 };
        FNImage image;
        ASSERT_TRUE(load(image, bitFields.build())) << infoSize << image.message.c_str();
        EXPECT_EQ(pixel(image, 0, 0), 0x281E140Au) << infoSize;

        BMPFile indexed;
        indexed.infoSize = infoSize;
        indexed.width = 3;
        indexed.bits = 8;
        indexed.colorsUsed = 3;
        indexed.palette = { 0xAA0000, 0x00BB00, 0x0000CC };
        indexed.data = { 2, 0, 1, 0 };
        ASSERT_TRUE(load(image, indexed.build())) << infoSize << image.message.c_str();
        EXPECT_EQ(pixel(image, 0, 0), 0xFF0000CCu) << infoSize;
        EXPECT_EQ(pixel(image, 1, 0), 0xFFAA0000u) << infoSize;
        EXPECT_EQ(pixel(image, 2, 0), 0xFF00BB00u) << infoSize;
    }
}

TEST_F(BMPCodec, PixelsStartAtTheDataOffsetAndRunToTheFileEnd)
{
    BMPFile f;
    f.width = 1;
    f.height = 2;
    f.gap = { 99, 99, 99, 99, 99, 99, 99 };
    f.data = { 1, 2, 3, 0, 4, 5, 6, 0 };
    f.fileSizeField = 0; // a wrong size field does not limit the data
    FNImage image;
    ASSERT_TRUE(load(image, f.build())) << image.message.c_str();
    EXPECT_EQ(pixel(image, 0, 1), 0xFF030201u);
    EXPECT_EQ(pixel(image, 0, 0), 0xFF060504u);
}

TEST_F(BMPCodec, DataOffsetInsideTheHeadersMeansPixelsFollowThePalette)
{
    BMPFile f;
    f.width = 2;
    f.bits = 8;
    f.colorsUsed = 2;
    f.palette = { 0x0000FF, 0x00FF00 };
    f.data = { 1, 0, 0, 0 };
    f.dataOffset = 0;
    FNImage image;
    ASSERT_TRUE(load(image, f.build())) << image.message.c_str();
    EXPECT_EQ(allPixels(image), (std::vector<uint32_t> { 0xFF00FF00, 0xFF0000FF }));
}

// A file whose data end before the picture does fails with the bad-file
// message and leaves the picture as it was; nothing past the end is read.
TEST_F(BMPCodec, TruncatedFilesAreRefusedAtEveryCut)
{
    std::vector<RefusedFile> cuts;
    // Rows are padded to 4 bytes; the padding of the last row may go, so the
    // cuts from the end reach into pixels (-1 only where rows have none).
    for (const char* name : { "im_1bit.bmp", "im_4bit.bmp", "im_8bit.bmp", "im_24bit.bmp", "pil_8bit.bmp" }) {
        const auto some = cutFixture("bmp", name, { 20, 60, -4 });
        cuts.insert(cuts.end(), some.begin(), some.end());
    }
    const auto rows32 = cutFixture("bmp", "im_v5_32bit_bitfields.bmp", { 100, 150, -1 });
    cuts.insert(cuts.end(), rows32.begin(), rows32.end());
    // Run-length data that stop before the last pixel (without the closing
    // line end and end-of-bitmap codes alone the picture is still whole).
    const auto rle = cutFixture("bmp", "im_rle8.bmp", { -8, -20 });
    cuts.insert(cuts.end(), rle.begin(), rle.end());
    BMPFile shortRows;
    shortRows.width = 2;
    shortRows.height = 3;
    shortRows.data = { 1, 2, 3, 4, 5, 6, 0, 0, 7, 8 }; // one row and a bit
    BMPFile farOffset = shortRows;
    farOffset.dataOffset = 100000;
    BMPFile cutPalette;
    cutPalette.bits = 8;
    cutPalette.colorsUsed = 256;
    cutPalette.palette = { 0x123456 };
    cuts.push_back({ "one row and a bit", shortRows.build(), FNImageFailure::Truncated });
    cuts.push_back({ "data offset past the end", farOffset.build(), FNImageFailure::Truncated });
    cuts.push_back({ "palette cut off", cutPalette.build(), FNImageFailure::Truncated });
    expectRefused(cuts, dir.file("t.bmp"), &FNImage::loadBMP, kBadFile + dir.file("t.bmp"));
}

// ---- 8-bit run length ------------------------------------------------------

std::vector<uint8_t> runLength8(const std::vector<uint8_t>& input, size_t size, size_t stride)
{
    std::vector<uint8_t> out(size + 4, 0xEE); // 4 sentinel bytes past the end
    std::fill(out.begin(), out.begin() + size, 0);
    ByteCursor in(input.data(), input.size());
    decodeBMPRunLength8(in, out.data(), size, stride);
    for (size_t i = size; i < out.size(); ++i)
        EXPECT_EQ(out[i], 0xEE) << "wrote past the output at " << i;
    out.resize(size);
    return out;
}

TEST(BMPRunLength8, RunsLiteralsAndEndOfBitmap)
{
    EXPECT_EQ(runLength8({ 3, 7, 0, 1, 2, 9 }, 6, 8), (std::vector<uint8_t> { 7, 7, 7, 0, 0, 0 }));
    // An odd literal run is padded to an even count.
    EXPECT_EQ(runLength8({ 0, 3, 1, 2, 3, 0, 2, 4 }, 6, 8), (std::vector<uint8_t> { 1, 2, 3, 4, 4, 0 }));
    EXPECT_EQ(runLength8({ 0, 4, 1, 2, 3, 4, 1, 5 }, 6, 8), (std::vector<uint8_t> { 1, 2, 3, 4, 5, 0 }));
}

TEST(BMPRunLength8, EndOfLineAndDeltaMoveThroughRows)
{
    // Rows of stride 4: end of line after a part row, after an exactly full
    // row and on an empty row.
    EXPECT_EQ(runLength8({ 2, 1, 0, 0, 4, 2, 0, 0, 0, 0, 1, 3 }, 16, 4),
        (std::vector<uint8_t> { 1, 1, 0, 0, 2, 2, 2, 2, 0, 0, 0, 0, 3, 0, 0, 0 }));
    // The pair 00 00 writes nothing.
    EXPECT_EQ(runLength8({ 0, 0, 0, 0 }, 8, 4), std::vector<uint8_t>(8, 0));
    // Delta: 2 right and 1 down from position 1.
    EXPECT_EQ(
        runLength8({ 1, 5, 0, 2, 2, 1, 1, 6 }, 12, 4), (std::vector<uint8_t> { 5, 0, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0 }));
    // A row written past its end continues after the rows it touched.
    EXPECT_EQ(runLength8({ 6, 1, 0, 0, 1, 2 }, 12, 4), (std::vector<uint8_t> { 1, 1, 1, 1, 1, 1, 0, 0, 2, 0, 0, 0 }));
}

TEST(BMPRunLength8, ClampsRunsAndStopsAtTheInputEnd)
{
    EXPECT_EQ(runLength8({ 255, 3 }, 5, 8), std::vector<uint8_t>(5, 3));
    EXPECT_EQ(runLength8({ 0, 9, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0 }, 4, 4), (std::vector<uint8_t> { 1, 2, 3, 4 }));
    // Literal run cut off by the end of the input.
    EXPECT_EQ(runLength8({ 0, 5, 1, 2 }, 6, 8), (std::vector<uint8_t> { 1, 2, 0, 0, 0, 0 }));
    // Deltas and line ends far past the output.
    EXPECT_EQ(runLength8({ 0, 2, 255, 255, 0, 2, 255, 255, 0, 0, 0, 0, 4, 9 }, 6, 4), std::vector<uint8_t>(6, 0));
    // A count byte with no value, a delta with no offsets.
    EXPECT_EQ(runLength8({ 1, 1, 3 }, 3, 4), (std::vector<uint8_t> { 1, 0, 0 }));
    EXPECT_EQ(runLength8({ 0, 2, 1 }, 3, 4), std::vector<uint8_t>(3, 0));
}

TEST_F(BMPCodec, RunLength8FileRowsEndWhereTheirLineEnds)
{
    BMPFile f;
    f.width = 3;
    f.height = 2;
    f.bits = 8;
    f.compression = 1;
    f.colorsUsed = 3;
    f.palette = { 0x000000, 0x0000FF, 0x00FF00 };
    // Bottom row 1 1 2, line end, top row 2 then end of bitmap.
    f.data = { 2, 1, 1, 2, 0, 0, 1, 2, 0, 1 };
    FNImage image;
    ASSERT_TRUE(load(image, f.build())) << image.message.c_str();
    EXPECT_EQ(allPixels(image),
        (std::vector<uint32_t> { 0xFF00FF00, 0xFF000000, 0xFF000000, 0xFF0000FF, 0xFF0000FF, 0xFF00FF00 }));
}

// ---- Files written by other programs ---------------------------------------

TEST_F(BMPCodec, FilesFromOtherProgramsLoadWithTheirDecodedPixels)
{
    const std::string directory = fixtureDirectory("bmp");
    const auto expectations = readExpectations(directory);
    ASSERT_GE(expectations.size(), 10u);
    for (const auto& [name, expected] : expectations) {
        FNImage image;
        ASSERT_TRUE(image.loadBMP(FNString(directory + "/" + name))) << name << image.message.c_str();
        ASSERT_EQ(image.width, expected.width) << name;
        ASSERT_EQ(image.height, expected.height) << name;
        EXPECT_EQ(allPixels(image), expected.pixels) << name;
    }
}

} // namespace
