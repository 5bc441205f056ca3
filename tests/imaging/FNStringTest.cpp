#include "imaging/FNString.h"

#include <gtest/gtest.h>

TEST(FNString, NumbersAndConcatenation)
{
    EXPECT_EQ(FNString(-12), "-12");
    EXPECT_EQ(FNString("ab") + 3, "ab3");
    EXPECT_EQ("x" + FNString("y") + FNString("z"), "xyz");
    FNString s("a");
    s += nullptr;
    s += "b";
    EXPECT_EQ(s, "ab");
    s = static_cast<const char*>(nullptr);
    EXPECT_TRUE(s.empty());
}

TEST(FNString, ComparisonWithNullIsFalseBothWays)
{
    const FNString s("abc");
    EXPECT_FALSE(s == static_cast<const char*>(nullptr));
    EXPECT_FALSE(s != static_cast<const char*>(nullptr));
    EXPECT_TRUE(s != "abd");
    EXPECT_TRUE(s == FNString("abc"));
}

TEST(FNString, SubstrLimits)
{
    const FNString s("abcdef");
    EXPECT_EQ(s.substr(2, 100), "cdef");
    EXPECT_EQ(s.substr(4, 4), "");
    EXPECT_EQ(s.substr(7, 9), "");
    EXPECT_EQ(s.substr(-3, 2), "ab");
    EXPECT_EQ(s.substr(6, 7), "");
}

TEST(FNString, ExtensionOfFinalComponentOnly)
{
    EXPECT_EQ(FNString("dir/a.b/file").extension(), "");
    EXPECT_EQ(FNString("x.tar.gz").extension(), "gz");
    EXPECT_EQ(FNString("/tmp/写真.PNG").extension(), "PNG");
    EXPECT_EQ(FNString("noext").extension(), "");
    EXPECT_EQ(FNString("trailing.").extension(), "");
    // The dot plus extension must fit in 31 bytes.
    EXPECT_EQ(FNString("a." + std::string(30, 'e')).extension(), FNString(std::string(30, 'e')));
    EXPECT_EQ(FNString("a." + std::string(31, 'e')).extension(), "");
}

TEST(FNString, ProgramDirectoryEndsInSeparator)
{
    const FNString dir = programDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.str().front(), '/');
    EXPECT_EQ(dir.str().back(), '/');
}
