#pragma once

#include "imaging/FNString.h"

#include <vector>

// The libraries the imaging layer links, one credit line each in the form
// "name version, holder (web address)", with the version the running
// program really uses where the library can say (libpng, zlib, FreeType,
// fontconfig) and the one it was built with otherwise (libjpeg-turbo).
std::vector<FNString> FNImagingLibraryLines();
