#include "adjust/PixelTables.h"

#include "base/ParallelRows.h"

#include <cstddef>

namespace pictor {

void ApplyChannelTables(TFrame& frame, const TChannelTables& tables, TWorkPool* pool)
{
    const std::size_t stride = std::size_t(frame.Width) * 3;
    std::uint8_t* const pixels = frame.Pixels.data();
    const int workers = RowWorkers(std::int64_t(frame.Width) * frame.Height, pool);
    ForEachRowBand(pool, frame.Height, workers, [&](int, int firstRow, int endRow) {
        // Rows are packed, so a band is one run of pixels.
        std::uint8_t* const end = pixels + endRow * stride;
        for (std::uint8_t* p = pixels + firstRow * stride; p != end; p += 3) {
            p[0] = tables.B[p[0]];
            p[1] = tables.G[p[1]];
            p[2] = tables.R[p[2]];
        }
    });
}

} // namespace pictor
