#pragma once
#include <string>
#include <vector>

namespace pictor {

// Every page below folder (".htm", ".html" and ".shtml", in any case), sorted by path. Links to
// folders are not followed; a link to a file counts only when the file lies below folder too.
// Throws TPictorError naming folder when it is no folder or cannot be read.
std::vector<std::string> FindSitePages(const std::string& folder);

} // namespace pictor
