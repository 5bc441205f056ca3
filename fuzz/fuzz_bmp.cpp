// libFuzzer target of the BMP reader: the input is written to a file of
// this process (the reader takes a file name) and loaded.
#include "imaging/FNImage.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

// Pictures the reader would accept but that are larger than this are not
// loaded. The reader accepts up to 2^28 pixels, and a few bytes claiming
// such a size legitimately make a picture of up to 1 GiB; the code run for
// it is the same as for small pictures, only longer, and seconds per input
// would slow the search to a crawl. Sizes beyond the reader's limits still
// go through, so its refusals are fuzzed too.
constexpr int64_t kMaxFuzzPixels = int64_t(1) << 18;
constexpr int64_t kReaderMaxPixels = int64_t(1) << 28;

// Width and height as the header gives them (0 when the input is too short).
int64_t claimedPixels(const uint8_t* data, size_t size)
{
    if (size < 26)
        return 0;
    auto field = [&](size_t at) {
        const int32_t v = int32_t(uint32_t(data[at]) | uint32_t(data[at + 1]) << 8 | uint32_t(data[at + 2]) << 16
            | uint32_t(data[at + 3]) << 24);
        return v < 0 ? -int64_t(v) : int64_t(v);
    };
    return field(18) * field(22);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int64_t pixels = claimedPixels(data, size);
    if (pixels > kMaxFuzzPixels && pixels <= kReaderMaxPixels)
        return 0;
    static const std::string path = "/tmp/tesserine-fuzz-" + std::to_string(getpid()) + ".bmp";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    const bool written = std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written)
        return 0;
    FNImage image;
    image.loadBMP(path.c_str());
    std::remove(path.c_str());
    return 0;
}
