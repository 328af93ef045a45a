#include "app/model/BandLayout.h"

#include <algorithm>

namespace pictor {

TBandRows ArrangeBands(const TBandSettings& bands, bool visibleOnly)
{
    std::vector<TBand> order;
    for (int b = 0; b < bnCount; ++b)
        if (!visibleOnly || bands[size_t(b)].Visible) order.push_back(TBand(b));
    std::stable_sort(order.begin(), order.end(), [&](TBand a, TBand b) {
        const TBandSetting& x = bands[a];
        const TBandSetting& y = bands[b];
        return x.Top != y.Top ? x.Top < y.Top : x.Left < y.Left;
    });
    TBandRows rows;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i == 0 || bands[order[i]].Top != bands[order[i - 1]].Top) rows.emplace_back();
        rows.back().push_back(order[i]);
    }
    return rows;
}

TBandSettings PlaceBands(const TBandSettings& loaded, const TBandSettings& shown)
{
    TBandSettings placed = loaded;
    for (int b = 0; b < bnCount; ++b) placed[size_t(b)].Visible = shown[size_t(b)].Visible;
    const TBandRows now = ArrangeBands(shown, true);
    if (ArrangeBands(placed, true) == now) return placed;
    for (size_t row = 0; row < now.size(); ++row)
        for (TBand band : now[row]) {
            placed[band].Top = 2 + 26 * int(row);
            placed[band].Left = 11 + shown[band].Left;
        }
    return placed;
}

} // namespace pictor
