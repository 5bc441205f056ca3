// libFuzzer target for the JPEG reader: every input is loaded with loadJPEG.
// A picture that loads must be opaque everywhere and must save again.
#include "fuzz/FuzzScratchFile.h"
#include "imaging/FNImage.h"

namespace {

bool opaque(const FNImage& image)
{
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.row(y)[x] >> 24 != 255)
                return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Made per run and removed with it: libFuzzer may end the process
    // without running static destructors.
    const FuzzScratchFile input("in", ".jpg");
    const FuzzScratchFile output("out", ".jpg");
    if (!input.write(data, size))
        std::abort();
    FNImage image;
    if (!image.loadJPEG(input.path()))
        return 0;
    if (!image.created || image.width <= 0 || image.height <= 0 || !opaque(image))
        std::abort();
    if (int64_t(image.width) * image.height <= 4096 && !image.saveJPEG(output.path(), 85))
        std::abort();
    return 0;
}
