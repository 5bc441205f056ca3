#include "imaging/codecs/CodecSupport.h"

#include "imaging/FNImage.h"
#include "imaging/codecs/Extensions.h"
#include "imaging/codecs/FNFileStream.h"

#include <cerrno>
#include <cstring>

bool failWith(FNImage& image, FNImageFailure why, const char* text, const FNString& fileName, const FNString& detail)
{
    image.message = text + fileName;
    image.failure = why;
    image.failureDetail = detail;
    return false;
}

FNImageFailure readFailureOf(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FNImageFailure::FileMissing;
    case EACCES:
    case EPERM:
        return FNImageFailure::NoPermission;
    case EISDIR:
        return FNImageFailure::IsFolder;
    case ENOMEM:
        return FNImageFailure::OutOfMemory;
    default:
        return FNImageFailure::ReadFailed;
    }
}

FNString systemReason(int error)
{
    return FNString(std::strerror(error ? error : EIO));
}

bool openToLoad(FNImage& image, FNFileReader& file, const FNString& fileName, const ImageFormat& format)
{
    if (file.open(fileName))
        return true;
    return failWith(image, readFailureOf(file.error()), format.cannotOpen, fileName, systemReason(file.error()));
}

bool loadAs(FNImage& image, const FNString& fileName, const ImageFormat& format)
{
    if (!extensionIs(fileName, format.extensions))
        return failWith(image, FNImageFailure::WrongExtension, kWrongExtensionText, fileName, format.name);
    FNFileReader file;
    return openToLoad(image, file, fileName, format) && format.decode(image, file, fileName);
}

bool failWrite(FNImage& image, const FNFileWriter& writer, const char* text, const FNString& fileName)
{
    if (text)
        image.message = text + fileName;
    image.failure = FNImageFailure::WriteFailed;
    image.failureDetail = systemReason(writer.error());
    return false;
}
