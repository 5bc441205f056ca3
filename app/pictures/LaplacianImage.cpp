#include "app/pictures/LaplacianImage.h"

#include "imaging/FNImage.h"

#include <algorithm>
#include <cstddef>

void q_LaplacianImage::build(const FNImage& picture)
{
    data.reset();
    width = picture.pixels ? picture.width : 0;
    height = picture.pixels ? picture.height : 0;
    const size_t doubles = static_cast<size_t>(width) * height * 4;
    // Every record is written below (the outer ring and the unused slot as
    // 0), so the array is not cleared first.
    data.reset(new double[doubles]);
    if (width < 3 || height < 3) {
        std::fill(data.get(), data.get() + doubles, 0.0);
        return;
    }
    const ptrdiff_t stride = static_cast<ptrdiff_t>(width) * 4;
    std::fill(data.get(), data.get() + stride, 0.0);
    for (int y = 1; y <= height - 2; ++y) {
        const uint8_t* p = picture.pixels + y * stride;
        double* out = data.get() + y * stride;
        std::fill(out, out + 4, 0.0);
        for (int x = 1; x <= width - 2; ++x) {
            const uint8_t* c = p + x * 4;
            double* record = out + x * 4;
            for (int ch = 0; ch < 3; ++ch)
                record[ch] = c[ch - stride] + c[ch - 4] + c[ch + 4] + c[ch + stride] - 4 * c[ch];
            record[3] = 0;
        }
        std::fill(out + stride - 4, out + stride, 0.0);
    }
    std::fill(data.get() + (height - 1) * stride, data.get() + doubles, 0.0);
}
