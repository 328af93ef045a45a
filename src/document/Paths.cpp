#include "document/Paths.h"

#include "base/AsciiText.h"
#include "base/PictorError.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace pictor {

namespace fs = std::filesystem;

namespace {

std::string Absolute(const std::string& folder, std::string_view reference)
{
    std::string ref(reference);
    for (char& c : ref)
        if (c == '\\') c = '/';
    fs::path p = ref.starts_with('/') ? fs::path(ref) : fs::path(folder) / ref;
    return p.lexically_normal().string();
}

} // namespace

std::string ResolvePath(const std::string& folder, std::string_view reference)
{
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(folder, ec)) return {};
    // No file name holds a NUL byte; cut there, the reference would name another file.
    if (reference.find('\0') != std::string_view::npos) return {};
    std::string path = Absolute(folder, reference);
    const size_t query = reference.find_first_of("?#");
    if (query == std::string_view::npos || fs::exists(path, ec)) return path;
    return Absolute(folder, reference.substr(0, query));
}

std::string ResolvedPath(const std::string& path)
{
    std::error_code ec;
    const fs::path resolved = fs::weakly_canonical(fs::path(path), ec);
    return ec ? fs::path(path).lexically_normal().string() : resolved.string();
}

std::string FileIdentity(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
    return ResolvedPath(path);
}

std::string PathBelow(const std::string& path, const std::string& folder)
{
    return path.starts_with(folder) ? path.substr(folder.size()) : path;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool NamesSvgFile(std::string_view reference)
{
    auto endsInSvg = [](std::string_view name) {
        return name.size() >= 4 && name[name.size() - 4] == '.' && (name[name.size() - 3] | 0x20) == 's' &&
               (name[name.size() - 2] | 0x20) == 'v' && (name[name.size() - 1] | 0x20) == 'g';
    };
    return endsInSvg(reference) || endsInSvg(reference.substr(0, reference.find_first_of("?#")));
}

bool IsPageName(std::string_view path)
{
    const std::string_view name = path.substr(path.find_last_of('/') + 1);
    const size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos) return false;
    const std::string_view extension = name.substr(dot);
    return EqualsNoCase(extension, ".htm") || EqualsNoCase(extension, ".html") || EqualsNoCase(extension, ".shtml");
}

bool IsExternalReference(std::string_view ref)
{
    if (ref.starts_with("//") || ref.starts_with("\\\\")) return true;
    // A scheme: a letter, then letters, digits, "+", "-" or "."; two characters at least, so that a
    // Windows drive letter is not taken for one. Style text may show the colon as a space.
    size_t i = 0;
    auto isAlpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    while (i < ref.size() && (isAlpha(ref[i]) || (i > 0 && ((ref[i] >= '0' && ref[i] <= '9') || ref[i] == '+' ||
                                                              ref[i] == '-' || ref[i] == '.'))))
        ++i;
    if (i < 2 || i >= ref.size()) return false;
    if (ref[i] == ':') return true;
    return ref[i] == ' ' && ref.substr(i + 1).starts_with("//");
}

std::string CommonBaseFolder(const std::vector<std::string>& paths)
{
    const std::string* shortest = nullptr;
    for (const auto& p : paths)
        if (p.size() < 10000 && (!shortest || p.size() < shortest->size())) shortest = &p;
    if (!shortest) return {};
    size_t common = shortest->size();
    for (const auto& p : paths) {
        size_t k = 0;
        while (k < common && k < p.size() && p[k] == (*shortest)[k]) ++k;
        common = k;
    }
    return FolderOf(shortest->substr(0, common));
}

} // namespace pictor
