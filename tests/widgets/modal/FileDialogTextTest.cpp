// The file dialog's pure parts: the filter text, natural name order, typed
// paths and the save dialog's renaming on a type change.

#include "widgets/modal/FNFileDialog.h"
#include "widgets/modal/FileDialogPaths.h"
#include "widgets/modal/FileFilterText.h"
#include "widgets/modal/FolderListing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

TEST(FileDialogFilter, AddFilterBuildsPairsAndRefusesPastTheLimitLeavingTheTextAlone)
{
    FNFileDialog dialog;
    for (const auto& [description, extension] :
        { std::pair { "ビットマップ", "bmp" }, { "JPEG", "jpg" }, { "PNG", "png" }, { "TARGA", "tga" } })
        EXPECT_TRUE(dialog.AddFilter(description, extension));
    EXPECT_EQ(dialog.filter, "ビットマップ(*.bmp);*.bmp;JPEG(*.jpg);*.jpg;PNG(*.png);*.png;TARGA(*.tga);*.tga;");
    EXPECT_EQ(dialog.filterLength, static_cast<int>(dialog.filter.length()));
    const auto pairs = splitFilterText(dialog.filter.str());
    ASSERT_EQ(pairs.size(), 4u);
    EXPECT_EQ(pairs[2].display, "PNG(*.png)");
    EXPECT_EQ(pairs[2].pattern, "*.png");

    // A description that brings the text to exactly 2046 bytes fits; one
    // byte more is refused and changes nothing.
    FNFileDialog full;
    const int room = FNFileDialog::kFilterLimit - 2 * 3 - 8;
    EXPECT_FALSE(full.AddFilter(std::string(room + 1, 'x'), "png"));
    EXPECT_EQ(full.filterLength, 0);
    EXPECT_TRUE(full.AddFilter(std::string(room, 'x'), "png"));
    EXPECT_EQ(full.filterLength, FNFileDialog::kFilterLimit);
    EXPECT_FALSE(full.AddFilter("", ""));
    EXPECT_EQ(full.filter.length(), static_cast<size_t>(FNFileDialog::kFilterLimit));
}

TEST(FileDialogNames, NaturalOrderComparesNumbersByValueAndFoldsCase)
{
    std::vector<std::string> names = { "img10.png", "img2.png", "Img1.png", "img02.png", "b", "A", "写真3", "写真20",
        "x99999999999999999999", "x100000000000000000000" };
    std::sort(names.begin(), names.end(), naturalNameLess);
    EXPECT_EQ(names,
        (std::vector<std::string> { "A", "b", "Img1.png", "img02.png", "img2.png", "img10.png", "x99999999999999999999",
            "x100000000000000000000", "写真3", "写真20" }));
}

TEST(FileDialogPaths, TypedPathsAreReadAgainstTheFolderShown)
{
    const char* home = std::getenv("HOME");
    const std::string savedHome = home ? home : "";
    setenv("HOME", "/home/ユーザー", 1);
    const std::string longName(600, 'n'); // no fixed-size buffer cuts a path
    const struct {
        const char* typed;
        std::string resolved;
    } cases[] = {
        { "a.png", "/data/pics/a.png" },
        { "sub/b.png", "/data/pics/sub/b.png" },
        { "../c.png", "/data/c.png" },
        { "/tmp/d.png", "/tmp/d.png" },
        { "~/e.png", "/home/ユーザー/e.png" },
        { "~", "/home/ユーザー" },
        { "sub/", "/data/pics/sub" },
        { "../../..", "/" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(resolveTypedPath("/data/pics", c.typed), c.resolved) << c.typed;
    EXPECT_EQ(resolveTypedPath("/data", longName), "/data/" + longName);
    EXPECT_EQ(parentFolder("/data/pics"), "/data");
    EXPECT_EQ(parentFolder("/data"), "/");
    EXPECT_EQ(parentFolder("/"), "/");
    setenv("HOME", savedHome.c_str(), 1);
}

TEST(FileDialogNames, ATypeChangeRenamesTheNameToTheTypesExtension)
{
    const struct {
        const char* name;
        const char* type;
        const char* renamed;
    } cases[] = {
        { "", "JPEG(*.jpg)", "名称未設定.jpg" },
        { "pic", "PNG(*.png)", "pic.png" },
        { "sub/a.b.bmp", "JPEG(*.jpg)", "sub/a.b.jpg" },
        { "dir.d/file", "PNG(*.png)", "dir.d/file.png" },
        { "a.png", "すべてのファイル形式(*.*)", "a.png" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(renamedForType(c.name, c.type), c.renamed) << c.name << " " << c.type;
}

} // namespace
