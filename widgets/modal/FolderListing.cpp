#include "widgets/modal/FolderListing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

char folded(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares the digit runs starting at a[i] and b[j] by value and moves both
// indices past them. Values of any length work: leading zeros are skipped,
// then the longer run is the larger number.
int compareNumbers(const std::string& a, size_t& i, const std::string& b, size_t& j)
{
    auto run = [](const std::string& s, size_t& at) {
        while (at < s.size() && s[at] == '0' && at + 1 < s.size() && isDigit(s[at + 1]))
            ++at;
        const size_t start = at;
        while (at < s.size() && isDigit(s[at]))
            ++at;
        return s.substr(start, at - start);
    };
    const std::string x = run(a, i), y = run(b, j);
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    return x.compare(y);
}

int compareNatural(const std::string& a, const std::string& b)
{
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            if (const int numbers = compareNumbers(a, i, b, j))
                return numbers;
            continue;
        }
        const auto x = static_cast<unsigned char>(folded(a[i])), y = static_cast<unsigned char>(folded(b[j]));
        if (x != y)
            return x < y ? -1 : 1;
        ++i, ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return 0;
}

bool wildcardMatch(const std::string& name, const std::string& pattern)
{
    size_t n = 0, p = 0;
    // Iterative wildcard match: on a mismatch, let the last "*" take one more
    // byte and try again from there.
    size_t starAt = std::string::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            starName = n;
        } else if (p < pattern.size() && folded(pattern[p]) == folded(name[n])) {
            ++p, ++n;
        } else if (starAt != std::string::npos) {
            p = starAt + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool naturalNameLess(const std::string& a, const std::string& b)
{
    const int natural = compareNatural(a, b);
    return natural != 0 ? natural < 0 : a < b;
}

bool nameMatchesPattern(const std::string& name, const std::string& pattern)
{
    return pattern == "*.*" || wildcardMatch(name, pattern);
}

FolderListing listFolder(const std::string& folder, const std::string& pattern)
{
    FolderListing listing;
    std::error_code error;
    fs::directory_iterator entries(fs::path(folder), error);
    if (error)
        return listing;
    listing.readable = true;
    for (; entries != fs::directory_iterator(); entries.increment(error)) {
        if (error)
            break;
        const std::string name = entries->path().filename().string();
        if (name.empty() || name[0] == '.')
            continue;
        std::error_code kindError;
        if (entries->is_directory(kindError))
            listing.folders.push_back(name);
        else if (entries->is_regular_file(kindError) && nameMatchesPattern(name, pattern))
            listing.files.push_back(name);
    }
    std::sort(listing.folders.begin(), listing.folders.end(), naturalNameLess);
    std::sort(listing.files.begin(), listing.files.end(), naturalNameLess);
    return listing;
}
