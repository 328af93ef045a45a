#pragma once
#include "base/WorkPool.h"

#include <algorithm>
#include <cstdint>

namespace pictor {

// Below this many pixels a band is not worth a thread (the dialogs' 247 x 247 preview stays on one).
inline constexpr std::int64_t MinPixelsPerWorker = std::int64_t(1) << 17;

// How many bands a picture of this many pixels is split into on pool (none: one).
inline int RowWorkers(std::int64_t pixels, const TWorkPool* pool)
{
    const std::int64_t threads = pool ? pool->Size() : 1;
    return static_cast<int>(std::clamp<std::int64_t>(pixels / MinPixelsPerWorker, 1, threads));
}

// Calls body(band, firstRow, endRow) for `bands` consecutive bands of rows, on pool and the calling
// thread, or one after another on the calling thread when there is no pool. The body must not throw.
template <class Body>
void ForEachRowBand(TWorkPool* pool, int height, int bands, const Body& body)
{
    auto bandStart = [&](int w) { return static_cast<int>(std::int64_t(height) * w / bands); };
    auto band = [&](std::size_t w) { body(int(w), bandStart(int(w)), bandStart(int(w) + 1)); };
    if (pool && bands > 1) {
        pool->ForEach(std::size_t(bands), band);
        return;
    }
    for (int w = 0; w < bands; ++w) band(std::size_t(w));
}

} // namespace pictor
