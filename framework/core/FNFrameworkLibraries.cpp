#include "framework/core/FNFrameworkLibraries.h"

#include "framework/platform/FNPlatform.h"

#include <boost/version.hpp>

#include <string>

std::vector<FNString> FNFrameworkLibraryLines()
{
    // BOOST_VERSION: major * 100000 + minor * 100 + patch
    const std::string boost = std::to_string(BOOST_VERSION / 100000) + "." + std::to_string(BOOST_VERSION / 100 % 1000)
        + "." + std::to_string(BOOST_VERSION % 100);
    std::vector<FNString> lines {
        "Fern Library, the Tesserine developers (Tesserine's own framework)",
        "Boost " + boost + ", the Boost contributors (https://www.boost.org/)",
    };
    for (const std::string& line : FNPlatformLibraryLines())
        lines.push_back(line);
    return lines;
}
