#pragma once

#include "imaging/FNString.h"

// Why the last failed load or save of a picture failed, for programs that act
// on it; the picture's Japanese `message` is for people and often names no
// cause. Kept until the next failing codec call or clear(), like `message`.
enum class FNImageFailure {
    None, // no failure recorded
    FileMissing, // the file, or a folder on its path, does not exist
    NoPermission, // the system refused access to the file
    IsFolder, // the name is that of a folder
    ReadFailed, // the system could not read the file (detail: the system's reason)
    NotThisFormat, // the content is not a picture of the format tried (detail: the format)
    Truncated, // the file ends before the picture's data does
    UnsupportedVariant, // a kind of picture this program does not read or write (detail: which)
    TooLarge, // the picture is larger than this program handles
    OutOfMemory, // memory for the picture could not be had
    WriteFailed, // the system could not write the file (detail: the system's reason)
    WrongExtension, // the file name's extension names no format the call handles
    NothingToSave, // the picture holds no pixels
};

// "file is truncated", "unsupported 16-bit BMP", the system's reason for a
// failed write, ...: a few English words for the cause and its detail;
// empty for None.
FNString FNImageFailureText(FNImageFailure failure, const FNString& detail);
