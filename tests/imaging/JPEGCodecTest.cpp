#include "imaging/FNImage.h"
#include "tests/imaging/CodecTestSupport.h"

#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

using namespace adaptertest;

namespace {

const std::string kWrongExtension = "拡張子が間違っています。:\n";
const std::string kCannotRead = "ファイルの読込に失敗しました\n";
const std::string kNothingToSave = "データが作成されていません:\n";
const std::string kCannotWrite = "ファイルの書き込みに失敗しました\n";

// ---- Files made here with libjpeg directly ---------------------------------

struct JPEGDescription {
    int width = 1;
    int height = 1;
    int components = 3;
    J_COLOR_SPACE inputSpace = JCS_RGB;
    J_COLOR_SPACE fileSpace = JCS_YCbCr;
    int quality = 75;
    bool progressive = false;
    bool arithmetic = false;
    std::vector<jpeg_scan_info> scans; // a scan script of its own when not empty
    bool noAdobeMarker = false; // libjpeg writes one for CMYK
    // One row of samples used for every row when `samples` is shorter.
    Bytes samples;
};

struct TestErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void testErrorExit(j_common_ptr codec)
{
    std::longjmp(reinterpret_cast<TestErrors*>(codec->err)->jump, 1);
}

Bytes encodeJPEG(const JPEGDescription& d)
{
    jpeg_compress_struct codec {};
    TestErrors errors;
    codec.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = testErrorExit;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&codec);
        std::free(buffer);
        ADD_FAILURE() << "libjpeg refused the test picture";
        return {};
    }
    jpeg_create_compress(&codec);
    jpeg_mem_dest(&codec, &buffer, &size);
    codec.image_width = JDIMENSION(d.width);
    codec.image_height = JDIMENSION(d.height);
    codec.input_components = d.components;
    codec.in_color_space = d.inputSpace;
    jpeg_set_defaults(&codec);
    jpeg_set_colorspace(&codec, d.fileSpace);
    if (d.noAdobeMarker)
        codec.write_Adobe_marker = FALSE;
    jpeg_set_quality(&codec, d.quality, TRUE);
    if (d.progressive)
        jpeg_simple_progression(&codec);
    if (!d.scans.empty()) {
        codec.scan_info = d.scans.data();
        codec.num_scans = int(d.scans.size());
    }
    codec.arith_code = d.arithmetic;
    jpeg_start_compress(&codec, TRUE);
    const size_t rowBytes = size_t(d.width) * d.components;
    const bool oneRow = d.samples.size() < rowBytes * d.height;
    while (codec.next_scanline < codec.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(d.samples.data()) + (oneRow ? 0 : codec.next_scanline * rowBytes);
        jpeg_write_scanlines(&codec, &row, 1);
    }
    jpeg_finish_compress(&codec);
    jpeg_destroy_compress(&codec);
    Bytes out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// The picture's colours as the R, G, B rows libjpeg takes.
JPEGDescription describeRGB(const FNImage& image, int quality)
{
    JPEGDescription d;
    d.width = image.width;
    d.height = image.height;
    d.quality = quality;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const uint32_t p = pixelAt(image, x, y);
            d.samples.insert(d.samples.end(), { uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p) });
        }
    }
    return d;
}

// Smooth colours (what JPEG keeps well) with noise in alpha only.
std::unique_ptr<FNImage> smoothPicture(int width, int height, uint64_t seed)
{
    auto image = noisePicture(width, height, seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->row(y)[x] = (image->row(y)[x] & 0xFF000000u) | uint32_t(40 + 5 * x) << 16
                | uint32_t(200 - 7 * y) << 8 | uint32_t(90 + 2 * (x + y));
    return image;
}

// Offset of the frame header's height field (SOF0 or SOF2), 0 when absent.
size_t frameSizeOffset(const Bytes& file)
{
    for (size_t i = 2; i + 8 < file.size(); ++i) {
        if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2))
            return i + 5;
    }
    return 0;
}

Bytes withFrameSize(Bytes file, unsigned width, unsigned height)
{
    const size_t at = frameSizeOffset(file);
    EXPECT_NE(at, 0u);
    file[at] = uint8_t(height >> 8);
    file[at + 1] = uint8_t(height);
    file[at + 2] = uint8_t(width >> 8);
    file[at + 3] = uint8_t(width);
    return file;
}

int channelDistance(uint32_t a, uint32_t b)
{
    int worst = 0;
    for (int shift = 0; shift < 32; shift += 8)
        worst = std::max(worst, std::abs(int(a >> shift & 255) - int(b >> shift & 255)));
    return worst;
}

uint32_t opaque(int red, int green, int blue)
{
    return 0xFF000000u | uint32_t(red) << 16 | uint32_t(green) << 8 | uint32_t(blue);
}

void expectPixelsNear(const FNImage& image, const Bytes& rgb, int tolerance)
{
    ASSERT_EQ(size_t(image.width) * image.height * 3, rgb.size());
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* e = &rgb[(size_t(y) * image.width + x) * 3];
            ASSERT_LE(channelDistance(pixelAt(image, x, y), opaque(e[0], e[1], e[2])), tolerance)
                << "pixel " << x << ", " << y;
        }
    }
}

class JPEGCodec : public LoadingFixture {
protected:
    JPEGCodec()
        : LoadingFixture(&FNImage::loadJPEG, "picture.jpg")
    {
    }
};

} // namespace

// ---- Round trips and encoder settings ----------------------------------------

TEST_F(JPEGCodec, RoundTripIsCloseAndAlwaysOpaque)
{
    const int sizes[][2] = { { 1, 1 }, { 3, 3 }, { 7, 1 }, { 33, 5 } };
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size[0]) + "x" + std::to_string(size[1]));
        auto source = smoothPicture(size[0], size[1], uint64_t(size[0] + size[1]));
        const std::string name = dir.path("smooth.jpeg");
        ASSERT_TRUE(source->saveJPEG(name.c_str(), 100));
        FNImage loaded;
        ASSERT_TRUE(loaded.loadJPEG(name.c_str()));
        EXPECT_TRUE(loaded.created);
        ASSERT_EQ(loaded.width, size[0]);
        ASSERT_EQ(loaded.height, size[1]);
        for (int y = 0; y < size[1]; ++y) {
            for (int x = 0; x < size[0]; ++x) {
                EXPECT_EQ(loaded.getAlpha(x, y), 255);
                EXPECT_LE(channelDistance(pixelAt(loaded, x, y), pixelAt(*source, x, y) | 0xFF000000u), 4);
            }
        }
    }
}

// The file is exactly what libjpeg writes for those rows at the limited
// quality (defaults, baseline tables, all tables written).
TEST_F(JPEGCodec, QualityIsLimitedToTheLibraryRange)
{
    auto source = noisePicture(33, 17, 3);
    const std::pair<int, int> cases[] = { { 150, 100 }, { -5, 0 }, { 85, 85 } };
    for (const auto& [asked, written] : cases) {
        SCOPED_TRACE(asked);
        const std::string name = dir.path("quality.JPG");
        ASSERT_TRUE(source->saveJPEG(name.c_str(), asked));
        EXPECT_EQ(readFile(name), encodeJPEG(describeRGB(*source, written)));
    }
    EXPECT_NE(encodeJPEG(describeRGB(*source, 100)), encodeJPEG(describeRGB(*source, 99)));
    EXPECT_NE(encodeJPEG(describeRGB(*source, 0)), encodeJPEG(describeRGB(*source, 2)));
}

TEST_F(JPEGCodec, UTF8FileNamesAreUsedAsGiven)
{
    auto source = smoothPicture(3, 3, 1);
    const std::string name = dir.path("キャンバス.jpg");
    ASSERT_TRUE(source->saveJPEG(name.c_str(), 90));
    EXPECT_EQ(access(name.c_str(), F_OK), 0);
    EXPECT_TRUE(image.loadJPEG(name.c_str()));
}

// ---- Colour spaces -------------------------------------------------------------

// Colour pictures decode straight into the picture unless the file is far
// smaller than such a picture usually is (here a flat progressive picture of
// more than 128 pixels a byte); both ways give the same pixels.
TEST_F(JPEGCodec, FlatColourPicturesDecodeTheSameEitherWay)
{
    JPEGDescription d;
    d.width = 1024;
    d.height = 512;
    for (int x = 0; x < d.width; ++x)
        d.samples.insert(d.samples.end(), { 200, 100, 50 });
    // Progressive with one full DC scan and end-of-block runs for the rest:
    // about a bit a block.
    d.progressive = true;
    d.scans.push_back({ 3, { 0, 1, 2, 0 }, 0, 0, 0, 0 });
    for (int component = 0; component < 3; ++component)
        d.scans.push_back({ 1, { component }, 1, 63, 0, 0 });
    const Bytes flat = encodeJPEG(d);
    d.scans.clear();
    d.progressive = false;
    d.quality = 100;
    const Bytes baseline = encodeJPEG(d);
    ASSERT_GT(size_t(d.width) * d.height, 128 * flat.size()) << "the flat file takes the row-block way";
    ASSERT_LT(size_t(d.width) * d.height, 128 * baseline.size()) << "the baseline file goes straight in";
    for (const Bytes* file : { &flat, &baseline }) {
        ASSERT_TRUE(loadBytes(*file));
        ASSERT_EQ(image.width, 1024);
        const uint32_t first = pixelAt(image, 0, 0);
        EXPECT_NEAR(int(first >> 16 & 0xFF), 200, 2);
        EXPECT_NEAR(int(first >> 8 & 0xFF), 100, 2);
        EXPECT_NEAR(int(first & 0xFF), 50, 2);
        EXPECT_EQ(first >> 24, 0xFFu);
        EXPECT_EQ(pixelAt(image, 1023, 511), first);
    }
}

TEST_F(JPEGCodec, GreyFilesAreGreyInAllThreeColours)
{
    JPEGDescription d;
    d.width = 16;
    d.height = 8;
    d.components = 1;
    d.inputSpace = d.fileSpace = JCS_GRAYSCALE;
    d.quality = 100;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            d.samples.push_back(x < 8 ? 30 : 220);
    ASSERT_TRUE(loadBytes(encodeJPEG(d)));
    ASSERT_EQ(image.width, 16);
    for (int x : { 0, 7, 8, 15 }) {
        const uint32_t p = pixelAt(image, x, 3);
        EXPECT_EQ(p >> 24, 255u);
        EXPECT_EQ(p >> 16 & 255, p & 255);
        EXPECT_EQ(p >> 8 & 255, p & 255);
        EXPECT_LE(channelDistance(p, x < 8 ? opaque(30, 30, 30) : opaque(220, 220, 220)), 2);
    }
}

// Four 8 x 8 blocks of flat ink: red, green, 50 % black and a mixed colour.
// red = (255 - C)(255 - K) / 255, and likewise green from M, blue from Y.
TEST_F(JPEGCodec, CMYKFilesAreConvertedWithOrWithoutAdobeInversion)
{
    const uint8_t inks[4][4] = { { 0, 255, 255, 0 }, { 255, 0, 255, 0 }, { 0, 0, 0, 128 }, { 128, 64, 0, 64 } };
    const uint32_t expected[4] = { opaque(255, 0, 0), opaque(0, 255, 0), opaque(127, 127, 127), opaque(95, 143, 191) };
    for (bool adobe : { true, false }) {
        SCOPED_TRACE(adobe ? "Adobe, stored inverted" : "no Adobe marker, stored as ink");
        JPEGDescription d;
        d.width = 32;
        d.height = 8;
        d.components = 4;
        d.inputSpace = d.fileSpace = JCS_CMYK;
        d.quality = 100;
        d.noAdobeMarker = !adobe;
        for (int x = 0; x < 32; ++x)
            for (int c = 0; c < 4; ++c)
                d.samples.push_back(adobe ? 255 - inks[x / 8][c] : inks[x / 8][c]);
        ASSERT_TRUE(loadBytes(encodeJPEG(d)));
        ASSERT_EQ(image.width, 32);
        for (int block = 0; block < 4; ++block)
            EXPECT_LE(channelDistance(pixelAt(image, block * 8 + 3, 4), expected[block]), 2) << "block " << block;
    }
}

// Files written by Pillow and ImageMagick against the pixels Pillow decodes
// (the same libjpeg at default settings, so equal; CMYK within 1 for the
// conversion's rounding).
TEST_F(JPEGCodec, FilesFromOtherProgramsDecodeAsPillowDoes)
{
    const std::pair<const char*, int> cases[]
        = { { "pillow_420", 0 }, { "magick_progressive", 0 }, { "pillow_grey", 0 }, { "pillow_cmyk", 1 } };
    for (const auto& [name, tolerance] : cases) {
        SCOPED_TRACE(name);
        FNImage loaded;
        ASSERT_TRUE(loaded.loadJPEG(dataPath(std::string("jpeg/") + name + ".jpg").c_str()));
        expectPixelsNear(loaded, readFile(dataPath(std::string("jpeg/") + name + ".rgb")), tolerance);
    }
}

// ---- Refusals -------------------------------------------------------------------

TEST_F(JPEGCodec, WrongExtensionIsRefusedByBothCalls)
{
    auto source = smoothPicture(3, 3, 2);
    const std::string good = dir.path("a.jpg");
    ASSERT_TRUE(source->saveJPEG(good.c_str(), 85));
    const std::string mixed = dir.path("a.Jpg");
    ASSERT_EQ(rename(good.c_str(), mixed.c_str()), 0);
    EXPECT_FALSE(image.loadJPEG(mixed.c_str()));
    EXPECT_EQ(image.message.str(), kWrongExtension + mixed);
    expectUntouched();
    const std::string png = dir.path("b.png");
    EXPECT_FALSE(source->saveJPEG(png.c_str(), 85));
    EXPECT_EQ(source->message.str(), kWrongExtension + png);
    EXPECT_NE(access(png.c_str(), F_OK), 0);
}

TEST_F(JPEGCodec, UnreadableFilesFailWithTheReadMessage)
{
    auto source = smoothPicture(40, 30, 4);
    const Bytes good = encodeJPEG(describeRGB(*source, 90));
    JPEGDescription progressive = describeRGB(*source, 90);
    progressive.progressive = true;
    const Bytes goodProgressive = encodeJPEG(progressive);
    Bytes noise(600);
    Seeded random(6);
    for (uint8_t& b : noise)
        b = uint8_t(random.next());
    Bytes endMarkerTooEarly(good.begin(), good.begin() + good.size() / 2);
    endMarkerTooEarly.insert(endMarkerTooEarly.end(), { 0xFF, 0xD9 });
    Bytes garbageAfterHeader(good.begin(), good.begin() + frameSizeOffset(good) + 200);
    garbageAfterHeader.insert(garbageAfterHeader.end(), noise.begin(), noise.end());
    const struct {
        const char* what;
        Bytes bytes;
        FNImageFailure why;
    } cases[] = {
        { "empty", Bytes(), FNImageFailure::Truncated },
        { "start marker only", Bytes(good.begin(), good.begin() + 2), FNImageFailure::Truncated },
        { "cut inside the headers", Bytes(good.begin(), good.begin() + frameSizeOffset(good)),
            FNImageFailure::Truncated },
        { "cut inside the data", Bytes(good.begin(), good.begin() + good.size() / 2), FNImageFailure::Truncated },
        { "progressive cut inside the data",
            Bytes(goodProgressive.begin(), goodProgressive.begin() + goodProgressive.size() / 2),
            FNImageFailure::Truncated },
        { "end marker before the data is complete", endMarkerTooEarly, FNImageFailure::Truncated },
        { "noise", noise, FNImageFailure::NotThisFormat },
        { "noise after the headers", garbageAfterHeader, FNImageFailure::NotThisFormat },
        { "PNG signature", Bytes { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13 },
            FNImageFailure::NotThisFormat },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(loadBytes(c.bytes));
        EXPECT_EQ(image.message.str(), kCannotRead + path);
        EXPECT_EQ(image.failure, c.why);
        expectUntouched();
    }
    const std::string missing = dir.path("missing.jpg");
    EXPECT_FALSE(image.loadJPEG(missing.c_str()));
    EXPECT_EQ(image.message.str(), kCannotRead + missing);
    EXPECT_EQ(image.failure, FNImageFailure::FileMissing);
    ASSERT_TRUE(loadBytes(good)); // the intact files load
    ASSERT_TRUE(loadBytes(goodProgressive));
}

TEST_F(JPEGCodec, ImpossibleSizesAreRefused)
{
    auto source = smoothPicture(16, 16, 5);
    const Bytes small = encodeJPEG(describeRGB(*source, 80));
    for (const auto& size : { std::pair<unsigned, unsigned> { 0, 16 }, { 16, 0 } }) {
        EXPECT_FALSE(loadBytes(withFrameSize(small, size.first, size.second)));
        EXPECT_EQ(image.message.str(), kCannotRead + path);
        expectUntouched();
    }
}

// Complete, valid files that are still too big for the editor.
TEST_F(JPEGCodec, ValidFilesBeyondTheLimitsAreRefused)
{
    JPEGDescription wide;
    wide.width = 32769;
    wide.height = 8;
    wide.components = 1;
    wide.inputSpace = wide.fileSpace = JCS_GRAYSCALE;
    wide.samples.assign(32769, 100);
    EXPECT_FALSE(loadBytes(encodeJPEG(wide)));
    EXPECT_EQ(image.message.str(), kCannotRead + path);
    // 16385 x 16384 is just over 2^28 pixels.
    JPEGDescription large = wide;
    large.width = 16385;
    large.height = 16384;
    large.quality = 10;
    large.samples.assign(16385, 0);
    EXPECT_FALSE(loadBytes(encodeJPEG(large)));
    EXPECT_EQ(image.message.str(), kCannotRead + path);
    EXPECT_EQ(image.failure, FNImageFailure::TooLarge);
    expectUntouched();
}

// Refused like a short file: when arithmetic-coded data runs out the
// library pads with zeros without saying so.
TEST_F(JPEGCodec, ArithmeticCodedFilesAreRefused)
{
    auto source = smoothPicture(16, 16, 7);
    JPEGDescription d = describeRGB(*source, 80);
    ASSERT_TRUE(loadBytes(encodeJPEG(d)));
    d.arithmetic = true;
    EXPECT_FALSE(loadBytes(encodeJPEG(d)));
    EXPECT_EQ(image.message.str(), kCannotRead + path);
    EXPECT_EQ(image.failureText(), "unsupported arithmetic-coded JPEG");
}

// Every progressive scan walks the whole picture again, so their number is
// limited; 3 x 63 x 11 + 1 scans of successive approximation go past it.
TEST_F(JPEGCodec, ProgressiveFilesWithThousandsOfScansAreRefused)
{
    auto source = smoothPicture(16, 16, 8);
    JPEGDescription d = describeRGB(*source, 90);
    d.scans.push_back({ 3, { 0, 1, 2, 0 }, 0, 0, 0, 0 });
    for (int component = 0; component < 3; ++component) {
        for (int k = 1; k < 64; ++k) {
            d.scans.push_back({ 1, { component }, k, k, 0, 10 });
            for (int bit = 10; bit > 0; --bit)
                d.scans.push_back({ 1, { component }, k, k, bit, bit - 1 });
        }
    }
    EXPECT_FALSE(loadBytes(encodeJPEG(d)));
    EXPECT_EQ(image.message.str(), kCannotRead + path);
    expectUntouched();
    d.scans.resize(1 + 63 * 11); // the first component's scans only: allowed
    ASSERT_TRUE(loadBytes(encodeJPEG(d)));
}

// A progressive header claiming 16000 x 16000 would make the decoder keep
// three quarters of a gigabyte of coefficients for a few hundred bytes.
TEST_F(JPEGCodec, ProgressiveHeaderCannotClaimHugeDecoderMemory)
{
    const bool watching = watchAllocations();
    auto source = smoothPicture(16, 16, 6);
    JPEGDescription d = describeRGB(*source, 80);
    d.progressive = true;
    EXPECT_FALSE(loadBytes(withFrameSize(encodeJPEG(d), 16000, 16000)));
    EXPECT_EQ(image.message.str(), kCannotRead + path);
    expectUntouched();
    if (!watching)
        GTEST_SKIP() << "allocation sizes are only visible under AddressSanitizer";
    EXPECT_LT(largestAllocation().load(), size_t(64) << 20);
}

// ---- Save failures -----------------------------------------------------------------

TEST_F(JPEGCodec, SavingAnEmptyPictureFails)
{
    image.clear();
    const std::string name = dir.path("empty.jpg");
    EXPECT_FALSE(image.saveJPEG(name.c_str(), 85));
    EXPECT_EQ(image.message.str(), kNothingToSave + name);
    EXPECT_NE(access(name.c_str(), F_OK), 0);
}

TEST_F(JPEGCodec, WriteFailuresReportTheWriteMessage)
{
    auto source = noisePicture(64, 64, 8);
    const std::string full = dir.path("full.jpg");
    ASSERT_EQ(symlink("/dev/full", full.c_str()), 0);
    EXPECT_FALSE(source->saveJPEG(full.c_str(), 85));
    EXPECT_EQ(source->message.str(), kCannotWrite + full);
    const std::string nowhere = dir.path("no/such/dir.jpg");
    EXPECT_FALSE(source->saveJPEG(nowhere.c_str(), 85));
    EXPECT_EQ(source->message.str(), kCannotWrite + nowhere);
}
