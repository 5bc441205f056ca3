// libFuzzer target of the TGA reader: the input is written to a file of
// this process (the reader takes a file name) and loaded.
#include "fuzz/FuzzPictureSize.h"
#include "fuzz/FuzzScratchFile.h"
#include "imaging/FNImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const int64_t claimedPixels = size < 18 ? 0 : int64_t(data[12] | data[13] << 8) * int64_t(data[14] | data[15] << 8);
    if (tooSlowToFuzz(claimedPixels))
        return 0;
    const FuzzScratchFile input("in", ".tga");
    if (!input.write(data, size))
        return 0;
    FNImage image;
    image.loadTGA(input.path());
    return 0;
}
