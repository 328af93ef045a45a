#pragma once
#include "app/model/Settings.h"

#include <array>
#include <vector>

namespace pictor {

using TBandSettings = std::array<TBandSetting, bnCount>;
using TBandRows = std::vector<std::vector<TBand>>;

// The rows of the top bar from top to bottom, each from left to right: bands sharing a Top form
// a row, ordered by Left.
TBandRows ArrangeBands(const TBandSettings& bands, bool visibleOnly);

// The positions to store at exit. shown holds, for each visible band, where it stands now (Top
// and Left as the bar's y and x). While the visible bands keep the arrangement they were given,
// the loaded values are stored unchanged; once moved, a visible band stores its row
// (2 + 26 per row) and its x plus the bar's margin of 11. Hidden bands keep their loaded places.
TBandSettings PlaceBands(const TBandSettings& loaded, const TBandSettings& shown);

} // namespace pictor
