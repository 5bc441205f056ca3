#include "app/pictures/MixedGradients.h"
#include "app/pictures/Compose.h"
#include "app/pictures/LaplacianImage.h"
#include "tests/app/TestPictures.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

namespace {

q_Placement placeAt(const FNImage& part, double x, double y)
{
    q_Placement p;
    p.partX = x, p.partY = y;
    p.boxWidth = part.width, p.boxHeight = part.height;
    p.loadedWidth = part.width, p.loadedHeight = part.height;
    return p;
}

// Grey horizontal stripes three pixels high, 60 and 190.
std::unique_ptr<FNImage> stripes(int w, int h)
{
    auto canvas = std::make_unique<FNImage>(w, h);
    for (int y = 0; y < h; ++y) {
        const int grey = (y / 3) % 2 ? 190 : 60;
        for (int x = 0; x < w; ++x)
            canvas->setColor(x, y, grey, grey, grey, 255);
    }
    return canvas;
}

// A net: flat orange (170, 110, 40) with dark (30, 20, 20) threads three
// pixels wide on every tenth row and column, opaque.
std::unique_ptr<FNImage> net(int w, int h)
{
    auto part = std::make_unique<FNImage>(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const bool thread = std::abs(x % 10 - 5) <= 1 || std::abs(y % 10 - 5) <= 1;
            part->setColor(x, y, thread ? 30 : 170, thread ? 20 : 110, thread ? 20 : 40, 255);
        }
    }
    return part;
}

bool nearThread(int v)
{
    return std::abs(v % 10 - 5) <= 2;
}

int blueAt(const FNImage& picture, int x, int y)
{
    return picture.pixels[(static_cast<size_t>(y) * picture.width + x) * 4];
}

// Mean |O(x, y + 1) - O(x, y)| of blue over the vertical pairs of the net's
// open cells, away from the threads and the part's edge: the canvas's
// stripes as the picture shows them there.
double textureInTheCells(const FNImage& picture, int ox, int oy, int w, int h)
{
    double sum = 0;
    int pairs = 0;
    for (int y = 4; y < h - 5; ++y) {
        for (int x = 4; x < w - 4; ++x) {
            if (nearThread(x) || nearThread(y) || nearThread(y + 1))
                continue;
            sum += std::abs(blueAt(picture, ox + x, oy + y + 1) - blueAt(picture, ox + x, oy + y));
            ++pairs;
        }
    }
    return sum / pairs;
}

} // namespace

TEST(MixedGradients, OverAFlatCanvasTheGuidanceIsThePartsLaplacian)
{
    TestRandom random(3);
    auto part = makeNoisyPicture(23, 17, random, 40);
    auto canvas = makePicture(40, 40, 0xFF5080A0);
    q_LaplacianImage laplacian, mixed;
    laplacian.build(*part);
    q_BuildMixedGuidance(mixed, *part, *canvas, 9, -5); // partly off the canvas too
    ASSERT_EQ(mixed.width, 23);
    ASSERT_EQ(mixed.height, 17);
    for (int k = 0; k < 23 * 17 * 4; ++k)
        ASSERT_EQ(mixed.data[k], laplacian.data[k]) << k;
}

TEST(MixedGradients, EachPairTakesTheStrongerDifferencePerChannel)
{
    // Blue of a 3 x 3 part and of the canvas under it, row by row; green is
    // flat in both.
    struct Case {
        int part[9], canvas[9], middle;
    };
    const Case cases[] = {
        // Up: part -20 against canvas -5 (part); left and down: part -20
        // against 0 (part); right: part -30 against +200 (canvas).
        { { 100, 100, 100, 100, 120, 90, 100, 100, 100 }, { 50, 45, 50, 50, 50, 250, 50, 50, 50 },
            -20 - 20 + 200 - 20 },
        // A tie of +40 against -40 keeps the part's difference.
        { { 0, 0, 0, 0, 0, 40, 0, 0, 0 }, { 90, 90, 90, 90, 90, 50, 90, 90, 90 }, 40 },
        // A flat part takes the canvas's Laplacian.
        { { 7, 7, 7, 7, 7, 7, 7, 7, 7 }, { 0, 30, 0, 10, 20, 60, 0, 0, 0 }, 30 + 10 + 60 + 0 - 80 },
    };
    for (const Case& k : cases) {
        FNImage part(3, 3), canvas(3, 3);
        for (int n = 0; n < 9; ++n) {
            part.setColor(n % 3, n / 3, 0, 9, k.part[n], 255);
            canvas.setColor(n % 3, n / 3, 0, 9, k.canvas[n], 255);
        }
        q_LaplacianImage mixed;
        q_BuildMixedGuidance(mixed, part, canvas, 0, 0);
        EXPECT_EQ(mixed.record(1, 1)[0], k.middle);
        EXPECT_EQ(mixed.record(1, 1)[1], 0.0);
        EXPECT_EQ(mixed.record(2, 1)[0], 0.0) << "the outer ring stays 0";
    }
}

TEST(MixedGradients, TheCanvasTextureShowsThroughTheNetAndTheThreadsStay)
{
    auto canvas = stripes(72, 56);
    auto part = net(44, 36);
    const int ox = 14, oy = 10;
    std::ostringstream log;
    FNImage mixed, smart;
    const q_ComposeResult m = q_ComposeMixed(*canvas, *part, placeAt(*part, ox, oy), mixed, log);
    const q_ComposeResult s = q_Compose(*canvas, *part, placeAt(*part, ox, oy), q_ComposeSmart, smart, log);
    ASSERT_EQ(m.outcome, q_ComposeOutcome::Pasted);
    ASSERT_GE(m.poissonCount, 0);
    EXPECT_LE(m.poissonCount, 1000) << "the same stopping rule converges";
    EXPECT_EQ(log.str().compare(0, 16, "Poisson Count : "), 0);

    // The stripes (steps of 130) measure over 30 in the cells on the
    // canvas; the Smart blend follows the flat cells and loses them, the
    // mixed one keeps them.
    const double onCanvas = textureInTheCells(*canvas, ox, oy, part->width, part->height);
    EXPECT_GT(onCanvas, 30);
    EXPECT_LT(textureInTheCells(smart, s.x, s.y, part->width, part->height), 0.2 * onCanvas);
    EXPECT_GT(textureInTheCells(mixed, m.x, m.y, part->width, part->height), 0.8 * onCanvas);

    // Across the thread columns the canvas is flat, so the part's
    // differences win there and the threads stay: red in a column's middle
    // (30 in the part) against the open cells three pixels to either side
    // (170) stays above half the part's 140 on every row (the Smart
    // blend keeps about 139; the mixed field, not the gradient of any
    // picture, gives a little of it up).
    for (int y = 4; y < part->height - 4; ++y) {
        for (int x = 15; x < part->width - 4; x += 10) {
            if (nearThread(y))
                continue;
            const uint8_t* p = mixed.pixels + (static_cast<size_t>(m.y + y) * mixed.width + m.x + x) * 4;
            EXPECT_GT((p[-12 + 2] + p[12 + 2]) / 2 - p[2], 70) << x << ", " << y;
        }
    }
}
