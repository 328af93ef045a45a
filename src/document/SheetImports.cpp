#include "document/SheetImports.h"

#include "base/FileIO.h"
#include "document/Paths.h"

#include <algorithm>
#include <unordered_set>

namespace pictor {

void ReadSheetsAndImports(std::vector<std::string>& paths, const std::vector<std::string>& linkCharsets,
                          std::vector<std::shared_ptr<TElements>>& sheets, std::vector<std::string>& missing,
                          TLoadedFiles& files)
{
    // What nested searches would hold, kept on the heap: a chain of thousands of imports is no deeper here.
    struct TSearch {
        std::string Folder;
        const std::vector<std::string>* Names;  // held by files
        size_t Next = 0;
    };
    std::unordered_set<std::string> known(paths.begin(), paths.end());
    std::vector<TSearch> searches;
    sheets.clear();
    sheets.resize(paths.size());
    auto read = [&](size_t index) {
        if (index >= sheets.size()) sheets.resize(index + 1);
        const TLoadedFiles::TSheet& sheet =
            files.Sheet(paths[index], index < linkCharsets.size() ? std::string_view(linkCharsets[index]) : std::string_view());
        sheets[index] = sheet.Elements;
        searches.push_back({FolderOf(paths[index]), &sheet.ImportNames, 0});
    };
    const size_t linked = paths.size();
    for (size_t i = 0; i < linked; ++i) {
        read(i);
        while (!searches.empty()) {
            TSearch& search = searches.back();
            if (search.Next == search.Names->size()) {
                searches.pop_back();
                continue;
            }
            std::string path = ResolvePath(search.Folder, (*search.Names)[search.Next++]);
            if (path.empty() || !known.insert(path).second) continue;
            if (!FileExists(path)) {
                if (std::find(missing.begin(), missing.end(), path) == missing.end()) missing.push_back(std::move(path));
                continue;
            }
            paths.push_back(std::move(path));
            read(paths.size() - 1);
        }
    }
}

} // namespace pictor
