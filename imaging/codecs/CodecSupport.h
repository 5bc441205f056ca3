#pragma once

#include "imaging/FNImageFailure.h"
#include "imaging/FNString.h"

#include <initializer_list>

class FNImage;
class FNFileReader;
class FNFileWriter;

// What the file entry points need to know of one format: its name in the
// failure texts, its extensions, the text of its loader when the file
// cannot be opened, and its decoder. The decoder reads an already open file
// whose format is settled (by extension or by signature); like every
// loader it leaves the picture as it was when it fails.
struct ImageFormat {
    const char* name; // "BMP", "PNG", ...
    std::initializer_list<const char*> extensions;
    const char* cannotOpen;
    bool (*decode)(FNImage& image, FNFileReader& file, const FNString& fileName);
};

extern const ImageFormat kBMPFormat;
extern const ImageFormat kJPEGFormat;
extern const ImageFormat kPNGFormat;
extern const ImageFormat kTGAFormat;

// Stores text + file name in message and the cause (with its detail) in
// failure, and returns false, so a codec can end with `return failWith(...)`.
bool failWith(FNImage& image, FNImageFailure why, const char* text, const FNString& fileName,
    const FNString& detail = FNString());

// The cause of a failed open or read from the system's error number.
FNImageFailure readFailureOf(int error);

// The system's text for an error number ("No space left on device").
FNString systemReason(int error);

// Opens fileName for the format's decoder; on failure stores the format's
// cannot-open text and the cause, and returns false.
bool openToLoad(FNImage& image, FNFileReader& file, const FNString& fileName, const ImageFormat& format);

// The format's own loader (loadBMP, loadPNG, ...): extension check, open,
// decode.
bool loadAs(FNImage& image, const FNString& fileName, const ImageFormat& format);

// A failed save: the format's text (none for the PNG writer, which reports
// by its result alone) and the system's reason kept by the writer.
bool failWrite(FNImage& image, const FNFileWriter& writer, const char* text, const FNString& fileName);
