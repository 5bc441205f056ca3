#include "imaging/FNImageFailure.h"

// Short English texts, lower case so that they read well after a colon.
FNString FNImageFailureText(FNImageFailure failure, const FNString& failureDetail)
{
    switch (failure) {
    case FNImageFailure::None:
        return FNString();
    case FNImageFailure::FileMissing:
        return "file not found";
    case FNImageFailure::NoPermission:
        return "permission denied";
    case FNImageFailure::IsFolder:
        return "is a folder";
    case FNImageFailure::ReadFailed:
        return "cannot read the file: " + failureDetail;
    case FNImageFailure::NotThisFormat:
        return "not a valid " + failureDetail + " file";
    case FNImageFailure::Truncated:
        return "file is truncated";
    case FNImageFailure::UnsupportedVariant:
        return "unsupported " + failureDetail;
    case FNImageFailure::TooLarge:
        return "picture is too large";
    case FNImageFailure::OutOfMemory:
        return "out of memory";
    case FNImageFailure::WriteFailed:
        return failureDetail;
    case FNImageFailure::WrongExtension:
        return failureDetail.empty() ? FNString("unsupported file name extension")
                                     : "file name extension is not that of a " + failureDetail + " file";
    case FNImageFailure::NothingToSave:
        return "picture has no pixels";
    }
    return FNString();
}
