#include "tools/compose/ComposeCommand.h"
#include "app/pictures/ColourAdjust.h"
#include "app/pictures/Compose.h"
#include "tests/app/TestPictures.h"

#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace {

// Pictures kept in memory under their path; a missing path fails with a
// message as a codec would.
class MemoryPictures final : public PictureFiles {
public:
    bool load(FNImage& picture, const std::string& path) override
    {
        const auto found = stored.find(path);
        if (found == stored.end()) {
            picture.message = "ファイルが開けません:\n" + FNString(path);
            picture.failure = FNImageFailure::FileMissing;
            return false;
        }
        picture.copyFrom(found->second.get());
        return true;
    }
    bool save(FNImage& picture, const std::string& path) override
    {
        if (failSaves) {
            picture.message = "書き込めません";
            picture.failure = FNImageFailure::WriteFailed;
            picture.failureDetail = "No space left on device";
            return false;
        }
        auto copy = std::make_unique<FNImage>();
        copy->copyFrom(&picture);
        stored[path] = std::move(copy);
        return true;
    }
    std::map<std::string, std::unique_ptr<FNImage>> stored;
    bool failSaves = false;
};

struct CommandRun {
    int status;
    std::string out, err;
};

class ComposeCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        TestRandom random(31);
        files.stored["sea.png"] = makeNoisyPicture(60, 40, random, 10);
        files.stored["boat.png"] = makeNoisyPicture(12, 10, random, 10);
    }
    CommandRun run(const std::vector<std::string>& args)
    {
        std::ostringstream out, err;
        const int status = runCompose(args, files, out, err);
        return { status, out.str(), err.str() };
    }
    MemoryPictures files;
};

} // namespace

TEST_F(ComposeCommand, NormalComposeMatchesTheLibrary)
{
    const CommandRun r = run({ "--canvas", "sea.png", "--part", "boat.png", "--at", "20,7", "-o", "out.png" });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty());
    ASSERT_TRUE(files.stored.count("out.png"));
    FNImage expected;
    q_Placement p;
    p.partX = 20, p.partY = 7, p.boxWidth = 12, p.boxHeight = 10, p.loadedWidth = 12, p.loadedHeight = 10;
    std::ostringstream log;
    q_Compose(*files.stored["sea.png"], *files.stored["boat.png"], p, q_ComposeNormal, expected, log);
    EXPECT_TRUE(samePixels(*files.stored["out.png"], expected));
    EXPECT_EQ(pixelAt(*files.stored["out.png"], 20, 7), pixelAt(*files.stored["boat.png"], 0, 0));
}

TEST_F(ComposeCommand, SmartComposeWithEveryOptionMatchesTheLibraryAndPrintsDiagnostics)
{
    const CommandRun r
        = run({ "--canvas=sea.png", "--part", "boat.png", "--at", "10.5,-2", "--scale", "1.5,-1.25", "--angle", "30",
            "--hue", "-40", "--saturation", "25", "--value", "-10", "--mode", "smart", "--output", "out.bmp" });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.compare(0, 16, "Poisson Count : "), 0) << r.out;
    EXPECT_NE(r.out.find("\nPoisson Time Cost : "), std::string::npos);

    FNImage adjusted, expected;
    q_AdjustColour(*files.stored["boat.png"], adjusted, -40, 25, -10);
    q_Placement p;
    p.partX = 10.5, p.partY = -2, p.scaleX = 1.5, p.scaleY = -1.25;
    p.boxWidth = 12 * 1.5, p.boxHeight = 10 * -1.25, p.angle = 30;
    p.loadedWidth = 12, p.loadedHeight = 10;
    std::ostringstream log;
    q_Compose(*files.stored["sea.png"], adjusted, p, q_ComposeSmart, expected, log);
    EXPECT_TRUE(samePixels(*files.stored["out.bmp"], expected));
}

TEST_F(ComposeCommand, MixedModeIsTheMixedGradientsBlend)
{
    const CommandRun r
        = run({ "--canvas", "sea.png", "--part", "boat.png", "--at", "30,12", "--mode", "mixed", "-o", "m.png" });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.compare(0, 16, "Poisson Count : "), 0) << r.out;
    FNImage expected;
    q_Placement p;
    p.partX = 30, p.partY = 12, p.boxWidth = 12, p.boxHeight = 10, p.loadedWidth = 12, p.loadedHeight = 10;
    std::ostringstream log;
    q_ComposeMixed(*files.stored["sea.png"], *files.stored["boat.png"], p, expected, log);
    EXPECT_TRUE(samePixels(*files.stored["m.png"], expected));
    ASSERT_EQ(
        run({ "--canvas", "sea.png", "--part", "boat.png", "--at", "30,12", "--mode", "smart", "-o", "s.png" }).status,
        0);
    EXPECT_FALSE(samePixels(*files.stored["m.png"], *files.stored["s.png"]));
}

TEST_F(ComposeCommand, SingleScaleAppliesToBothAxes)
{
    ASSERT_EQ(run({ "--canvas", "sea.png", "--part", "boat.png", "--scale", "2", "-o", "a.png" }).status, 0);
    ASSERT_EQ(run({ "--canvas", "sea.png", "--part", "boat.png", "--scale", "2,2", "-o", "b.png" }).status, 0);
    EXPECT_TRUE(samePixels(*files.stored["a.png"], *files.stored["b.png"]));
}

// The editor's box size, as it prints it, decides the transformed size
// without the scale's rounding.
TEST_F(ComposeCommand, BoxGivesTheTransformedSizeAsTheEditorsBoxDoes)
{
    ASSERT_EQ(run({ "--canvas", "sea.png", "--part", "boat.png", "--scale", "-1.5,1", "--box", "-17.9,10.2", "--at",
                      "3,4", "-o", "a.png" })
                  .status,
        0);
    FNImage expected;
    q_Placement p;
    p.partX = 3, p.partY = 4, p.scaleX = -1.5, p.scaleY = 1, p.boxWidth = -17.9, p.boxHeight = 10.2;
    p.loadedWidth = 12, p.loadedHeight = 10;
    std::ostringstream log;
    q_Compose(*files.stored["sea.png"], *files.stored["boat.png"], p, q_ComposeNormal, expected, log);
    EXPECT_TRUE(samePixels(*files.stored["a.png"], expected));
    EXPECT_EQ(run({ "--canvas", "sea.png", "--part", "boat.png", "--box", "7", "-o", "b.png" }).status, 2);
}

TEST_F(ComposeCommand, HelpExplainsEveryOption)
{
    const CommandRun r = run({ "--help" });
    EXPECT_EQ(r.status, 0);
    for (const char* option : { "--canvas", "--part", "-o", "--at", "--scale", "--box", "--angle", "--hue",
             "--saturation", "--value", "--mode", "--help" })
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
    EXPECT_TRUE(files.stored.size() == 2);
}

TEST_F(ComposeCommand, BadArgumentsFailWithStatusTwoAndWriteNothing)
{
    const std::vector<std::vector<std::string>> bad = {
        {},
        { "--part", "boat.png", "-o", "out.png" },
        { "--canvas", "sea.png", "-o", "out.png" },
        { "--canvas", "sea.png", "--part", "boat.png" },
        { "--canvas", "sea.png", "--part", "boat.png", "-o", "out.gif" },
        { "--canvas", "sea.png", "--part", "boat.png", "-o", "out" },
        { "--canvas", "sea.png", "--part", "boat.png", "-o", "out.png", "--at", "3" },
        { "--canvas", "sea.png", "--part", "boat.png", "-o", "out.png", "--at", "3,x" },
        { "--canvas", "sea.png", "--part", "boat.png", "-o", "out.png", "--at", "1e300,0" },
        { "--canvas", "sea.png", "--part", "boat.png", "-o", "out.png", "--scale", "0" },
        { "--canvas", "sea.png", "--part", "boat.png", "-o", "out.png", "--scale", "nan" },
        { "--canvas", "sea.png", "--part", "boat.png", "-o", "out.png", "--angle", "" },
        { "--canvas", "sea.png", "--part", "boat.png", "-o", "out.png", "--hue", "181" },
        { "--canvas", "sea.png", "--part", "boat.png", "-o", "out.png", "--hue", "1.5" },
        { "--canvas", "sea.png", "--part", "boat.png", "-o", "out.png", "--saturation", "-101" },
        { "--canvas", "sea.png", "--part", "boat.png", "-o", "out.png", "--value", "ten" },
        { "--canvas", "sea.png", "--part", "boat.png", "-o", "out.png", "--mode", "fancy" },
        { "--canvas", "sea.png", "--part", "boat.png", "-o", "out.png", "--colour", "1" },
        { "--canvas", "sea.png", "--part", "boat.png", "-o", "out.png", "extra" },
        { "--canvas", "sea.png", "--part", "boat.png", "-o" },
        { "--canvas", "sea.png", "--part", "boat.png", "-o", "--benchmark_out.png" },
        { "--canvas", "-sea.png", "--part", "boat.png", "-o", "out.png" },
        { "--canvas", "sea.png", "--part", "boat.png", "-o", "out.png", "--bogus" },
    };
    for (const auto& args : bad) {
        const CommandRun r = run(args);
        if (!args.empty() && args.back() == "--bogus") {
            EXPECT_NE(r.err.find("unknown option '--bogus'"), std::string::npos) << r.err;
        }
        EXPECT_EQ(r.status, 2) << (args.empty() ? "" : args.back());
        EXPECT_EQ(r.err.compare(0, 19, "tesserine-compose: "), 0) << r.err;
        EXPECT_NE(r.err.find("--help"), std::string::npos);
    }
    EXPECT_EQ(files.stored.size(), 2u);
}

TEST_F(ComposeCommand, UnreadablePicturesFailWithTheCodecMessage)
{
    CommandRun r = run({ "--canvas", "missing.png", "--part", "boat.png", "-o", "out.png" });
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(
        r.err, "tesserine-compose: cannot read 'missing.png': file not found (ファイルが開けません: missing.png)\n");
    r = run({ "--canvas", "sea.png", "--part", "gone.tga", "-o", "out.png" });
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot read 'gone.tga': file not found"), std::string::npos) << r.err;
    EXPECT_EQ(files.stored.size(), 2u);
}

TEST_F(ComposeCommand, AbsurdSizeIsRefusedAndNothingWritten)
{
    const CommandRun r = run({ "--canvas", "sea.png", "--part", "boat.png", "--scale", "5000", "-o", "out.png" });
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("16384"), std::string::npos) << r.err;
    EXPECT_EQ(files.stored.count("out.png"), 0u);
}

TEST_F(ComposeCommand, FailedWriteIsReported)
{
    files.failSaves = true;
    const CommandRun r = run({ "--canvas", "sea.png", "--part", "boat.png", "-o", "out.png" });
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tesserine-compose: cannot write 'out.png': No space left on device (書き込めません)\n");
}

TEST_F(ComposeCommand, LargeCanvasIsScaledAsTheEditorOpensIt)
{
    files.stored["wide.png"] = makePicture(2400, 1000, 0xFF204060);
    ASSERT_EQ(run({ "--canvas", "wide.png", "--part", "boat.png", "-o", "out.png" }).status, 0);
    EXPECT_EQ(files.stored["out.png"]->width, 1200);
    EXPECT_EQ(files.stored["out.png"]->height, 500);
}
