#include "imaging/FNLibraryVersions.h"

#include <cstddef>
#include <cstdio>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#include <string>

namespace {

std::string dotted(int major, int minor, int patch)
{
    return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
}

std::string freetypeVersion()
{
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0)
        return dotted(FREETYPE_MAJOR, FREETYPE_MINOR, FREETYPE_PATCH);
    FT_Int major = 0, minor = 0, patch = 0;
    FT_Library_Version(library, &major, &minor, &patch);
    FT_Done_FreeType(library);
    return dotted(major, minor, patch);
}

std::string fontconfigVersion()
{
    // major * 10000 + minor * 100 + revision
    const int version = FcGetVersion();
    return dotted(version / 10000, version / 100 % 100, version % 100);
}

std::string jpegVersion()
{
#ifdef LIBJPEG_TURBO_VERSION_NUMBER
    // major * 1000000 + minor * 1000 + patch
    return dotted(LIBJPEG_TURBO_VERSION_NUMBER / 1000000, LIBJPEG_TURBO_VERSION_NUMBER / 1000 % 1000,
        LIBJPEG_TURBO_VERSION_NUMBER % 1000);
#else
    return "6b API " + std::to_string(JPEG_LIB_VERSION);
#endif
}

} // namespace

std::vector<FNString> FNImagingLibraryLines()
{
    return {
        "libpng " + std::string(png_get_libpng_ver(nullptr))
            + ", the PNG Reference Library authors (http://www.libpng.org/pub/png/libpng.html)",
        "zlib " + std::string(zlibVersion()) + ", Jean-loup Gailly and Mark Adler (https://zlib.net/)",
        "libjpeg-turbo " + jpegVersion()
            + ", the libjpeg-turbo Project and the Independent JPEG Group (https://libjpeg-turbo.org/)",
        "FreeType " + freetypeVersion() + ", the FreeType Project (https://freetype.org/)",
        "fontconfig " + fontconfigVersion()
            + ", Keith Packard and others (https://www.freedesktop.org/wiki/Software/fontconfig/)",
    };
}
