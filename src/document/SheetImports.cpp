#include "document/SheetImports.h"

#include "base/FileIO.h"
#include "document/DocumentText.h"
#include "document/Paths.h"
#include "document/StyleScanner.h"
#include "encoding/TextNormalizer.h"

#include <algorithm>
#include <unordered_set>

namespace pictor {

namespace {

// A sheet's import targets as file names, in its own order. The sheet is searched in the encoding its
// reading gave it, so that a name resolves to the file the sheet means; a sheet with a UTF-16 mark,
// which reading leaves as it is, is searched in its normalised form.
std::vector<std::string> ImportNames(const TElements& sheet)
{
    std::vector<std::string> names;
    // No "@" byte, no rule (in UTF-16 too): most sheets need no search.
    if (sheet.Text.find('@') == std::string::npos) return names;
    std::string_view text = sheet.Text;
    bool utf8 = sheet.IsUtf8();
    std::string normalised;
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        normalised = sheet.Text;
        if (const TCharCode code = NormalizeText(normalised); code == ccUtf16LE || code == ccUtf16BE) {
            text = normalised;
            utf8 = false;
        }
    }
    for (const std::string& target : FindImportTargets(text, utf8)) names.push_back(ReferenceToFileName(target, utf8));
    return names;
}

} // namespace

void ReadSheetsAndImports(std::vector<std::string>& paths, std::vector<TElements>& sheets,
                          std::vector<std::string>& missing)
{
    // What nested searches would hold, kept on the heap: a chain of thousands of imports is no deeper here.
    struct TSearch {
        std::string Folder;
        std::vector<std::string> Names;
        size_t Next = 0;
    };
    std::unordered_set<std::string> known(paths.begin(), paths.end());
    std::vector<TSearch> searches;
    sheets.clear();
    sheets.resize(paths.size());
    auto read = [&](size_t index) {
        if (index >= sheets.size()) sheets.resize(index + 1);
        ReadTextFile(paths[index], sheets[index]);
        searches.push_back({FolderOf(paths[index]), ImportNames(sheets[index]), 0});
    };
    const size_t linked = paths.size();
    for (size_t i = 0; i < linked; ++i) {
        read(i);
        while (!searches.empty()) {
            TSearch& search = searches.back();
            if (search.Next == search.Names.size()) {
                searches.pop_back();
                continue;
            }
            std::string path = ResolvePath(search.Folder, search.Names[search.Next++]);
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
