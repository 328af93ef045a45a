#pragma once

#include <cstddef>

namespace pictor {

class IFileSet;
struct TChannelVariables;

// How many colour records AddChannelColors may add for what one file's walk found.
std::size_t ChannelColorsAtMost(const TChannelVariables& found);

// Makes colour records of the channel lists a colour function takes through var() in any file of the
// set (a page with its sheets, or a whole site), read as that function reads them; a list whose name
// rgb() and hsl() both take, or none, stays no colour. Then drops what the walks kept for it.
void AddChannelColors(IFileSet& files);

} // namespace pictor
