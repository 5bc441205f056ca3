#include "framework/platform/FNUriList.h"
#include "framework/platform/FNUtf8Cut.h"

#include <gtest/gtest.h>

#include <string>

// "あ" is three bytes (E3 81 82); U+1F600 is four (F0 9F 98 80).
static const std::string kA = "\xE3\x81\x82";
static const std::string kSmile = "\xF0\x9F\x98\x80";

TEST(FNUtf8Cut, ShortTextIsKeptWhole)
{
    EXPECT_EQ(FNUtf8Cut("", 0), "");
    EXPECT_EQ(FNUtf8Cut("abc", 3), "abc");
    EXPECT_EQ(FNUtf8Cut(kA + kA, 6), kA + kA);
}

TEST(FNUtf8Cut, CutsOnlyBetweenLetters)
{
    EXPECT_EQ(FNUtf8Cut("abcdef", 4), "abcd");
    // Limits that fall inside the second letter keep only the first.
    for (size_t limit = 3; limit < 6; ++limit)
        EXPECT_EQ(FNUtf8Cut(kA + kA, limit), kA) << limit;
    EXPECT_EQ(FNUtf8Cut(kA, 2), "");
    EXPECT_EQ(FNUtf8Cut("x" + kSmile + "y", 4), "x");
    EXPECT_EQ(FNUtf8Cut("x" + kSmile + "y", 5), "x" + kSmile);
}

TEST(FNUtf8Cut, MalformedBytesCountAsSingleLetters)
{
    // A lead byte without its continuation bytes, and a stray continuation.
    const std::string broken = std::string("a\xE3") + "b\x81" + "c";
    EXPECT_EQ(FNUtf8CutLength(broken, 2), 2u);
    EXPECT_EQ(FNUtf8CutLength(broken, 4), 4u);
    // A truncated letter at the very end stays cuttable byte by byte.
    const std::string tail = "ab\xE3\x81";
    EXPECT_EQ(FNUtf8CutLength(tail, 3), 3u);
}

TEST(FNUtf8Cut, InputMethodLimitKeepsWholeLetters)
{
    // 342 letters of three bytes = 1026 bytes: 1024 would split the last one.
    std::string text;
    for (int i = 0; i < 342; ++i)
        text += kA;
    const std::string cut = FNUtf8Cut(text, 1024);
    EXPECT_EQ(cut.size(), 1023u);
    EXPECT_EQ(cut.substr(cut.size() - 3), kA);
}

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
