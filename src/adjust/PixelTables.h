#pragma once
#include "picture/BitmapEx.h"
#include "adjust/ColorModels.h"

#include <array>
#include <cstdint>

namespace pictor {

// One lookup table per channel, for the adjustments whose result in a channel depends on that
// channel alone.
struct TChannelTables {
    std::array<std::uint8_t, 256> B, G, R;
};

// Tables that give exactly what the per-colour function gives, read off it along the greys.
template <class PerColour>
TChannelTables ChannelTablesOf(const PerColour& perColour)
{
    TChannelTables tables;
    for (int c = 0; c < 256; ++c) {
        const TIntRGB rgb = perColour(c, c, c);
        tables.B[c] = static_cast<std::uint8_t>(rgb.B);
        tables.G[c] = static_cast<std::uint8_t>(rgb.G);
        tables.R[c] = static_cast<std::uint8_t>(rgb.R);
    }
    return tables;
}

// Passes every pixel of the frame through the tables in place; alpha is left alone.
void ApplyChannelTables(TFrame& frame, const TChannelTables& tables, TWorkPool* pool);

} // namespace pictor
