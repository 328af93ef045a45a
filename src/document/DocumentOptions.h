#pragma once
#include <string>
#include <vector>

namespace pictor {

class TWorkPool;

// The settings that changing a document and writing its working copies read: the window passes
// them from its settings, pictor-cli from its flags.
struct TDocumentOptions {
    bool LowerCase = false;    // colour codes written as "#rrggbb"
    int JpegQuality = 80;      // JPEG working copies, the setting as stored
    bool UseReplacer = false;  // the replacement table applied to the page's working copy
    std::vector<std::string> ReplaceKeys;
    std::vector<std::string> ReplaceValues;
    TWorkPool* Pool = nullptr;  // where loads and changes work in parallel; none: on the calling thread
};

} // namespace pictor
