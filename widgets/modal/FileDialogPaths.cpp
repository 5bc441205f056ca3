#include "widgets/modal/FileDialogPaths.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string normalised(const fs::path& path)
{
    std::string text = path.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text.empty() ? "/" : text;
}

} // namespace

std::string resolveTypedPath(const std::string& folder, const std::string& typed)
{
    if (typed == "~")
        return normalised(homeFolder());
    if (typed.compare(0, 2, "~/") == 0)
        return normalised(fs::path(homeFolder()) / typed.substr(2));
    if (!typed.empty() && typed[0] == '/')
        return normalised(typed);
    return normalised(fs::path(folder) / typed);
}

std::string parentFolder(const std::string& path)
{
    return normalised(fs::path(normalised(path)).parent_path());
}

std::string joinPath(const std::string& folder, const std::string& name)
{
    return normalised(fs::path(folder) / name);
}

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return "/";
}

std::string workingFolder()
{
    std::error_code error;
    const fs::path here = fs::current_path(error);
    return error ? "/" : normalised(here);
}

bool isFolder(const std::string& path)
{
    std::error_code error;
    return fs::is_directory(path, error);
}

bool isRegularFile(const std::string& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

bool pathExists(const std::string& path)
{
    std::error_code error;
    return fs::exists(path, error);
}
