// Extension dispatch of FNImage::load and FNImage::save.
#include "imaging/FNImage.h"
#include "imaging/codecs/Extensions.h"

namespace {

enum class Codec { None, BMP, JPEG, PNG, TGA };

// Exact, case-sensitive spellings: "Png" or "Bmp" are not accepted.
Codec codecFor(const FNString& fileName)
{
    if (extensionIs(fileName, kBMPExtensions))
        return Codec::BMP;
    if (extensionIs(fileName, kJPEGExtensions))
        return Codec::JPEG;
    if (extensionIs(fileName, kPNGExtensions))
        return Codec::PNG;
    if (extensionIs(fileName, kTGAExtensions))
        return Codec::TGA;
    return Codec::None;
}

} // namespace

bool FNImage::load(const FNString& fileName)
{
    switch (codecFor(fileName)) {
    case Codec::BMP:
        return loadBMP(fileName);
    case Codec::JPEG:
        return loadJPEG(fileName);
    case Codec::PNG:
        return loadPNG(fileName);
    case Codec::TGA:
        return loadTGA(fileName);
    case Codec::None:
        break;
    }
    message = "非対応の拡張子です:\n" + fileName;
    return false;
}

bool FNImage::save(const FNString& fileName)
{
    switch (codecFor(fileName)) {
    case Codec::BMP:
        return saveBMP(fileName);
    case Codec::JPEG:
        return saveJPEG(fileName, 85);
    case Codec::PNG:
        return savePNG(fileName, 32);
    case Codec::TGA:
        return saveTGA(fileName, 32);
    case Codec::None:
        break;
    }
    message = "非対応の拡張子です:\n" + fileName;
    return false;
}
