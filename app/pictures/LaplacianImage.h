#pragma once

#include <memory>

class FNImage;

// q_LaplacianImage: the discrete Laplacian of one picture, the source term of
// the Poisson blend. Row-major records of four doubles: the Laplacian of
// colour channels 0, 1 and 2 and a fourth slot nothing reads (0). The values
// are integers of -1020 .. 1020, which the fast solver keeps as integers.
class q_LaplacianImage {
public:
    q_LaplacianImage() = default;
    virtual ~q_LaplacianImage() = default;

    q_LaplacianImage(const q_LaplacianImage&) = delete;
    q_LaplacianImage& operator=(const q_LaplacianImage&) = delete;

    // L_c(x, y) = P_c(x, y-1) + P_c(x-1, y) + P_c(x+1, y) + P_c(x, y+1) - 4 P_c(x, y)
    // for inner pixels; the outermost ring is 0. Alpha plays no part. Replaces
    // any earlier contents.
    void build(const FNImage& picture);

    const double* record(int x, int y) const { return data.get() + (static_cast<size_t>(y) * width + x) * 4; }

    int width = 0;
    int height = 0;
    std::unique_ptr<double[]> data;
};
