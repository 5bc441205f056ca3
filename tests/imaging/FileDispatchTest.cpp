#include "CodecTestFiles.h"
#include "imaging/FNImage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace codectest;

namespace {

TEST(FileDispatch, ExtensionsMustMatchOneSpellingExactly)
{
    TempDir dir;
    FNImage source;
    fillRandom(source, 3, 2, 5, false);
    ASSERT_TRUE(source.saveBMP(dir.file("p.bmp")));
    const std::vector<uint8_t> bmp = readBytes(dir.file("p.bmp"));

    writeBytes(dir.file("p.BMP"), bmp);
    FNImage upper;
    ASSERT_TRUE(upper.load(dir.file("p.BMP"))) << upper.message.c_str();
    EXPECT_EQ(allPixels(upper), allPixels(source));

    writeBytes(dir.file("p.Bmp"), bmp);
    FNImage mixed;
    EXPECT_FALSE(mixed.load(dir.file("p.Bmp")));
    EXPECT_EQ(mixed.message, "非対応の拡張子です:\n" + dir.file("p.Bmp"));

    FNImage none;
    EXPECT_FALSE(none.load(dir.file("noextension")));
    EXPECT_EQ(none.message, "非対応の拡張子です:\n" + dir.file("noextension"));
    EXPECT_FALSE(none.save(dir.file("p.gif")));
    EXPECT_EQ(none.message, "非対応の拡張子です:\n" + dir.file("p.gif"));
}

TEST(FileDispatch, SaveUsesEachFormatsFixedSettings)
{
    TempDir dir;
    FNImage source;
    fillRandom(source, 2, 2, 6, true);
    ASSERT_TRUE(source.save(dir.file("p.BMP")));
    EXPECT_EQ(readBytes(dir.file("p.BMP"))[28], 24);
    ASSERT_TRUE(source.save(dir.file("p.tga")));
    const std::vector<uint8_t> tga = readBytes(dir.file("p.tga"));
    EXPECT_EQ(tga[16], 32);
    EXPECT_EQ(tga[17], 0);
    FNImage loaded;
    ASSERT_TRUE(loaded.load(dir.file("p.tga")));
    EXPECT_EQ(allPixels(loaded), allPixels(source));

    // PNG keeps all four channels; JPEG drops alpha.
    ASSERT_TRUE(source.save(dir.file("p.png")));
    FNImage png;
    ASSERT_TRUE(png.load(dir.file("p.png")));
    EXPECT_EQ(allPixels(png), allPixels(source));
    ASSERT_TRUE(source.save(dir.file("p.jpeg")));
    FNImage jpeg;
    ASSERT_TRUE(jpeg.load(dir.file("p.jpeg")));
    EXPECT_EQ(jpeg.getAlpha(0, 0), 255);
}

} // namespace

namespace {

// A small picture saved in each format under its own name.
struct SavedPictures {
    explicit SavedPictures(const TempDir& dir)
    {
        fillRandom(source, 5, 3, 11, false);
        for (const char* name : { "p.bmp", "p.jpg", "p.png", "p.tga" })
            EXPECT_TRUE(source.save(dir.file(name))) << name;
    }
    FNImage source;
};

// A file whose first bytes are another format's signature is read as that
// format, whatever its extension says; TGA has no signature and is read by
// extension only.
TEST(FileDispatch, ContentChoosesTheFormatBeforeTheExtension)
{
    TempDir dir;
    SavedPictures saved(dir);
    const struct {
        const char* from;
        const char* to;
    } renames[] = {
        { "p.jpg", "jpeg-named.png" },
        { "p.png", "png-named.jpg" },
        { "p.png", "png-named.BMP" },
        { "p.bmp", "bmp-named.tga" },
        { "p.bmp", "bmp-named.jpeg" },
    };
    for (const auto& r : renames) {
        SCOPED_TRACE(r.to);
        FNImage expected, renamed;
        ASSERT_TRUE(expected.load(dir.file(r.from)));
        writeBytes(dir.file(r.to), readBytes(dir.file(r.from)));
        ASSERT_TRUE(renamed.load(dir.file(r.to))) << renamed.failureText().c_str();
        EXPECT_EQ(allPixels(renamed), allPixels(expected));
    }
    // Without a signature the extension decides: a TGA named .png is no PNG.
    writeBytes(dir.file("tga-named.png"), readBytes(dir.file("p.tga")));
    FNImage image;
    EXPECT_FALSE(image.load(dir.file("tga-named.png")));
    EXPECT_EQ(image.message, "PNGファイルを読み込めませんでした\n" + dir.file("tga-named.png"));
    EXPECT_EQ(image.failureText(), "not a valid PNG file");
    // The codecs' own entry points keep checking the extension.
    EXPECT_FALSE(image.loadPNG(dir.file("png-named.jpg")));
    EXPECT_EQ(image.failure, FNImageFailure::WrongExtension);
}

// Each failure keeps its format's Japanese message and says its cause.
TEST(FileDispatch, FailuresSayTheirCause)
{
    TempDir dir;
    std::filesystem::create_directory(dir.path("folder.png"));
    writeBytes(dir.file("text.bmp"), { 'h', 'e', 'l', 'l', 'o' });
    std::vector<uint8_t> png = [&] {
        SavedPictures saved(dir);
        return readBytes(dir.file("p.png"));
    }();
    png.resize(png.size() / 2);
    writeBytes(dir.file("cut.png"), png);
    const struct {
        const char* name;
        const char* message;
        FNImageFailure why;
        const char* text;
    } cases[] = {
        { "missing.tga", "ファイルが読み込めませんでした:\n", FNImageFailure::FileMissing, "file not found" },
        { "no/folder/x.jpg", "ファイルの読込に失敗しました\n", FNImageFailure::FileMissing, "file not found" },
        { "folder.png", "PNGファイルを読み込めませんでした\n", FNImageFailure::IsFolder, "is a folder" },
        { "text.bmp", "読み込めるファイルは1,4,8,24,32bitのbitmapです。:\n", FNImageFailure::NotThisFormat,
            "not a valid BMP file" },
        { "cut.png", "PNGファイルを読み込めませんでした\n", FNImageFailure::Truncated, "file is truncated" },
        { "picture.gif", "非対応の拡張子です:\n", FNImageFailure::WrongExtension, "unsupported file name extension" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FNImage image(2, 1);
        EXPECT_FALSE(image.load(dir.file(c.name)));
        EXPECT_EQ(image.message, c.message + dir.file(c.name));
        EXPECT_EQ(image.failure, c.why);
        EXPECT_EQ(image.failureText(), c.text);
        EXPECT_TRUE(image.created);
        EXPECT_EQ(image.width, 2);
    }
    // Root may read any file, so the refusal shows only for other users.
    writeBytes(dir.file("locked.bmp"), { 'B', 'M' });
    std::filesystem::permissions(dir.path("locked.bmp"), std::filesystem::perms::none);
    if (geteuid() != 0) {
        FNImage locked;
        EXPECT_FALSE(locked.load(dir.file("locked.bmp")));
        EXPECT_EQ(locked.failure, FNImageFailure::NoPermission);
    }
    FNImage empty;
    empty.clear();
    EXPECT_FALSE(empty.save(dir.file("x.png")));
    EXPECT_EQ(empty.failureText(), "picture has no pixels");
    FNImage image;
    EXPECT_FALSE(image.saveTGA(dir.file("x.tga"), 16));
    EXPECT_EQ(image.failureText(), "unsupported 16-bit TGA output");
}

} // namespace
