#include "app/pictures/PoissonSolver.h"
#include "app/pictures/LaplacianImage.h"
#include "tests/app/TestPictures.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
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
            case 1:
                a = random.range(0, 127);
                break;
            case 2:
                a = random.range(0, 3) == 0 ? 0 : 255;
                break;
            case 3:
                a = random.range(127, 128);
                break;
            case 4:
                a = (x < 2 || y < 2 || x >= part.width - 2 || y >= part.height - 2) ? 0 : 255;
                break;
            default:
                break;
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

// The ways the fast solve can run on this processor: every vector level it
// has, each on one, two and three threads, with one sweep in flight and
// with several (automatic: as many as fit the cache).
std::vector<q_PoissonSettings> fastSettings()
{
    std::vector<q_PoissonSettings> all;
    for (const q_PoissonVectorPath path :
        { q_PoissonVectorPath::Sse2, q_PoissonVectorPath::Avx, q_PoissonVectorPath::Avx512 }) {
        q_PoissonSettings probe;
        probe.path = path;
        const q_PoissonSettings previous = q_PoissonConfigure(probe);
        const bool available = q_PoissonActiveVectorPath() == path;
        q_PoissonConfigure(previous);
        if (!available)
            continue;
        for (const int threads : { 1, 2, 3 }) {
            for (const int inFlight : { 1, 3, 0 })
                all.push_back({ path, threads, inFlight });
        }
    }
    return all;
}

std::string describe(const q_PoissonSettings& s)
{
    return "path " + std::to_string(static_cast<int>(s.path)) + " threads " + std::to_string(s.threads) + " in flight "
        + std::to_string(s.sweepsInFlight);
}

// Runs the fast solve with the given settings for the lifetime of the object.
class UseSettings {
public:
    explicit UseSettings(const q_PoissonSettings& settings)
        : m_previous(q_PoissonConfigure(settings))
    {
    }
    ~UseSettings() { q_PoissonConfigure(m_previous); }

private:
    q_PoissonSettings m_previous;
};

q_PoissonResult solveWith(
    bool fast, const SolveCase& c, FNImage& out, std::vector<double>* values = nullptr, double tau = 0.001)
{
    q_LaplacianImage lap;
    lap.build(*c.part);
    return fast ? q_PoissonSolveFast(lap, c.ox, c.oy, lap.width, lap.height, *c.canvas, *c.part, out, tau, values)
                : q_PoissonSolveReference(lap, c.ox, c.oy, lap.width, lap.height, *c.canvas, *c.part, out, tau, values);
}

// The reference solve of c, then the fast solve every way this processor
// can run it: the same count, bytes and doubles.
void expectEveryWayMatchesReference(const SolveCase& c, double tau, const std::string& label)
{
    FNImage reference;
    std::vector<double> b;
    const q_PoissonResult rb = solveWith(false, c, reference, &b, tau);
    for (const q_PoissonSettings& settings : fastSettings()) {
        const UseSettings use(settings);
        FNImage fast;
        std::vector<double> a;
        const q_PoissonResult ra = solveWith(true, c, fast, &a, tau);
        EXPECT_EQ(ra.count, rb.count) << label << " " << describe(settings);
        EXPECT_TRUE(samePixels(fast, reference)) << label << " " << describe(settings);
        EXPECT_EQ(a, b) << label << " " << describe(settings);
    }
}

} // namespace

TEST(PoissonSolver, FastMatchesReferenceOnRandomCases)
{
    TestRandom random(20240607);
    const std::vector<q_PoissonSettings> ways = fastSettings();
    int solved = 0, converged = 0;
    for (int n = 0; n < 400; ++n) {
        const SolveCase c = randomCase(random);
        FNImage reference;
        std::vector<double> referenceValues;
        const q_PoissonResult b = solveWith(false, c, reference, &referenceValues);
        // Three of the ways per case, in turn: each way meets many cases.
        for (int k = 0; k < 3; ++k) {
            const q_PoissonSettings& settings = ways[(3 * n + k) % ways.size()];
            const UseSettings use(settings);
            FNImage fast;
            std::vector<double> fastValues;
            const q_PoissonResult a = solveWith(true, c, fast, &fastValues);
            const std::string p = describe(settings);
            ASSERT_EQ(a.solved, b.solved) << "case " << n << " " << p;
            ASSERT_EQ(a.count, b.count) << "case " << n << " " << p;
            ASSERT_TRUE(samePixels(fast, reference)) << "case " << n << " " << p;
            // Bit for bit, not just after rounding: a reordered sum shows here.
            ASSERT_EQ(fastValues.size(), referenceValues.size()) << "case " << n << " " << p;
            ASSERT_TRUE(fastValues.empty()
                || std::memcmp(fastValues.data(), referenceValues.data(), fastValues.size() * sizeof(double)) == 0)
                << "case " << n << " " << p;
        }
        solved += b.solved;
        converged += b.solved && b.count <= 1000;
    }
    // The cases must exercise both outcomes, or the comparison proves little.
    EXPECT_GT(solved, 200);
    EXPECT_GT(converged, 20);
}

TEST(PoissonSolver, FastMatchesReferenceOnEdgePlacements)
{
    TestRandom random(99);
    // (canvas w, h, part w, h, ox, oy): one-pixel-wide and -high clips, a
    // part covering the whole canvas, a 1 x 1 canvas, parts wider than a
    // band, partly above and left of the canvas.
    const int cases[][6] = { { 30, 20, 10, 10, 29, 5 }, { 30, 20, 10, 10, 5, -9 }, { 12, 9, 20, 20, -4, -6 },
        { 1, 1, 3, 3, -1, -1 }, { 40, 7, 35, 7, 2, 0 }, { 25, 25, 9, 30, -3, -2 }, { 16, 16, 16, 16, 0, 0 } };
    for (const auto& k : cases) {
        for (int pattern = 0; pattern < 5; ++pattern) {
            SolveCase c;
            c.canvas = makeNoisyPicture(k[0], k[1], random, 30);
            c.part = makeNoisyPicture(k[2], k[3], random, 30);
            applyAlpha(*c.part, pattern, random);
            c.ox = k[4], c.oy = k[5];
            expectEveryWayMatchesReference(c, 0.001, "pattern " + std::to_string(pattern));
        }
    }
}

TEST(PoissonSolver, FastMatchesReferenceOnTallUniformParts)
{
    // Parts whose rows all share the same masked cells: the fast solve runs
    // many bands one after the other as one wavefront. Widths around the
    // band height (8 and 9 solved columns, and 7, which is too narrow for
    // that), heights that leave no rows, a few rows or a whole band over,
    // and a ring that leaves empty rows above and below.
    TestRandom random(31);
    const int sizes[][2] = { { 9, 70 }, { 10, 67 }, { 8, 40 }, { 60, 45 }, { 33, 90 } };
    for (const auto& size : sizes) {
        for (const int pattern : { 0, 4 }) {
            SolveCase c;
            c.canvas = makeNoisyPicture(size[0] + 10, size[1] + 10, random, 25);
            c.part = makeNoisyPicture(size[0], size[1], random, 25);
            applyAlpha(*c.part, pattern, random);
            c.ox = 4, c.oy = 3;
            expectEveryWayMatchesReference(c, 1e-6,
                std::to_string(size[0]) + "x" + std::to_string(size[1]) + " pattern " + std::to_string(pattern));
        }
    }
}

TEST(PoissonSolver, FastMatchesReferenceOnLargePartsAtEveryThreadCount)
{
    // Enough bands for the threads to run side by side for long stretches:
    // a part with holes hanging over the canvas's right edge, and a solid
    // one with a transparent ring.
    TestRandom random(57);
    for (const int pattern : { 2, 4 }) {
        SolveCase c;
        c.canvas = makeNoisyPicture(210, 170, random, 20);
        c.part = makeNoisyPicture(150, 130, random, 25);
        applyAlpha(*c.part, pattern, random);
        c.ox = pattern == 2 ? 90 : 30, c.oy = 20;
        expectEveryWayMatchesReference(c, 0.001, "pattern " + std::to_string(pattern));
    }
}

TEST(PoissonSolver, UnusualSourceTermsAreSolvedAsTheReferenceSolves)
{
    // Integers past 16 bits fit the fast grid's integer Laplacian; fractions,
    // integers past 32 bits and a negative zero do not and take the plain
    // solve. Either way the result is the reference's.
    TestRandom random(61);
    for (const double odd : { 0.5, 40000.0, 3e9, -0.0 }) {
        SolveCase c;
        c.canvas = makeNoisyPicture(40, 30, random, 20);
        c.part = makeNoisyPicture(20, 16, random, 20);
        c.ox = 9, c.oy = 7;
        q_LaplacianImage lap;
        lap.build(*c.part);
        lap.data[(5 * 20 + 6) * 4 + 1] = odd;
        FNImage fast, reference;
        std::vector<double> a, b;
        const q_PoissonResult rb = q_PoissonSolveReference(lap, 9, 7, 20, 16, *c.canvas, *c.part, reference, 0.001, &b);
        const q_PoissonResult ra = q_PoissonSolveFast(lap, 9, 7, 20, 16, *c.canvas, *c.part, fast, 0.001, &a);
        EXPECT_EQ(ra.count, rb.count) << odd;
        EXPECT_TRUE(samePixels(fast, reference)) << odd;
        ASSERT_EQ(a.size(), b.size());
        EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(double)), 0) << odd;
    }
}

namespace {

// The mean residual after sweep 0, added up as the plain solver adds it, for
// a part lying wholly inside the canvas: the solver run with tau = infinity
// stops right after that sweep.
double meanAfterSweepZero(const SolveCase& c)
{
    q_LaplacianImage lap;
    lap.build(*c.part);
    FNImage out;
    std::vector<double> v;
    const q_PoissonResult r = q_PoissonSolveReference(
        lap, c.ox, c.oy, lap.width, lap.height, *c.canvas, *c.part, out, std::numeric_limits<double>::infinity(), &v);
    EXPECT_EQ(r.count, 0);
    const int cw = lap.width, ch = lap.height;
    // Grid cell (i, j) as the solver holds it: the rectangle, the border
    // above and left repeating the canvas's first row and column.
    const auto cell = [&](int i, int j, int k) -> double {
        if (j == 0)
            return c.canvas->pixels[(static_cast<size_t>(c.oy) * c.canvas->width + c.ox + i - 1) * 4 + k];
        if (i == 0)
            return c.canvas->pixels[(static_cast<size_t>(c.oy + j - 1) * c.canvas->width + c.ox) * 4 + k];
        return v[(static_cast<size_t>(j - 1) * cw + i - 1) * 3 + k];
    };
    double sum = 0;
    long long cells = 0;
    for (int j = 1; j <= ch - 1; ++j) {
        for (int i = 1; i <= cw - 1; ++i) {
            if (c.part->getAlpha(i - 1, j - 1) < 128)
                continue;
            ++cells;
            for (int k = 0; k < 3; ++k) {
                sum += std::fabs(cell(i, j - 1, k) + cell(i, j + 1, k) + cell(i - 1, j, k) + cell(i + 1, j, k)
                    - 4 * cell(i, j, k) - lap.record(i - 1, j - 1)[k]);
            }
        }
    }
    return sum / (3.0 * static_cast<double>(cells));
}

} // namespace

TEST(PoissonSolver, ThresholdAtTheResidualItselfIsDecidedAsThePlainSumDecides)
{
    // tau equal to the mean after sweep 0 does not stop (the test is
    // strictly below), the next double up does; the fast solve adds the
    // terms in another order and must still decide both the same way.
    TestRandom random(41);
    for (int n = 0; n < 4; ++n) {
        SolveCase c;
        c.canvas = makeNoisyPicture(70, 60, random, 30);
        c.part = makeNoisyPicture(random.range(20, 50), random.range(20, 45), random, 30);
        applyAlpha(*c.part, n % 3 == 2 ? 2 : 0, random);
        c.ox = random.range(0, 70 - c.part->width), c.oy = random.range(0, 60 - c.part->height);
        const double mean = meanAfterSweepZero(c);
        for (const double tau : { mean, std::nextafter(mean, 1.0) }) {
            FNImage reference;
            const q_PoissonResult b = solveWith(false, c, reference, nullptr, tau);
            ASSERT_EQ(b.count == 0, tau > mean) << "case " << n;
            for (const q_PoissonSettings& settings : fastSettings()) {
                const UseSettings use(settings);
                FNImage fast;
                EXPECT_EQ(solveWith(true, c, fast, nullptr, tau).count, b.count)
                    << "case " << n << " " << describe(settings);
            }
        }
    }
}

namespace {

struct Solved {
    q_PoissonResult result;
    std::unique_ptr<FNImage> image = std::make_unique<FNImage>();
    const FNImage& out() const { return *image; }
    std::string log;
};

Solved solveLogged(const FNImage& canvas, const FNImage& part, int ox, int oy)
{
    Solved s;
    q_LaplacianImage lap;
    lap.build(part);
    std::ostringstream log;
    s.result = q_PoissonSolve(lap, ox, oy, lap.width, lap.height, canvas, part, *s.image, 0.001, log);
    s.log = log.str();
    return s;
}

std::unique_ptr<FNImage> withAlpha(std::unique_ptr<FNImage> image, int alpha)
{
    for (int y = 0; y < image->height; ++y)
        for (int x = 0; x < image->width; ++x)
            image->pixels[(static_cast<size_t>(y) * image->width + x) * 4 + 3] = static_cast<uint8_t>(alpha);
    return image;
}

} // namespace

TEST(PoissonSolver, LogsCountAndTimeOnTwoLines)
{
    TestRandom random(11);
    auto canvas = makeNoisyPicture(30, 30, random, 5);
    auto part = makeNoisyPicture(12, 12, random, 5);
    const Solved s = solveLogged(*canvas, *part, 9, 9);
    ASSERT_TRUE(s.result.solved);
    const std::string first = "Poisson Count : " + std::to_string(s.result.count) + "\n";
    ASSERT_EQ(s.log.compare(0, first.size(), first), 0) << s.log;
    const std::string second = s.log.substr(first.size());
    EXPECT_EQ(second.compare(0, 20, "Poisson Time Cost : "), 0) << s.log;
    EXPECT_EQ(second.back(), '\n');
    EXPECT_EQ(second.find_first_not_of("0123456789", 20), second.size() - 1);
}

TEST(PoissonSolver, ConvergedCountsAreMultiplesOfFifty)
{
    TestRandom random(12);
    int converged = 0;
    for (int n = 0; n < 20; ++n) {
        auto canvas = makeNoisyPicture(40, 40, random, 3);
        auto part = makeNoisyPicture(random.range(5, 20), random.range(5, 20), random, 3);
        const Solved s = solveLogged(*canvas, *part, random.range(0, 20), random.range(0, 20));
        ASSERT_TRUE(s.result.solved);
        if (s.result.count <= 1000) {
            EXPECT_EQ(s.result.count % 50, 0);
            ++converged;
        } else {
            EXPECT_EQ(s.result.count, 1001);
        }
    }
    EXPECT_GT(converged, 10);
}

TEST(PoissonSolver, FlatPartOnFlatCanvasConvergesAtSweepZero)
{
    auto canvas = makePicture(20, 20, 0xFF336699);
    auto part = makePicture(8, 8, 0xFF102030);
    const Solved s = solveLogged(*canvas, *part, 5, 5);
    EXPECT_EQ(s.result.count, 0);
    EXPECT_TRUE(samePixels(s.out(), *canvas)) << "a flat part takes on the flat canvas";
}

TEST(PoissonSolver, AlphaBelow128LeavesTheCanvasAndLogs1001)
{
    TestRandom random(13);
    auto canvas = makeNoisyPicture(20, 20, random, 30);
    auto part = withAlpha(makeNoisyPicture(10, 10, random, 30), 127);
    const Solved s = solveLogged(*canvas, *part, 4, 4);
    EXPECT_EQ(s.result.count, 1001);
    EXPECT_TRUE(samePixels(s.out(), *canvas));
    EXPECT_EQ(s.log.compare(0, 21, "Poisson Count : 1001\n"), 0);
}

TEST(PoissonSolver, OnePixelWideClipLogs1001)
{
    TestRandom random(14);
    auto canvas = makeNoisyPicture(20, 20, random, 30);
    auto part = makeNoisyPicture(10, 10, random, 30);
    // Only the part's first column lies on the canvas.
    const Solved s = solveLogged(*canvas, *part, 19, 3);
    EXPECT_EQ(s.result.count, 1001);
    EXPECT_TRUE(samePixels(s.out(), *canvas));
    const Solved t = solveLogged(*canvas, *part, 3, -9); // one row high
    EXPECT_EQ(t.result.count, 1001);
}

TEST(PoissonSolver, WhollyOutsideLogsNothing)
{
    TestRandom random(15);
    auto canvas = makeNoisyPicture(20, 20, random, 30);
    auto part = makeNoisyPicture(10, 10, random, 30);
    for (auto [ox, oy] : { std::pair { 20, 0 }, { -10, 0 }, { 0, 20 }, { 0, -10 }, { 2000000000, 5 } }) {
        const Solved s = solveLogged(*canvas, *part, ox, oy);
        EXPECT_FALSE(s.result.solved);
        EXPECT_TRUE(s.log.empty());
        EXPECT_TRUE(samePixels(s.out(), *canvas));
    }
}

TEST(PoissonSolver, LastRowAndColumnKeepTheCanvasAndAlphaStays)
{
    TestRandom random(16);
    auto canvas = makeNoisyPicture(30, 30, random, 40);
    for (int y = 0; y < 30; ++y)
        canvas->pixels[(y * 30 + 7) * 4 + 3] = 99;
    auto part = makeNoisyPicture(10, 10, random, 40);
    const Solved s = solveLogged(*canvas, *part, 5, 6);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(pixelAt(s.out(), 5 + 9, 6 + k), pixelAt(*canvas, 5 + 9, 6 + k));
        EXPECT_EQ(pixelAt(s.out(), 5 + k, 6 + 9), pixelAt(*canvas, 5 + k, 6 + 9));
    }
    int changed = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            EXPECT_EQ(s.out().pixels[(y * 30 + x) * 4 + 3], canvas->pixels[(y * 30 + x) * 4 + 3]);
            changed += pixelAt(s.out(), x, y) != pixelAt(*canvas, x, y);
        }
    }
    EXPECT_GT(changed, 20);
}

TEST(PoissonSolver, WorkBuffersStartAt65536CellsAndOnlyGrow)
{
    EXPECT_GE(q_PoissonWorkCapacity(), 65536u);
    TestRandom random(17);
    auto canvas = makeNoisyPicture(300, 300, random, 0);
    auto part = withAlpha(makeNoisyPicture(280, 270, random, 0), 0);
    solveLogged(*canvas, *part, 0, 0);
    const size_t grown = q_PoissonWorkCapacity();
    EXPECT_GE(grown, static_cast<size_t>(282 * 272));
    auto small = makeNoisyPicture(5, 5, random, 0);
    solveLogged(*canvas, *small, 0, 0);
    EXPECT_EQ(q_PoissonWorkCapacity(), grown);
}

TEST(Laplacian, FivePointStencilWithAZeroRing)
{
    FNImage picture(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            picture.setColor(x, y, 0, x * x + 10 * y, 7, x == 1 ? 0 : 200);
    q_LaplacianImage lap;
    lap.build(picture);
    ASSERT_EQ(lap.width, 4);
    ASSERT_EQ(lap.height, 3);
    // Green at (1, 1): (1 + 0) + (0 + 10) + (4 + 10) + (1 + 20) - 4 * 11 = 2.
    EXPECT_EQ(lap.record(1, 1)[1], 2.0);
    EXPECT_EQ(lap.record(2, 1)[1], 2.0);
    EXPECT_EQ(lap.record(1, 1)[2], 0.0) << "blue is flat; alpha plays no part";
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(lap.record(x, 0)[1], 0.0);
    EXPECT_EQ(lap.record(3, 1)[1], 0.0);
    FNImage narrow(2, 5);
    lap.build(narrow);
    for (int k = 0; k < 2 * 5 * 4; ++k)
        EXPECT_EQ(lap.data[k], 0.0);
}
