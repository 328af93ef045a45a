#include "app/model/HelpFile.h"

#include <filesystem>

namespace pictor {

std::string FindHelpFile(const std::string& programFolder)
{
    for (const char* relative : {"manual/index.html", "../share/pictor/manual/index.html"}) {
        std::error_code ec;
        const auto path = std::filesystem::weakly_canonical(std::filesystem::path(programFolder) / relative, ec);
        if (!ec && std::filesystem::is_regular_file(path, ec)) return path.string();
    }
    return {};
}

} // namespace pictor
