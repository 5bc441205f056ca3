// libFuzzer target of the BMP reader: the input is written to a file of
// this process (the reader takes a file name) and loaded.
#include "fuzz/FuzzPictureSize.h"
#include "fuzz/FuzzScratchFile.h"
#include "imaging/FNImage.h"

namespace {

// Width times height as the header gives them (0 when the input is too short).
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
    if (tooSlowToFuzz(claimedPixels(data, size)))
        return 0;
    const FuzzScratchFile input("in", ".bmp");
    if (!input.write(data, size))
        return 0;
    FNImage image;
    image.loadBMP(input.path());
    return 0;
}
