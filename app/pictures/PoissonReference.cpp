// The plain Poisson solver, kept as the exactness reference of the fast one:
// separate planes per channel, every cell and channel in sweep order.
#include "app/pictures/PoissonGrid.h"
#include "app/pictures/PoissonSolver.h"

#include <cmath>
#include <vector>

using namespace poisson;

namespace {

struct Planes {
    int cw, ch, stride;
    std::vector<double> plane[3];
    std::vector<uint8_t> mask; // cw x ch, the part's alpha under each pixel

    double* at(int c, int i, int j) { return plane[c].data() + static_cast<size_t>(j) * stride + i; }
    bool masked(int i, int j) const { return mask[static_cast<size_t>(j - 1) * cw + (i - 1)] >= kMaskThreshold; }
};

void fillPlanes(Planes& g, const Clip& clip, int ox, int oy, const FNImage& canvas, const FNImage& part)
{
    for (int y = clip.y0; y < clip.y1; ++y) {
        for (int x = clip.x0; x < clip.x1; ++x) {
            const int i = x - clip.x0 + 1, j = y - clip.y0 + 1;
            const uint8_t* p = canvas.pixels + (static_cast<size_t>(y) * canvas.width + x) * 4;
            for (int c = 0; c < 3; ++c)
                *g.at(c, i, j) = p[c];
            g.mask[static_cast<size_t>(j - 1) * g.cw + (i - 1)] = static_cast<uint8_t>(part.getAlpha(x - ox, y - oy));
        }
    }
    // The neighbour above the first row and left of the first column is the
    // pixel's own canvas value.
    for (int c = 0; c < 3; ++c) {
        for (int i = 1; i <= g.cw - 1; ++i)
            *g.at(c, i, 0) = *g.at(c, i, 1);
        for (int j = 1; j <= g.ch - 1; ++j)
            *g.at(c, 0, j) = *g.at(c, 1, j);
    }
}

} // namespace

q_PoissonResult q_PoissonSolveReference(const q_LaplacianImage& laplacian, int ox, int oy, int w, int h,
    const FNImage& canvas, const FNImage& part, FNImage& output, double tau, std::vector<double>* solution)
{
    output.copyFrom(&canvas);
    if (solution)
        solution->clear();
    limitToLaplacian(laplacian, w, h);
    const Clip clip = clipToCanvas(ox, oy, w, h, canvas);
    if (clip.empty())
        return {};

    Planes g;
    g.cw = clip.width(), g.ch = clip.height(), g.stride = g.cw + 2;
    for (auto& plane : g.plane)
        plane.assign(static_cast<size_t>(g.cw + 2) * (g.ch + 2), 0.0);
    g.mask.assign(static_cast<size_t>(g.cw) * g.ch, 0);
    fillPlanes(g, clip, ox, oy, canvas, part);

    const auto lap = [&](int i, int j) { return laplacian.record(clip.x0 + i - 1 - ox, clip.y0 + j - 1 - oy); };
    int k = 0;
    for (; k <= kLastSweep; ++k) {
        // v = ((N + S + W + E) - l) * 0.25 * 1.9 - v * (1.9 - 1), in place.
        for (int j = 1; j <= g.ch - 1; ++j) {
            for (int i = 1; i <= g.cw - 1; ++i) {
                if (!g.masked(i, j))
                    continue;
                const double* l = lap(i, j);
                for (int c = 0; c < 3; ++c) {
                    double* v = g.at(c, i, j);
                    const double N = v[-g.stride], S = v[g.stride], W = v[-1], E = v[1];
                    *v = ((N + S + W + E) - l[c]) * 0.25 * kRelax - *v * kOldWeight;
                }
            }
        }
        if (k % kCheckEvery != 0)
            continue;
        // Mean of |N + S + W + E - 4 v - l| over the updated cells and channels.
        double sum = 0;
        long long cells = 0;
        for (int j = 1; j <= g.ch - 1; ++j) {
            for (int i = 1; i <= g.cw - 1; ++i) {
                if (!g.masked(i, j))
                    continue;
                ++cells;
                const double* l = lap(i, j);
                for (int c = 0; c < 3; ++c) {
                    const double* v = g.at(c, i, j);
                    const double N = v[-g.stride], S = v[g.stride], W = v[-1], E = v[1];
                    sum += std::fabs(N + S + W + E - 4 * *v - l[c]);
                }
            }
        }
        if (cells > 0 && sum / (3.0 * static_cast<double>(cells)) < tau)
            break;
    }

    for (int j = 1; j <= g.ch; ++j) {
        uint8_t* o = output.pixels + (static_cast<size_t>(clip.y0 + j - 1) * output.width + clip.x0) * 4;
        for (int i = 1; i <= g.cw; ++i, o += 4) {
            for (int c = 0; c < 3; ++c) {
                o[c] = roundToByte(*g.at(c, i, j));
                if (solution)
                    solution->push_back(*g.at(c, i, j));
            }
        }
    }
    return { true, k };
}
