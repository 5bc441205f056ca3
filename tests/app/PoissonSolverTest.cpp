#include "app/pictures/LaplacianImage.h"
#include "app/pictures/PoissonSolver.h"
#include "tests/app/TestPictures.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

struct SolveCase {
    std::unique_ptr<FNImage> canvas, part;
    int ox = 0, oy = 0;
};

// Alpha patterns: all opaque, all below 128, a random blob with holes, the
// 127/128 threshold, a 2-pixel transparent ring.
void applyAlpha(FNImage& part, int pattern, TestRandom& random)
{
    for (int y = 0; y < part.height; ++y) {
        for (int x = 0; x < part.width; ++x) {
            int a = 255;
            switch (pattern) {
            case 1: a = random.range(0, 127); break;
            case 2: a = random.range(0, 3) == 0 ? 0 : 255; break;
            case 3: a = random.range(127, 128); break;
            case 4: a = (x < 2 || y < 2 || x >= part.width - 2 || y >= part.height - 2) ? 0 : 255; break;
            default: break;
            }
            part.pixels[(static_cast<size_t>(y) * part.width + x) * 4 + 3] = static_cast<uint8_t>(a);
        }
    }
}

SolveCase randomCase(TestRandom& random)
{
    SolveCase c;
    const int cw = random.range(1, 60), ch = random.range(1, 60);
    c.canvas = makeNoisyPicture(cw, ch, random, 20);
    const int pw = random.range(1, 40), ph = random.range(1, 40);
    c.part = makeNoisyPicture(pw, ph, random, random.range(0, 60));
    applyAlpha(*c.part, random.range(0, 4), random);
    // Inside, over an edge, or wholly outside.
    c.ox = random.range(-pw - 3, cw + 3);
    c.oy = random.range(-ph - 3, ch + 3);
    return c;
}

q_PoissonResult solveWith(bool fast, const SolveCase& c, FNImage& out, std::vector<double>* values = nullptr,
    double tau = 0.001)
{
    q_LaplacianImage lap;
    lap.build(*c.part);
    return fast ? q_PoissonSolveFast(lap, c.ox, c.oy, lap.width, lap.height, *c.canvas, *c.part, out, tau, values)
                : q_PoissonSolveReference(lap, c.ox, c.oy, lap.width, lap.height, *c.canvas, *c.part, out, tau, values);
}

} // namespace

TEST(PoissonSolver, FastMatchesReferenceOnRandomCases)
{
    TestRandom random(20240607);
    int solved = 0, converged = 0;
    for (int n = 0; n < 400; ++n) {
        const SolveCase c = randomCase(random);
        FNImage fast, reference;
        std::vector<double> fastValues, referenceValues;
        const q_PoissonResult a = solveWith(true, c, fast, &fastValues);
        const q_PoissonResult b = solveWith(false, c, reference, &referenceValues);
        ASSERT_EQ(a.solved, b.solved) << "case " << n;
        ASSERT_EQ(a.count, b.count) << "case " << n;
        ASSERT_TRUE(samePixels(fast, reference)) << "case " << n;
        // Bit for bit, not just after rounding: a reordered sum shows here.
        ASSERT_EQ(fastValues.size(), referenceValues.size()) << "case " << n;
        ASSERT_TRUE(fastValues.empty()
            || std::memcmp(fastValues.data(), referenceValues.data(), fastValues.size() * sizeof(double)) == 0)
            << "case " << n;
        solved += a.solved;
        converged += a.solved && a.count <= 1000;
    }
    // The cases must exercise both outcomes, or the comparison proves little.
    EXPECT_GT(solved, 200);
    EXPECT_GT(converged, 20);
}
