#include "imaging/FNLibraryVersions.h"

#include <gtest/gtest.h>

#include <png.h>
#include <zlib.h>

// The credit lines name the libraries this build links, at the versions the
// running program uses.
TEST(LibraryVersions, NameTheLinkedLibrariesAtTheirRunningVersions)
{
    const std::vector<FNString> lines = FNImagingLibraryLines();
    ASSERT_EQ(lines.size(), 5u);
    auto startsWith = [](const FNString& line, const std::string& start) { return line.str().rfind(start, 0) == 0; };
    EXPECT_TRUE(startsWith(lines[0], std::string("libpng ") + png_get_libpng_ver(nullptr) + ", "));
    EXPECT_TRUE(startsWith(lines[1], std::string("zlib ") + zlibVersion() + ", "));
    EXPECT_TRUE(startsWith(lines[2], "libjpeg-turbo 2."));
    EXPECT_TRUE(startsWith(lines[3], "FreeType 2."));
    EXPECT_TRUE(startsWith(lines[4], "fontconfig 2."));
    for (const FNString& line : lines) {
        EXPECT_NE(line.str().find(" (http"), std::string::npos) << line.c_str();
        EXPECT_EQ(line.str().back(), ')') << line.c_str();
    }
}
