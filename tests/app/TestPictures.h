#pragma once

#include "imaging/FNImage.h"

#include <cstdint>
#include <cstring>
#include <memory>

// Seeded pictures for the picture algorithm tests.
class TestRandom {
public:
    explicit TestRandom(uint64_t seed)
        : m_state(seed)
    {
    }
    uint64_t next()
    {
        m_state += 0x9E3779B97F4A7C15ull;
        uint64_t z = m_state;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // An integer in [lo, hi].
    int range(int lo, int hi) { return lo + static_cast<int>(next() % static_cast<uint64_t>(hi - lo + 1)); }

private:
    uint64_t m_state;
};

inline std::unique_ptr<FNImage> makePicture(int w, int h, uint32_t word)
{
    auto image = std::make_unique<FNImage>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image->row(y)[x] = word;
    return image;
}

// A smooth gradient with noise, so the blend has something to follow.
inline std::unique_ptr<FNImage> makeNoisyPicture(int w, int h, TestRandom& random, int noise)
{
    auto image = std::make_unique<FNImage>(w, h);
    const int base[3] = { random.range(0, 255), random.range(0, 255), random.range(0, 255) };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            uint8_t* p = image->pixels + (static_cast<size_t>(y) * w + x) * 4;
            for (int c = 0; c < 3; ++c) {
                const int v = base[c] + (x * (c + 1) + y * (3 - c)) % 97 + random.range(-noise, noise);
                p[c] = static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
            }
            p[3] = 255;
        }
    }
    return image;
}

inline bool samePixels(const FNImage& a, const FNImage& b)
{
    return a.width == b.width && a.height == b.height && std::memcmp(a.pixels, b.pixels, a.byteCount()) == 0;
}

inline uint32_t pixelAt(const FNImage& image, int x, int y)
{
    return image.row(y)[x];
}
