// Saving writes a temporary file beside the target and renames it over the
// target only when the whole picture was written.
#include "CodecTestFiles.h"
#include "imaging/FNImage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace codectest;

namespace {

const char* const kNames[] = { "p.bmp", "p.jpg", "p.png", "p.tga" };

// Everything in the folder: a leftover temporary file shows up here.
std::vector<std::string> folderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A tmpfs of `bytes` mounted on `folder` in a mount namespace of this test
// process alone (ctest runs each test in its own process); unmounted at
// the end. Needs the right to make mount namespaces (root, as in CI).
class SmallDisk {
public:
    SmallDisk(const std::string& folder, size_t bytes)
        : m_folder(folder)
    {
        fs::create_directory(folder);
        const std::string options = "size=" + std::to_string(bytes);
        m_mounted = unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
            && mount("tesserine-test", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            umount2(m_folder.c_str(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }

    // Writes a filler file until the disk is full.
    void fill() const
    {
        FILE* filler = std::fopen((m_folder + "/filler").c_str(), "wb");
        ASSERT_NE(filler, nullptr);
        const std::vector<char> block(512, 'x');
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) { }
        std::fclose(filler);
    }

private:
    std::string m_folder;
    bool m_mounted = false;
};

TEST(SaveReplacesWholeFiles, SavingOverAFileReplacesItAndLeavesNothingElse)
{
    TempDir dir;
    FNImage first, second;
    fillRandom(first, 4, 4, 1, false);
    fillRandom(second, 9, 2, 2, false);
    for (const char* name : kNames) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(first.save(dir.file(name)));
        chmod(dir.path(name).c_str(), 0640);
        ASSERT_TRUE(second.save(dir.file(name)));
        FNImage loaded;
        ASSERT_TRUE(loaded.load(dir.file(name)));
        EXPECT_EQ(loaded.width, 9);
        struct stat info;
        ASSERT_EQ(stat(dir.path(name).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0640u) << "the replaced file keeps its permissions";
    }
    EXPECT_EQ(folderEntries(dir.path("")), (std::vector<std::string>(std::begin(kNames), std::end(kNames))));

    // A link is followed: the file it names is replaced, the link stays.
    fs::create_symlink(dir.path("p.png"), dir.path("link.png"));
    ASSERT_TRUE(first.save(dir.file("link.png")));
    EXPECT_TRUE(fs::is_symlink(dir.path("link.png")));
    FNImage loaded;
    ASSERT_TRUE(loaded.load(dir.file("p.png")));
    EXPECT_EQ(allPixels(loaded), allPixels(first));
}

TEST(SaveReplacesWholeFiles, WriteFailuresGiveTheSystemsReason)
{
    TempDir dir;
    FNImage picture;
    fillRandom(picture, 64, 64, 3, false);
    fs::create_directory(dir.path("folder.png"));
    for (const char* name : kNames) {
        SCOPED_TRACE(name);
        const std::string full = dir.path(std::string("full-") + name);
        fs::create_symlink("/dev/full", full);
        const struct {
            std::string path;
            const char* reason;
        } cases[] = {
            { full, "No space left on device" },
            { dir.path(std::string("missing/") + name), "No such file or directory" },
        };
        for (const auto& c : cases) {
            EXPECT_FALSE(picture.save(FNString(c.path))) << c.path;
            EXPECT_EQ(picture.failure, FNImageFailure::WriteFailed);
            EXPECT_EQ(picture.failureText(), c.reason);
        }
    }
    FNImage fresh;
    EXPECT_FALSE(fresh.save(dir.file("folder.png")));
    EXPECT_EQ(fresh.failureText(), "Is a directory");
    EXPECT_EQ(fresh.message.str(), "") << "the PNG writer reports by its result alone";
    EXPECT_FALSE(picture.saveBMP(dir.file("folder.bmp/x.bmp")));
    EXPECT_EQ(picture.message, "指定したファイルに書き込めませんでした:\n" + dir.file("folder.bmp/x.bmp"));
}

// On a full disk the save fails part way through the temporary file; the
// existing file keeps every byte and the temporary file is gone.
TEST(SaveReplacesWholeFiles, AFullDiskLeavesTheOldFileAsItWas)
{
    TempDir dir;
    SmallDisk disk(dir.path("disk"), 64 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "no tmpfs can be mounted here; the /dev/full case above still runs";
    FNImage small, large;
    fillRandom(small, 4, 4, 4, false);
    fillRandom(large, 200, 200, 5, true); // noise: about 120 kB in any format
    for (const char* name : kNames)
        ASSERT_TRUE(small.save(FNString(dir.path("disk/") + name))) << name;
    disk.fill();
    for (const char* name : kNames) {
        SCOPED_TRACE(name);
        const FNString path(dir.path("disk/") + name);
        const std::vector<uint8_t> before = readBytes(path);
        EXPECT_FALSE(large.save(path));
        EXPECT_EQ(large.failure, FNImageFailure::WriteFailed);
        EXPECT_EQ(large.failureText(), "No space left on device");
        EXPECT_EQ(readBytes(path), before);
    }
    std::vector<std::string> expected(std::begin(kNames), std::end(kNames));
    expected.push_back("filler");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folderEntries(dir.path("disk")), expected);
}

} // namespace
