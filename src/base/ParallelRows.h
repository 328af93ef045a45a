#pragma once
#include <algorithm>
#include <cstdint>
#include <thread>
#include <vector>

namespace pictor {

// Below this many pixels a band is not worth a thread (the dialogs' 247 x 247 preview stays on one).
inline constexpr std::int64_t MinPixelsPerWorker = std::int64_t(1) << 17;

// How many threads a picture of this many pixels is split over.
inline int RowWorkers(std::int64_t pixels)
{
    const std::int64_t cores = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<int>(std::clamp<std::int64_t>(pixels / MinPixelsPerWorker, 1, cores));
}

// Calls body(worker, firstRow, endRow) for `workers` consecutive bands of rows, the first band on
// the calling thread. The body must not throw: the bands run on their own threads.
template <class Body>
void ForEachRowBand(int height, int workers, const Body& body)
{
    auto bandStart = [&](int w) { return static_cast<int>(std::int64_t(height) * w / workers); };
    std::vector<std::jthread> threads;
    threads.reserve(workers - 1);
    for (int w = 1; w < workers; ++w) threads.emplace_back([&body, w, first = bandStart(w), end = bandStart(w + 1)] {
        body(w, first, end);
    });
    body(0, 0, bandStart(1));
}

} // namespace pictor
