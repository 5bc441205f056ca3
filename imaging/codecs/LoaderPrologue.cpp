#include "imaging/codecs/LoaderPrologue.h"

#include "imaging/FNImage.h"
#include "imaging/codecs/Extensions.h"
#include "imaging/codecs/FNFileStream.h"

bool failWith(FNImage& image, const char* text, const FNString& fileName)
{
    image.message = text + fileName;
    return false;
}

bool readFileToLoad(FNImage& image, const FNString& fileName, std::initializer_list<const char*> extensions,
    const char* cannotOpen, std::vector<uint8_t>& file)
{
    if (!extensionIs(fileName, extensions))
        return failWith(image, kWrongExtensionText, fileName);
    FNFileReader reader;
    if (!reader.open(fileName))
        return failWith(image, cannotOpen, fileName);
    file = reader.readAll();
    reader.close();
    return true;
}
