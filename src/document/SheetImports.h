#pragma once
#include "document/HtmlStructure.h"

#include <string>
#include <vector>

namespace pictor {

// Reads the sheets in paths (the linked ones) and every sheet their "@import" rules reach, each once:
// a newly found sheet is appended to paths and searched at once, depth first. sheets gets each sheet as
// read, in the order of paths; an imported sheet that is not there is noted once in missing and left out.
// Throws TPictorError naming a sheet that cannot be read.
void ReadSheetsAndImports(std::vector<std::string>& paths, std::vector<TElements>& sheets,
                          std::vector<std::string>& missing);

} // namespace pictor
