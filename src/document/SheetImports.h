#pragma once
#include "document/LoadedFiles.h"

#include <memory>
#include <string>
#include <vector>

namespace pictor {

// Takes the sheets in paths (the linked ones, their links' charset attributes in linkCharsets) and every
// sheet their "@import" rules reach from files, each once: a newly found sheet is appended to paths and
// searched at once, depth first. Then the same for each of blockImports (full paths: the sheets the
// page's style blocks import), in order. sheets gets each sheet in the order of paths; an imported sheet
// that is not there is noted once in missing and left out. Throws TPictorError naming a sheet that cannot
// be read.
void ReadSheetsAndImports(std::vector<std::string>& paths, const std::vector<std::string>& linkCharsets,
                          const std::vector<std::string>& blockImports,
                          std::vector<std::shared_ptr<TElements>>& sheets, std::vector<std::string>& missing,
                          TLoadedFiles& files);

} // namespace pictor
