// libFuzzer target for the PNG reader: every input is loaded with loadPNG.
// A picture that loads must survive a 32-bit save and a second load
// unchanged.
#include "fuzz/FuzzScratchFile.h"
#include "imaging/FNImage.h"

#include <cstring>

namespace {

bool samePixels(const FNImage& a, const FNImage& b)
{
    return a.width == b.width && a.height == b.height && std::memcmp(a.pixels, b.pixels, a.byteCount()) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Made per run and removed with it: libFuzzer may end the process
    // without running static destructors.
    const FuzzScratchFile input("in", ".png");
    const FuzzScratchFile output("out", ".png");
    if (!input.write(data, size))
        std::abort();
    FNImage image;
    if (!image.loadPNG(input.path()))
        return 0;
    if (!image.created || image.width <= 0 || image.height <= 0)
        std::abort();
    // Small pictures only: the writer's level-9 compression is slow.
    if (int64_t(image.width) * image.height > 4096)
        return 0;
    FNImage reloaded;
    if (!image.savePNG(output.path(), 32) || !reloaded.loadPNG(output.path()) || !samePixels(image, reloaded))
        std::abort();
    return 0;
}
