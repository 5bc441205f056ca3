#pragma once

#include "imaging/raster/FNRaster.h"

#include <cstdint>

// The sampling filters. u and v are picture-relative 12-bit fixed-point
// positions (the picture offset is already taken out). A filter's sample()
// returns false when the pixel is to be left alone. Each filter is a type so
// that the pixel loops are instantiated per filter.

namespace FNRasterFilter {

// The per-row span is split into pieces that need different sampling: the
// nearest filter has one kind; the bilinear filters have an edge kind (some
// neighbours may lie outside the picture) and an interior kind (all four
// neighbours inside, no tests).
enum Piece { Plain, Edge, Interior };

struct Picture {
    const uint32_t* pixels;
    int64_t width;
    int64_t height;
    uint32_t at(int64_t x, int64_t y) const { return pixels[y * width + x]; }
};

// Nearest: picture pixel (u >> 12, v >> 12); transparent pixels are skipped.
struct Nearest {
    static constexpr bool HasInterior = false;
    Picture picture;

    template <Piece>
    bool sample(int64_t u, int64_t v, uint32_t, uint32_t& out) const
    {
        uint32_t s = picture.at(u >> FNRasterShift, v >> FNRasterShift);
        out = s;
        return (s >> 24) != 0;
    }
};

// Bilinear, and with Sharp the sharp bilinear filter (fractions first pass
// through the per-axis ramps). With fx = u & 4095, fy = v & 4095 the weights
//   (4096-fx)(4096-fy), fx(4096-fy), (4096-fx)fy, fx*fy   (sum 2^24)
// go to the four neighbours; a neighbour outside the picture gives its weight
// to the destination pixel instead:
//   S.ch = (sum(w * neighbour.ch) + Wout * D.ch) >> 24, alpha likewise.
// The pixel is skipped when no neighbour is inside or the inside neighbours'
// weighted alphas sum to 0.
template <bool Sharp>
struct Bilinear {
    static constexpr bool HasInterior = true;
    Picture picture;
    const int* rampX = nullptr;
    const int* rampY = nullptr;

    uint32_t fractionX(int64_t u) const { return Sharp ? rampX[u & 4095] : uint32_t(u & 4095); }
    uint32_t fractionY(int64_t v) const { return Sharp ? rampY[v & 4095] : uint32_t(v & 4095); }

    template <Piece P>
    bool sample(int64_t u, int64_t v, uint32_t dst, uint32_t& out) const
    {
        if constexpr (P == Interior)
            return sampleInterior(u, v, out);
        else
            return sampleEdge(u, v, dst, out);
    }

    bool sampleInterior(int64_t u, int64_t v, uint32_t& out) const
    {
        const uint32_t fx = fractionX(u), fy = fractionY(v);
        const uint32_t* p = picture.pixels + (v >> FNRasterShift) * picture.width + (u >> FNRasterShift);
        const uint32_t p00 = p[0], p10 = p[1], p01 = p[picture.width], p11 = p[picture.width + 1];
        const uint32_t w00 = (4096 - fx) * (4096 - fy), w10 = fx * (4096 - fy);
        const uint32_t w01 = (4096 - fx) * fy, w11 = fx * fy;
        const uint32_t alpha = w00 * (p00 >> 24) + w10 * (p10 >> 24) + w01 * (p01 >> 24) + w11 * (p11 >> 24);
        if (alpha == 0)
            return false;
        uint32_t result = (alpha >> 24) << 24;
        for (int shift = 0; shift < 24; shift += 8) {
            const uint32_t sum = w00 * ((p00 >> shift) & 255) + w10 * ((p10 >> shift) & 255)
                + w01 * ((p01 >> shift) & 255) + w11 * ((p11 >> shift) & 255);
            result |= (sum >> 24) << shift;
        }
        out = result;
        return true;
    }

    bool sampleEdge(int64_t u, int64_t v, uint32_t dst, uint32_t& out) const
    {
        const uint32_t fx = fractionX(u), fy = fractionY(v);
        const int64_t ix = u >> FNRasterShift, iy = v >> FNRasterShift;
        const uint32_t weights[4] = { (4096 - fx) * (4096 - fy), fx * (4096 - fy), (4096 - fx) * fy, fx * fy };
        uint32_t sums[4] = { 0, 0, 0, 0 }; // blue, green, red, alpha
        uint32_t outside = 0;
        bool any = false;
        for (int k = 0; k < 4; ++k) {
            const int64_t x = ix + (k & 1), y = iy + (k >> 1);
            if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) {
                outside += weights[k];
                continue;
            }
            any = true;
            const uint32_t p = picture.at(x, y);
            for (int ch = 0; ch < 4; ++ch)
                sums[ch] += weights[k] * ((p >> (8 * ch)) & 255);
        }
        if (!any || sums[3] == 0)
            return false;
        uint32_t result = 0;
        for (int ch = 0; ch < 4; ++ch)
            result |= ((sums[ch] + outside * ((dst >> (8 * ch)) & 255)) >> 24) << (8 * ch);
        out = result;
        return true;
    }
};

} // namespace FNRasterFilter
