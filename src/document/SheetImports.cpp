#include "document/SheetImports.h"

#include "base/FileIO.h"
#include "document/Paths.h"

#include <algorithm>
#include <unordered_set>

namespace pictor {

void ReadSheetsAndImports(std::vector<std::string>& paths, const std::vector<std::string>& linkCharsets,
                          const std::vector<std::string>& blockImports,
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
        const std::string_view charset = index < linkCharsets.size() ? std::string_view(linkCharsets[index]) : std::string_view();
        const TLoadedFiles::TSheet& sheet = files.Sheet(paths[index], charset);
        sheets[index] = sheet.Elements;
        searches.push_back({FolderOf(paths[index]), &sheet.ImportNames, 0});
    };
    // A sheet not met before: taken, read and then searched.
    auto take = [&](std::string path) {
        if (path.empty() || !known.insert(path).second) return;
        if (!FileExists(path)) {
            if (std::find(missing.begin(), missing.end(), path) == missing.end()) missing.push_back(std::move(path));
            return;
        }
        paths.push_back(std::move(path));
        read(paths.size() - 1);
    };
    auto searchDepthFirst = [&] {
        while (!searches.empty()) {
            TSearch& search = searches.back();
            if (search.Next == search.Names->size()) searches.pop_back();
            else take(ResolvePath(search.Folder, (*search.Names)[search.Next++]));
        }
    };
    const size_t linked = paths.size();
    for (size_t i = 0; i < linked; ++i) {
        read(i);
        searchDepthFirst();
    }
    for (const std::string& path : blockImports) {
        take(path);
        searchDepthFirst();
    }
}

} // namespace pictor
