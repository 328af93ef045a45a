#include "site/SitePages.h"

#include "base/FailureReasons.h"
#include "base/PictorError.h"
#include "document/Paths.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace pictor {

namespace {

namespace fs = std::filesystem;

bool Below(const fs::path& path, const fs::path& folder)
{
    const auto [end, _] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return end == folder.end();
}

} // namespace

std::vector<std::string> FindSitePages(const std::string& folder)
{
    std::error_code error;
    const fs::path root = fs::absolute(folder).lexically_normal();
    const fs::path resolvedRoot = fs::canonical(root, error);
    if (error) throw TPictorError(folder, SystemErrorText(error.value()));
    if (!fs::is_directory(resolvedRoot)) throw TPictorError(folder, SystemErrorText(ENOTDIR));
    std::vector<std::string> pages;
    fs::path current = root;
    fs::recursive_directory_iterator walk(root, fs::directory_options::none, error);
    for (; !error && walk != fs::recursive_directory_iterator(); walk.increment(error)) {
        const fs::directory_entry& entry = *walk;
        current = entry.path();
        if (!IsPageName(current.string())) continue;
        std::error_code ignored;
        if (entry.is_symlink(ignored)) {
            const fs::path target = fs::canonical(current, ignored);
            if (ignored || !Below(target, resolvedRoot)) continue;
        }
        if (entry.is_regular_file(ignored)) pages.push_back(current.string());
    }
    if (error) throw TPictorError(current.string(), SystemErrorText(error.value()));
    std::sort(pages.begin(), pages.end());
    return pages;
}

} // namespace pictor
