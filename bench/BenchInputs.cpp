#include "bench/BenchInputs.h"

#include <algorithm>
#include <cmath>

uint64_t SplitMix64::next()
{
    m_state += 0x9E3779B97F4A7C15ull;
    uint64_t z = m_state;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int SplitMix64::noise(int a)
{
    return static_cast<int>(next() % static_cast<uint64_t>(2 * a + 1)) - a;
}

namespace {

struct LookTable {
    double g0[3], gx[3], gy[3], px[3], py[3];
    int amp;
};

const LookTable kCanvas { { 40, 70, 190 }, { 150, 20, -80 }, { 30, 130, -60 }, { 173, 211, 149 }, { 131, 97, 163 }, 8 };
const LookTable kPart { { 200, 60, 50 }, { -120, 140, 40 }, { 20, -30, 150 }, { 61, 89, 47 }, { 53, 71, 79 }, 8 };

constexpr double kTwoPi = 6.283185307179586;

double fraction(int v, int size)
{
    return size == 1 ? 0.0 : double(v) / double(size - 1);
}

} // namespace

std::unique_ptr<FNImage> makePhoto(int width, int height, uint64_t seed, PhotoLook look)
{
    const LookTable& t = look == PhotoLook::Canvas ? kCanvas : kPart;
    auto image = std::make_unique<FNImage>(width, height);
    SplitMix64 rng(seed);
    for (int y = 0; y < height; ++y) {
        uint8_t* p = image->pixels + static_cast<size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x, p += 4) {
            const double fx = fraction(x, width), fy = fraction(y, height);
            const int a = (t.amp + 1) * x / width;
            for (int c = 0; c < 3; ++c) {
                const double base = t.g0[c] + t.gx[c] * fx + t.gy[c] * fy
                    + 20 * std::sin(kTwoPi * x / t.px[c]) * std::cos(kTwoPi * y / t.py[c]);
                const int value = static_cast<int>(base) + (a > 0 ? rng.noise(a) : 0);
                p[c] = static_cast<uint8_t>(std::clamp(value, 0, 255));
            }
            p[3] = 255;
        }
    }
    return image;
}

void applyBorderAlpha(FNImage& image, int ring)
{
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const bool outer = x < ring || y < ring || x >= image.width - ring || y >= image.height - ring;
            image.pixels[(static_cast<size_t>(y) * image.width + x) * 4 + 3] = outer ? 0 : 255;
        }
    }
}

void applyGradientAlpha(FNImage& image, uint64_t seed)
{
    SplitMix64 rng(seed);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const double fx = fraction(x, image.width), fy = fraction(y, image.height);
            const int value = static_cast<int>(64 + 191 * (fx + fy) * 0.5) + rng.noise(8);
            image.pixels[(static_cast<size_t>(y) * image.width + x) * 4 + 3]
                = static_cast<uint8_t>(std::clamp(value, 0, 255));
        }
    }
}
