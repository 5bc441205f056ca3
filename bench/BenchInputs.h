#pragma once

#include "imaging/FNImage.h"

#include <cstdint>
#include <memory>

// The shared benchmark inputs: seeded synthetic photos and alpha patterns,
// so figures compare across libraries doing the same work on the same data.

class SplitMix64 {
public:
    explicit SplitMix64(uint64_t seed)
        : m_state(seed)
    {
    }
    uint64_t next();
    // An integer in [-a, a] for a > 0.
    int noise(int a);

private:
    uint64_t m_state;
};

enum class PhotoLook { Canvas, Part };

std::unique_ptr<FNImage> makePhoto(int width, int height, uint64_t seed, PhotoLook look);
// Alpha 0 on the outer `ring` pixels of each side, 255 inside.
void applyBorderAlpha(FNImage& image, int ring);
// Alpha rising from about 64 at the top-left to 255 at the bottom-right, with noise.
void applyGradientAlpha(FNImage& image, uint64_t seed);
