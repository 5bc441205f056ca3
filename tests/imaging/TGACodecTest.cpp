#include "CodecTestFiles.h"
#include "imaging/FNImage.h"

#include <gtest/gtest.h>

using namespace codectest;

namespace {

const char kUnsupported[] = "対応していないTARGA形式のファイルです:\n";

// A hand-made TGA: header fields, then image ID, colour map and pixel data.
struct TGAFile {
    uint8_t colorMapType = 0;
    uint8_t imageType = 2;
    uint16_t firstEntry = 0;
    uint16_t mapLength = 0;
    uint8_t entryBits = 0;
    uint16_t width = 1;
    uint16_t height = 1;
    uint8_t depth = 24;
    uint8_t descriptor = 0;
    std::vector<uint8_t> id;
    std::vector<uint8_t> colorMap;
    std::vector<uint8_t> data;

    std::vector<uint8_t> build() const
    {
        Bytes b;
        b.u8(uint8_t(id.size())).u8(colorMapType).u8(imageType).u16(firstEntry).u16(mapLength).u8(entryBits);
        b.u16(0).u16(0).u16(width).u16(height).u8(depth).u8(descriptor);
        std::vector<uint8_t> out = b.bytes();
        for (const auto* part : { &id, &colorMap, &data })
            out.insert(out.end(), part->begin(), part->end());
        return out;
    }
};

class TGACodec : public testing::Test {
protected:
    bool load(FNImage& image, const std::vector<uint8_t>& bytes)
    {
        const FNString path = dir.file("t.tga");
        writeBytes(path, bytes);
        return image.loadTGA(path);
    }

    TempDir dir;
};

// ---- Saving and round trips ----------------------------------------------

TEST_F(TGACodec, RoundTripsAwkwardSizesExactlyAt24And32Bits)
{
    const int sizes[][2] = { { 1, 1 }, { 3, 3 }, { 7, 1 }, { 33, 5 } };
    uint32_t seed = 100;
    for (int bits : { 24, 32 }) {
        for (const auto& size : sizes) {
            FNImage source;
            fillRandom(source, size[0], size[1], seed++, bits == 32);
            const FNString path = dir.file("round.tga");
            ASSERT_TRUE(source.saveTGA(path, bits)) << source.message.c_str();
            FNImage loaded;
            ASSERT_TRUE(loaded.loadTGA(path)) << loaded.message.c_str();
            EXPECT_TRUE(loaded.created);
            ASSERT_EQ(loaded.width, size[0]);
            ASSERT_EQ(loaded.height, size[1]);
            EXPECT_EQ(allPixels(loaded), allPixels(source)) << bits << " bits " << size[0] << "x" << size[1];
        }
    }
}

TEST_F(TGACodec, TwentyFourBitSaveDropsAlpha)
{
    FNImage source;
    fillRandom(source, 4, 3, 9, true);
    ASSERT_TRUE(source.saveTGA(dir.file("a.tga"), 24));
    FNImage loaded;
    ASSERT_TRUE(loaded.loadTGA(dir.file("a.tga")));
    std::vector<uint32_t> expected = allPixels(source);
    for (uint32_t& word : expected)
        word |= 0xFF000000u;
    EXPECT_EQ(allPixels(loaded), expected);
}

TEST_F(TGACodec, SaveWritesTypeTwoBottomUpWithDescriptorZero)
{
    FNImage image(2, 2);
    image.setColor(0, 0, 1, 2, 3, 4); // top left
    image.setColor(1, 1, 5, 6, 7, 8); // bottom right
    const FNString path = dir.file("s.tga");
    ASSERT_TRUE(image.saveTGA(path, 32));
    const std::vector<uint8_t> expected = Bytes()
                                              .raw({ 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0 })
                                              .u16(2)
                                              .u16(2)
                                              .raw({ 32, 0 })
                                              .raw({ 255, 255, 255, 255, 7, 6, 5, 8 }) // bottom row first
                                              .raw({ 3, 2, 1, 4, 255, 255, 255, 255 });
    EXPECT_EQ(readBytes(path), expected);

    ASSERT_TRUE(image.saveTGA(path, 24));
    const std::vector<uint8_t> file = readBytes(path);
    ASSERT_EQ(file.size(), 18u + 12u);
    EXPECT_EQ(file[16], 24);
    EXPECT_EQ(file[17], 0);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 18, file.end()),
        (std::vector<uint8_t> { 255, 255, 255, 7, 6, 5, 3, 2, 1, 255, 255, 255 }));
}

// ---- Failure messages ----------------------------------------------------

TEST_F(TGACodec, FailureMessagesNameTheFile)
{
    FNImage image;
    const FNString missing = dir.file("missing.tga");
    EXPECT_FALSE(image.loadTGA(missing));
    EXPECT_EQ(image.message, "ファイルが読み込めませんでした:\n" + missing);

    EXPECT_FALSE(image.loadTGA("picture.bmp"));
    EXPECT_EQ(image.message, "拡張子が間違っています。:\npicture.bmp");
    EXPECT_FALSE(image.saveTGA("picture.Tga", 32));
    EXPECT_EQ(image.message, "拡張子が間違っています。:\npicture.Tga");

    // The depth is checked before the extension.
    EXPECT_FALSE(image.saveTGA("picture.png", 16));
    EXPECT_EQ(image.message, "指定できる色深度は24,32bitのいずれかです。:\npicture.png");

    const FNString unwritable = dir.file("no/such/dir/x.tga");
    EXPECT_FALSE(image.saveTGA(unwritable, 24));
    EXPECT_EQ(image.message, "ファイルを書き込めませんでした。:\n" + unwritable);

    image.clear();
    EXPECT_FALSE(image.saveTGA("x.tga", 24));
    EXPECT_EQ(image.message, "データがありません。保存に失敗しました:\nx.tga");
}

TEST_F(TGACodec, RefusesUnsupportedHeadersAndLeavesThePictureAlone)
{
    auto variant = [](auto change) {
        TGAFile f;
        f.data.assign(3, 0);
        change(f);
        return f.build();
    };
    std::vector<uint8_t> shortHeader = variant([](TGAFile&) {});
    shortHeader.resize(17);
    const std::vector<RefusedFile> cases = {
        { "grey (type 3)", variant([](TGAFile& f) { f.imageType = 3; }), FNImageFailure::UnsupportedVariant },
        { "run-length colour mapped (type 9)", variant([](TGAFile& f) { f.imageType = 9; }) },
        { "no image (type 0)", variant([](TGAFile& f) { f.imageType = 0; }), FNImageFailure::NotThisFormat },
        { "type 1 without a map", variant([](TGAFile& f) {
             f.imageType = 1;
             f.depth = 8;
             f.entryBits = 24;
         }) },
        { "type 1 with 0-bit entries", variant([](TGAFile& f) {
             f.imageType = 1;
             f.depth = 8;
             f.mapLength = 2;
         }) },
        { "width 0", variant([](TGAFile& f) { f.width = 0; }), FNImageFailure::NotThisFormat },
        { "height 0", variant([](TGAFile& f) { f.height = 0; }) },
        { "width over 32768", variant([](TGAFile& f) { f.width = 32769; }) },
        { "height 65535", variant([](TGAFile& f) { f.height = 65535; }), FNImageFailure::TooLarge },
        { "more than 2^28 pixels", variant([](TGAFile& f) {
             f.width = 32768;
             f.height = 8193;
         }) },
        { "header cut short", shortHeader, FNImageFailure::Truncated },
        { "empty file", {} },
    };
    expectRefused(cases, dir.file("t.tga"), &FNImage::loadTGA, kUnsupported + dir.file("t.tga"));
}

TEST_F(TGACodec, UnknownDepthLoadsAsAZeroPicture)
{
    TGAFile f;
    f.width = 3;
    f.height = 2;
    f.depth = 16;
    f.data.assign(12, 0x7F);
    FNImage image;
    ASSERT_TRUE(load(image, f.build())) << image.message.c_str();
    EXPECT_TRUE(image.created);
    EXPECT_EQ(allPixels(image), std::vector<uint32_t>(6, 0));
}

// ---- Orientation ---------------------------------------------------------

// A 3 x 2 picture with red and green on top, blue and white below.
// Descriptor bit 5 means top row first, bit 4 right to left.
TEST_F(TGACodec, DescriptorBitsSetRowAndColumnOrder)
{
    const uint8_t R[] = { 0, 0, 255 }, G[] = { 0, 255, 0 }, B[] = { 255, 0, 0 }, W[] = { 255, 255, 255 },
                  K[] = { 9, 9, 9 };
    const uint8_t* picture[2][3] = { { R, K, G }, { B, K, W } };
    for (uint8_t descriptor : { 0x00, 0x20, 0x10, 0x30 }) {
        TGAFile f;
        f.width = 3;
        f.height = 2;
        f.descriptor = descriptor;
        for (int r = 0; r < 2; ++r) {
            const int y = descriptor & 0x20 ? r : 1 - r;
            for (int i = 0; i < 3; ++i) {
                const uint8_t* c = picture[y][descriptor & 0x10 ? 2 - i : i];
                f.data.insert(f.data.end(), c, c + 3);
            }
        }
        FNImage image;
        ASSERT_TRUE(load(image, f.build())) << image.message.c_str();
        EXPECT_EQ(pixel(image, 0, 0), 0xFFFF0000u) << int(descriptor);
        EXPECT_EQ(pixel(image, 2, 0), 0xFF00FF00u) << int(descriptor);
        EXPECT_EQ(pixel(image, 0, 1), 0xFF0000FFu) << int(descriptor);
        EXPECT_EQ(pixel(image, 2, 1), 0xFFFFFFFFu) << int(descriptor);
    }
}

// ---- Run length ------------------------------------------------------------

TEST_F(TGACodec, RunLengthPacketsCrossRowsAndStopWhenThePictureIsFull)
{
    TGAFile f;
    f.imageType = 10;
    f.width = 3;
    f.height = 2;
    f.descriptor = 0x20;
    // Raw packet of 2, then a run of 128 that fills the rest and more.
    f.data = { 0x01, 1, 2, 3, 4, 5, 6, 0xFF, 7, 8, 9, 0x00, 10, 11, 12 };
    FNImage image;
    ASSERT_TRUE(load(image, f.build())) << image.message.c_str();
    EXPECT_EQ(allPixels(image),
        (std::vector<uint32_t> { 0xFF030201, 0xFF060504, 0xFF090807, 0xFF090807, 0xFF090807, 0xFF090807 }));
}

TEST_F(TGACodec, RunLengthRunAtTheEndOfTheFileStillFillsItsPixels)
{
    TGAFile f;
    f.imageType = 10;
    f.width = 4;
    f.height = 1;
    f.depth = 32;
    f.data = { 0x83, 1, 2, 3, 4 };
    FNImage image;
    ASSERT_TRUE(load(image, f.build())) << image.message.c_str();
    EXPECT_EQ(allPixels(image), std::vector<uint32_t>(4, 0x04030201));
}

// Pixel data, palettes or image IDs that end early fail with the TGA
// message and leave the picture as it was; nothing past the end is read.
TEST_F(TGACodec, TruncatedFilesAreRefusedAtEveryCut)
{
    std::vector<RefusedFile> cuts;
    // ImageMagick's files end with their pixels; Pillow's with a 26-byte
    // footer, which may go.
    for (const char* name : { "im_type1.tga", "im_type2.tga", "im_type10.tga" }) {
        const auto some = cutFixture("tga", name, { 10, 19, 40, -3, -1 });
        cuts.insert(cuts.end(), some.begin(), some.end());
    }
    for (const char* name : { "pil_type10_32.tga", "pil_type2_id.tga", "pil_type1.tga" }) {
        const auto some = cutFixture("tga", name, { 30, -27, -30 });
        cuts.insert(cuts.end(), some.begin(), some.end());
    }
    TGAFile rle;
    rle.imageType = 10;
    rle.width = 3;
    rle.data = { 0x02, 1, 2, 3, 4 }; // raw packet of 3 pixels cut off inside the second
    TGAFile raw;
    raw.width = 2;
    raw.height = 2;
    raw.data = { 1, 2, 3, 4 };
    TGAFile id;
    id.id.assign(200, 'x');
    std::vector<uint8_t> longID = id.build();
    longID.resize(50);
    cuts.push_back({ "run-length packet cut off", rle.build(), FNImageFailure::Truncated });
    cuts.push_back({ "raw pixels cut off", raw.build(), FNImageFailure::Truncated });
    cuts.push_back({ "image ID longer than the file", longID, FNImageFailure::Truncated });
    expectRefused(cuts, dir.file("t.tga"), &FNImage::loadTGA, kUnsupported + dir.file("t.tga"));
}

// ---- Image ID and colour maps ----------------------------------------------

TEST_F(TGACodec, ImageIDAndTrueColourMapAreSkipped)
{
    TGAFile f;
    f.width = 2;
    f.id = { 'h', 'e', 'l', 'l', 'o' };
    f.colorMapType = 1;
    f.mapLength = 3;
    f.entryBits = 24;
    f.colorMap.assign(9, 0xAB);
    f.data = { 1, 2, 3, 4, 5, 6 };
    FNImage image;
    ASSERT_TRUE(load(image, f.build())) << image.message.c_str();
    EXPECT_EQ(allPixels(image), (std::vector<uint32_t> { 0xFF030201, 0xFF060504 }));
}

TEST_F(TGACodec, ColourMappedIndicesCountFromTheFirstEntry)
{
    TGAFile f;
    f.imageType = 1;
    f.colorMapType = 1;
    f.depth = 8;
    f.firstEntry = 10;
    f.mapLength = 2;
    f.entryBits = 24;
    f.width = 4;
    f.id = { 'x' };
    f.colorMap = { 1, 2, 3, 4, 5, 6 };
    f.data = { 10, 11, 9, 12 };
    FNImage image;
    ASSERT_TRUE(load(image, f.build())) << image.message.c_str();
    EXPECT_EQ(allPixels(image), (std::vector<uint32_t> { 0xFF030201, 0xFF060504, 0xFF000000, 0xFF000000 }));
}

TEST_F(TGACodec, ColourMapEntriesOf32And16Bits)
{
    TGAFile f;
    f.imageType = 1;
    f.colorMapType = 1;
    f.depth = 8;
    f.mapLength = 2;
    f.entryBits = 32;
    f.width = 2;
    f.colorMap = { 1, 2, 3, 4, 5, 6, 7, 8 };
    f.data = { 1, 0 };
    FNImage image;
    ASSERT_TRUE(load(image, f.build())) << image.message.c_str();
    EXPECT_EQ(allPixels(image), (std::vector<uint32_t> { 0xFF070605, 0xFF030201 }));

    // 5-5-5 entries: red 31, green 0, blue 1 and white.
    f.entryBits = 16;
    f.colorMap = { 0x01, 0x7C, 0xFF, 0x7F };
    ASSERT_TRUE(load(image, f.build())) << image.message.c_str();
    EXPECT_EQ(allPixels(image), (std::vector<uint32_t> { 0xFFFFFFFF, 0xFFFF0008 }));
}

// Found by fuzzing: a true-colour type with 8-bit pixels and a colour map of
// 0-bit entries read a palette entry from zero bytes.
TEST_F(TGACodec, ZeroBitMapEntriesGiveABlackPalette)
{
    TGAFile f;
    f.imageType = 10;
    f.depth = 8;
    f.mapLength = 3;
    f.entryBits = 0;
    f.width = 2;
    f.data = { 1, 2 };
    FNImage image;
    ASSERT_TRUE(load(image, f.build())) << image.message.c_str();
    EXPECT_EQ(allPixels(image), std::vector<uint32_t>(2, 0xFF000000u));
}

// ---- Files written by other programs ---------------------------------------

TEST_F(TGACodec, FilesFromOtherProgramsLoadWithTheirDecodedPixels)
{
    const std::string directory = fixtureDirectory("tga");
    const auto expectations = readExpectations(directory);
    ASSERT_GE(expectations.size(), 11u);
    for (const auto& [name, expected] : expectations) {
        FNImage image;
        ASSERT_TRUE(image.loadTGA(FNString(directory + "/" + name))) << name << image.message.c_str();
        ASSERT_EQ(image.width, expected.width) << name;
        ASSERT_EQ(image.height, expected.height) << name;
        EXPECT_EQ(allPixels(image), expected.pixels) << name;
    }
}

} // namespace
