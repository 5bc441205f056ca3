#include "framework/platform/FNUriList.h"

#include <gtest/gtest.h>

#include <string>

// "あ" is three bytes (E3 81 82).
static const std::string kA = "\xE3\x81\x82";

TEST(FNUriList, LocalFilesInOrder)
{
    const std::string list = "file:///home/user/a.png\r\n"
                             "# a comment line\r\n"
                             "file://localhost/tmp/b.bmp\r\n"
                             "file://workstation/tmp/c.jpg\n"
                             "file:///tmp/last.tga";
    const std::vector<std::string> paths = FNLocalPathsFromUriList(list, "workstation");
    ASSERT_EQ(paths.size(), 4u);
    EXPECT_EQ(paths[0], "/home/user/a.png");
    EXPECT_EQ(paths[1], "/tmp/b.bmp");
    EXPECT_EQ(paths[2], "/tmp/c.jpg");
    EXPECT_EQ(paths[3], "/tmp/last.tga");
}

TEST(FNUriList, OtherHostsAndSchemesAreLeftOut)
{
    const std::string list = "http://example.org/a.png\r\n"
                             "file://elsewhere/tmp/a.png\r\n"
                             "file:relative.png\r\n"
                             "\r\n"
                             "file:///ok.png\r\n";
    const std::vector<std::string> paths = FNLocalPathsFromUriList(list, "workstation");
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0], "/ok.png");
    EXPECT_TRUE(FNLocalPathsFromUriList("file://elsewhere/x", "").empty());
}

TEST(FNUriList, EscapesAreDecodedAndLongPathsKeptWhole)
{
    const std::vector<std::string> paths
        = FNLocalPathsFromUriList("file:///tmp/my%20picture%E3%81%82.png\r\nfile:///tmp/100%25%zz", "");
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0], "/tmp/my picture" + kA + ".png");
    EXPECT_EQ(paths[1], "/tmp/100%%zz");

    // Far longer than the 256 bytes a dropped path once had room for.
    const std::string longName(700, 'n');
    const std::vector<std::string> longPaths = FNLocalPathsFromUriList("file:///d/" + longName + ".png", "");
    ASSERT_EQ(longPaths.size(), 1u);
    EXPECT_EQ(longPaths[0], "/d/" + longName + ".png");
}

TEST(FNUriList, EncodedNulByteRejectsThePath)
{
    const std::vector<std::string> paths = FNLocalPathsFromUriList("file:///tmp/a%00b.png\r\nfile:///tmp/c.png", "");
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0], "/tmp/c.png");
}
