#include "framework/platform/FNUriList.h"

#include <cstring>
#include <strings.h>

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Decodes %XX escapes; a '%' not followed by two hex digits stays as it is.
bool percentDecode(const std::string& text, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            const char decoded = static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            if (decoded == '\0')
                return false;
            out += decoded;
            i += 2;
        } else {
            out += text[i];
        }
    }
    return true;
}

bool startsWithNoCase(const std::string& text, const char* prefix)
{
    return text.size() >= std::strlen(prefix) && strncasecmp(text.c_str(), prefix, std::strlen(prefix)) == 0;
}

// The path of one file URI of this machine, or false.
bool localPath(const std::string& uri, const std::string& localHost, std::string& path)
{
    if (!startsWithNoCase(uri, "file:"))
        return false;
    std::string rest = uri.substr(5);
    if (rest.compare(0, 2, "//") == 0) {
        const size_t slash = rest.find('/', 2);
        if (slash == std::string::npos)
            return false;
        const std::string host = rest.substr(2, slash - 2);
        const bool local = host.empty() || strcasecmp(host.c_str(), "localhost") == 0
            || (!localHost.empty() && strcasecmp(host.c_str(), localHost.c_str()) == 0);
        if (!local)
            return false;
        rest = rest.substr(slash);
    }
    if (rest.empty() || rest[0] != '/')
        return false;
    return percentDecode(rest, path);
}

} // namespace

std::vector<std::string> FNLocalPathsFromUriList(const std::string& uriList, const std::string& localHost)
{
    std::vector<std::string> paths;
    size_t start = 0;
    while (start < uriList.size()) {
        size_t end = uriList.find('\n', start);
        if (end == std::string::npos)
            end = uriList.size();
        std::string line = uriList.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::string path;
        if (!line.empty() && line[0] != '#' && localPath(line, localHost, path))
            paths.push_back(path);
    }
    return paths;
}
