#pragma once

#include "imaging/FNString.h"

#include <vector>

// Credit lines for the framework itself and what it links: Fern, Boost and
// the libraries of the linked window-system backend.
std::vector<FNString> FNFrameworkLibraryLines();
