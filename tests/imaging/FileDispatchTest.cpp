#include "CodecTestFiles.h"
#include "imaging/FNImage.h"

#include <gtest/gtest.h>

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
