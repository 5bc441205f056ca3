// tesserine-compose run as a program on picture files.
#include "app/pictures/ColourAdjust.h"
#include "app/pictures/Compose.h"
#include "tests/app/TestPictures.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status;
    std::string out, err;
};

std::string readText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class ComposeToolFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("tesserine-compose-test-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        TestRandom random(41);
        canvas = makeNoisyPicture(80, 60, random, 10);
        part = makeNoisyPicture(20, 16, random, 10);
        for (int y = 0; y < part->height; ++y)
            for (int x = 0; x < part->width; ++x)
                part->pixels[(static_cast<size_t>(y) * part->width + x) * 4 + 3] = (x + y) % 5 ? 255 : 60;
        ASSERT_TRUE(canvas->save(path("sea.bmp")));
        ASSERT_TRUE(part->save(path("boat.png")));
    }
    void TearDown() override { fs::remove_all(dir); }

    FNString path(const char* name) const { return FNString((dir / name).string()); }

    // The tool, after `prefix` (a shell command such as "cd X && ").
    ToolRun run(const std::string& args, const std::string& prefix = "")
    {
        const std::string command = prefix + std::string(TESSERINE_COMPOSE_TOOL) + " " + args + " > "
            + (dir / "stdout.txt").string() + " 2> " + (dir / "stderr.txt").string();
        const int raw = std::system(command.c_str());
        return { WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readText(dir / "stdout.txt"), readText(dir / "stderr.txt") };
    }
    std::string at(const char* name) const { return (dir / name).string(); }

    fs::path dir;
    std::unique_ptr<FNImage> canvas, part;
};

} // namespace

TEST_F(ComposeToolFiles, SmartComposeWritesWhatTheLibraryComposes)
{
    const ToolRun r = run("--canvas " + at("sea.bmp") + " --part " + at("boat.png")
        + " --at 30,20 --scale -1.5,1.5 --angle 30 --hue 20 --mode smart -o " + at("out.png"));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.compare(0, 16, "Poisson Count : "), 0) << r.out;
    EXPECT_NE(r.out.find("\nPoisson Time Cost : "), std::string::npos) << r.out;

    FNImage loadedCanvas, loadedPart, adjusted, expected, written;
    ASSERT_TRUE(loadedCanvas.load(path("sea.bmp")));
    ASSERT_TRUE(loadedPart.load(path("boat.png")));
    q_AdjustColour(loadedPart, adjusted, 20, 0, 0);
    q_Placement p;
    p.partX = 30, p.partY = 20, p.scaleX = -1.5, p.scaleY = 1.5;
    p.boxWidth = 20 * -1.5, p.boxHeight = 16 * 1.5, p.angle = 30;
    p.loadedWidth = 20, p.loadedHeight = 16;
    std::ostringstream log;
    q_Compose(loadedCanvas, adjusted, p, q_ComposeSmart, expected, log);
    ASSERT_TRUE(written.load(path("out.png")));
    EXPECT_TRUE(samePixels(written, expected));
    EXPECT_FALSE(samePixels(written, loadedCanvas));
}

TEST_F(ComposeToolFiles, OutputFormatFollowsTheExtension)
{
    ASSERT_EQ(run("--canvas " + at("sea.bmp") + " --part " + at("boat.png") + " -o " + at("out.tga")).status, 0);
    ASSERT_EQ(run("--canvas " + at("sea.bmp") + " --part " + at("boat.png") + " -o " + at("out.bmp")).status, 0);
    FNImage tga, bmp;
    ASSERT_TRUE(tga.load(path("out.tga")));
    ASSERT_TRUE(bmp.load(path("out.bmp")));
    EXPECT_TRUE(samePixels(tga, bmp));
    EXPECT_EQ(readText(dir / "out.bmp").compare(0, 2, "BM"), 0);
}

TEST_F(ComposeToolFiles, BadInputWritesNothing)
{
    std::ofstream(dir / "broken.png") << "not a picture";
    const ToolRun missing = run("--canvas " + at("nope.bmp") + " --part " + at("boat.png") + " -o " + at("out.png"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("cannot read '" + at("nope.bmp") + "': file not found ("), std::string::npos)
        << missing.err;
    const ToolRun broken = run("--canvas " + at("sea.bmp") + " --part " + at("broken.png") + " -o " + at("out.png"));
    EXPECT_EQ(broken.status, 1);
    EXPECT_NE(broken.err.find("cannot read '" + at("broken.png") + "': not a valid PNG file ("), std::string::npos)
        << broken.err;
    EXPECT_GT(broken.err.size(), std::string("cannot read ''").size() + at("broken.png").size() + 20)
        << "the codec's reason follows";
    const ToolRun badNumber
        = run("--canvas " + at("sea.bmp") + " --part " + at("boat.png") + " --angle 3x -o " + at("out.png"));
    EXPECT_EQ(badNumber.status, 2);
    EXPECT_FALSE(fs::exists(dir / "out.png"));
}

// The reasons in full, as a user sees them: run in the pictures' folder with
// plain file names.
TEST_F(ComposeToolFiles, FailuresSayWhy)
{
    std::vector<uint8_t> png;
    {
        std::ifstream in(dir / "boat.png", std::ios::binary);
        png.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(dir / "sea.png", std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size() / 2));
    fs::create_directory(dir / "folder.bmp");
    fs::create_symlink("/dev/full", dir / "full.png");
    const auto runHere = [&](const std::string& args) { return run(args, "cd " + dir.string() + " && "); };
    const struct {
        std::string args;
        std::string err;
    } cases[] = {
        { "--canvas sea.png --part boat.png -o out.png",
            "tesserine-compose: cannot read 'sea.png': file is truncated (PNGファイルを読み込めませんでした "
            "sea.png)\n" },
        { "--canvas sea.bmp --part boat.png -o nowhere/out.bmp",
            "tesserine-compose: cannot write 'nowhere/out.bmp': No such file or directory "
            "(指定したファイルに書き込めませんでした: nowhere/out.bmp)\n" },
        { "--canvas sea.bmp --part boat.png -o folder.bmp",
            "tesserine-compose: cannot write 'folder.bmp': Is a directory "
            "(指定したファイルに書き込めませんでした: folder.bmp)\n" },
        { "--canvas sea.bmp --part boat.png -o full.png",
            "tesserine-compose: cannot write 'full.png': No space left on device\n" },
    };
    for (const auto& c : cases) {
        const ToolRun r = runHere(c.args);
        EXPECT_EQ(r.status, 1) << c.args;
        EXPECT_EQ(r.err, c.err);
    }
    EXPECT_FALSE(fs::exists(dir / "out.png"));
}
