#include "app/pictures/Compose.h"
#include "tests/app/TestPictures.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

q_Placement placeAt(const FNImage& part, double x, double y, double scaleX = 1, double scaleY = 1, double angle = 0)
{
    q_Placement p;
    p.partX = x, p.partY = y;
    p.scaleX = scaleX, p.scaleY = scaleY;
    p.boxWidth = part.width * scaleX, p.boxHeight = part.height * scaleY;
    p.angle = angle;
    p.loadedWidth = part.width, p.loadedHeight = part.height;
    return p;
}

} // namespace

TEST(Compose, NormalModeWithHalfAlphaGives126)
{
    auto canvas = makePicture(6, 6, 0xFF000000);
    auto part = makePicture(2, 2, 0x80FFFFFF); // white, alpha 128
    FNImage composed;
    std::ostringstream log;
    const q_ComposeResult r = q_Compose(*canvas, *part, placeAt(*part, 2, 3), q_ComposeNormal, composed, log);
    ASSERT_EQ(r.outcome, q_ComposeOutcome::Pasted);
    EXPECT_EQ(r.x, 2);
    EXPECT_EQ(r.y, 3);
    EXPECT_EQ(pixelAt(composed, 2, 3), 0xFF7E7E7Eu); // (127 * 255) >> 8 = 126, alpha kept
    EXPECT_EQ(pixelAt(composed, 1, 3), 0xFF000000u);
    EXPECT_EQ(pixelAt(*canvas, 2, 3), 0xFF000000u) << "the base canvas is never changed";
    EXPECT_TRUE(log.str().empty());
}

TEST(Compose, OpaquePixelsCopyExactlyAndTransparentOnesLeaveTheCanvas)
{
    auto canvas = makePicture(5, 5, 0xFF010203);
    auto part = makePicture(3, 1, 0xFFA0B0C0);
    part->row(0)[1] = 0x00FFFFFF;
    FNImage composed;
    std::ostringstream log;
    q_Compose(*canvas, *part, placeAt(*part, 1, 1), q_ComposeNormal, composed, log);
    EXPECT_EQ(pixelAt(composed, 1, 1), 0xFFA0B0C0u);
    EXPECT_EQ(pixelAt(composed, 2, 1), 0xFF010203u);
    EXPECT_EQ(pixelAt(composed, 3, 1), 0xFFA0B0C0u);
}

TEST(Compose, NegativeScaleMirrorsAtTheSameCentre)
{
    auto canvas = makePicture(8, 3, 0xFF000000);
    auto part = makePicture(3, 1, 0xFF000000);
    part->row(0)[0] = 0xFF0000FF;
    part->row(0)[2] = 0xFFFF0000;
    FNImage composed;
    std::ostringstream log;
    const q_ComposeResult r = q_Compose(*canvas, *part, placeAt(*part, 2, 1, -1, 1), q_ComposeNormal, composed, log);
    EXPECT_EQ(r.x, 2);
    EXPECT_EQ(pixelAt(composed, 2, 1), 0xFFFF0000u);
    EXPECT_EQ(pixelAt(composed, 4, 1), 0xFF0000FFu);
}

TEST(Compose, ScaledPartIsCentredOnThePartRectangle)
{
    auto canvas = makePicture(40, 40, 0xFF000000);
    auto part = makePicture(10, 10, 0xFFFFFFFF);
    FNImage composed;
    std::ostringstream log;
    const q_ComposeResult r = q_Compose(*canvas, *part, placeAt(*part, 10, 10, 2, 2), q_ComposeNormal, composed, log);
    // transform(20, 20) of a 10 x 10 gives trunc(9 * 2 + 2) = 20; centred:
    // (10 - 20) * 0.5 + 10 = 5.
    EXPECT_EQ(r.width, 20);
    EXPECT_EQ(r.x, 5);
    EXPECT_EQ(r.y, 5);
    EXPECT_EQ(pixelAt(composed, 15, 15), 0xFFFFFFFFu);
}

TEST(Compose, SmartModeBlendsAndLogs)
{
    TestRandom random(21);
    auto canvas = makeNoisyPicture(40, 40, random, 10);
    auto part = makeNoisyPicture(12, 12, random, 10);
    FNImage composed;
    std::ostringstream log;
    const q_ComposeResult r = q_Compose(*canvas, *part, placeAt(*part, 10, 10), q_ComposeSmart, composed, log);
    ASSERT_EQ(r.outcome, q_ComposeOutcome::Pasted);
    // The solver ran: its count is a checked sweep (a multiple of 50) or the
    // 1001 of a solve that did not converge, and the log says the same.
    EXPECT_TRUE(r.poissonCount >= 0 && (r.poissonCount % 50 == 0 || r.poissonCount == 1001)) << r.poissonCount;
    EXPECT_EQ(log.str().compare(0, 16 + std::to_string(r.poissonCount).size() + 1,
                  "Poisson Count : " + std::to_string(r.poissonCount) + "\n"),
        0)
        << log.str();
    EXPECT_NE(log.str().find("Poisson Time Cost : "), std::string::npos);
    EXPECT_FALSE(samePixels(composed, *canvas));
}

TEST(Compose, AbsurdOrEmptySizesAreRefusedWithTheCanvasShown)
{
    auto canvas = makePicture(10, 10, 0xFF123456);
    auto part = makePicture(4, 4, 0xFFFFFFFF);
    std::ostringstream log;
    // A box dragged near 90 degrees by an edge handle: width / cos(~90).
    q_Placement huge = placeAt(*part, 0, 0);
    huge.boxWidth = 4 / 1e-9;
    huge.angle = 89.99999;
    q_Placement zero = placeAt(*part, 0, 0);
    zero.boxHeight = 0.4; // trunc to 0 rows
    q_Placement rotatedTooWide = placeAt(*part, 0, 0);
    rotatedTooWide.boxWidth = 16000, rotatedTooWide.boxHeight = 16000, rotatedTooWide.angle = 45;
    for (const q_Placement& p : { huge, zero, rotatedTooWide }) {
        FNImage composed(1, 1);
        const q_ComposeResult r = q_Compose(*canvas, *part, p, q_ComposeSmart, composed, log);
        EXPECT_EQ(r.outcome, q_ComposeOutcome::Refused);
        EXPECT_TRUE(samePixels(composed, *canvas));
    }
    EXPECT_TRUE(log.str().empty());
    q_Placement largest = placeAt(*part, 0, 0);
    largest.boxWidth = q_kMaxComposedPartSide - 2; // transform adds at most 2
    largest.boxHeight = 1;
    FNImage composed;
    EXPECT_EQ(q_Compose(*canvas, *part, largest, q_ComposeNormal, composed, log).outcome, q_ComposeOutcome::Pasted);
}

TEST(Compose, UnknownModeAndMissingPartComposeNothing)
{
    auto canvas = makePicture(4, 4, 0xFF123456);
    auto part = makePicture(2, 2, 0xFFFFFFFF);
    FNImage composed(1, 1);
    std::ostringstream log;
    EXPECT_EQ(q_Compose(*canvas, *part, placeAt(*part, 0, 0), 2, composed, log).outcome, q_ComposeOutcome::NoMode);
    EXPECT_EQ(composed.width, 1);
    FNImage empty;
    empty.clear();
    EXPECT_EQ(q_Compose(*canvas, empty, placeAt(*part, 0, 0), 0, composed, log).outcome, q_ComposeOutcome::NoPart);
    EXPECT_EQ(composed.width, 1);
}
