#include "app/model/EditorPathCheck.h"

#include "app/model/Options.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <unistd.h>

namespace pictor {

namespace {

bool IsExecutableFile(const std::filesystem::path& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec) && access(path.c_str(), X_OK) == 0;
}

} // namespace

std::string FindExecutable(const std::string& name, const std::string& searchPath)
{
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return IsExecutableFile(name) ? name : std::string();
    std::string_view rest = searchPath;
    while (true) {
        const size_t colon = rest.find(':');
        const std::string_view folder = rest.substr(0, colon);
        // An empty entry of $PATH means the current folder.
        const std::filesystem::path candidate = std::filesystem::path(folder.empty() ? "." : folder) / name;
        if (IsExecutableFile(candidate)) return candidate.string();
        if (colon == std::string_view::npos) return {};
        rest.remove_prefix(colon + 1);
    }
}

bool IsEditorPathAccepted(const std::string& path, const std::string& searchPath)
{
    std::error_code ec;
    return path == TOptions().EditorPath || std::filesystem::is_regular_file(path, ec) ||
           !FindExecutable(path, searchPath).empty();
}

std::string ProcessSearchPath()
{
    const char* value = std::getenv("PATH");
    return value ? value : "";
}

} // namespace pictor
