#include "app/pictures/MixedGradients.h"

#include "app/pictures/LaplacianImage.h"
#include "imaging/FNImage.h"

#include <cstdlib>

namespace {

bool onCanvas(const FNImage& canvas, long long x, long long y)
{
    return x >= 0 && y >= 0 && x < canvas.width && y < canvas.height;
}

const uint8_t* pixel(const FNImage& image, long long x, long long y)
{
    return image.pixels + (static_cast<size_t>(y) * image.width + static_cast<size_t>(x)) * 4;
}

} // namespace

void q_BuildMixedGuidance(q_LaplacianImage& guidance, const FNImage& part, const FNImage& canvas, int ox, int oy)
{
    guidance.build(part); // the size and the zero ring
    constexpr int kNeighbours[4][2] = { { 0, -1 }, { -1, 0 }, { 1, 0 }, { 0, 1 } };
    for (int y = 1; y <= guidance.height - 2; ++y) {
        for (int x = 1; x <= guidance.width - 2; ++x) {
            const long long cx = static_cast<long long>(ox) + x, cy = static_cast<long long>(oy) + y;
            double* out = guidance.data.get() + (static_cast<size_t>(y) * guidance.width + x) * 4;
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (const auto& n : kNeighbours) {
                    const int ofPart = pixel(part, x + n[0], y + n[1])[c] - pixel(part, x, y)[c];
                    int stronger = ofPart;
                    if (onCanvas(canvas, cx, cy) && onCanvas(canvas, cx + n[0], cy + n[1])) {
                        const int ofCanvas = pixel(canvas, cx + n[0], cy + n[1])[c] - pixel(canvas, cx, cy)[c];
                        stronger = std::abs(ofCanvas) > std::abs(ofPart) ? ofCanvas : ofPart;
                    }
                    sum += stronger;
                }
                out[c] = sum;
            }
        }
    }
}
