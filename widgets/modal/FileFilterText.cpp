#include "widgets/modal/FileFilterText.h"

#include "imaging/FNString.h"

namespace {

constexpr const char* kUntitled = "名称未設定";

// The name without its extension (FNString::extension()) and the dot before it.
std::string withoutExtension(const std::string& name)
{
    const FNString extension = FNString(name).extension();
    return extension.empty() ? name : name.substr(0, name.size() - extension.length() - 1);
}

} // namespace

std::vector<FileFilterEntry> splitFilterText(const std::string& filter)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t end; (end = filter.find(';', start)) != std::string::npos; start = end + 1)
        parts.push_back(filter.substr(start, end - start));
    std::vector<FileFilterEntry> entries;
    for (size_t i = 0; i + 1 < parts.size(); i += 2)
        entries.push_back({ parts[i], parts[i + 1] });
    return entries;
}

std::string typeExtension(const std::string& typeText)
{
    const size_t open = typeText.rfind("(*.");
    if (open == std::string::npos)
        return std::string();
    const size_t start = open + 3;
    const size_t close = typeText.find(')', start);
    const std::string extension = typeText.substr(start, close == std::string::npos ? close : close - start);
    return extension == "*" ? std::string() : extension;
}

std::string renamedForType(const std::string& name, const std::string& typeText)
{
    const std::string extension = typeExtension(typeText);
    const std::string named = name.empty() ? kUntitled : name;
    if (extension.empty())
        return named;
    std::string stem = withoutExtension(named);
    if (stem.empty() || stem.back() == '/')
        stem += kUntitled;
    return stem + "." + extension;
}
