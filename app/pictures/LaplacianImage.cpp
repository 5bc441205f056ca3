#include "app/pictures/LaplacianImage.h"

#include "imaging/FNImage.h"

#include <cstddef>

void q_LaplacianImage::build(const FNImage& picture)
{
    data.reset();
    width = picture.pixels ? picture.width : 0;
    height = picture.pixels ? picture.height : 0;
    // Value-initialised: the outer ring and the unused slot stay 0.
    data.reset(new double[static_cast<size_t>(width) * height * 4]());
    const ptrdiff_t stride = static_cast<ptrdiff_t>(width) * 4;
    for (int y = 1; y <= height - 2; ++y) {
        const uint8_t* p = picture.pixels + y * stride;
        for (int x = 1; x <= width - 2; ++x) {
            double* out = data.get() + (static_cast<size_t>(y) * width + x) * 4;
            const uint8_t* c = p + x * 4;
            for (int ch = 0; ch < 3; ++ch)
                out[ch] = c[ch - stride] + c[ch - 4] + c[ch + 4] + c[ch + stride] - 4 * c[ch];
        }
    }
}
