#include "adjust/PerColorPixels.h"

#include "base/ParallelRows.h"

#include <cstddef>
#include <utility>

namespace pictor {

TPerColorPixels::TRecentColors::TRecentColors() : Slots_(std::size_t(1) << IndexBits, TSlot{0xFFFFFFFFu, 0}) {}

TPerColorPixels::TPerColorPixels(TConvert convert) : Convert_(std::move(convert)) {}

void TPerColorPixels::Apply(TFrame& frame, TWorkPool* pool)
{
    const int workers = RowWorkers(std::int64_t(frame.Width) * frame.Height, pool);
    if (Caches_.size() < std::size_t(workers)) Caches_.resize(workers);
    const std::size_t stride = std::size_t(frame.Width) * 3;
    std::uint8_t* const pixels = frame.Pixels.data();
    ForEachRowBand(pool, frame.Height, workers, [&](int worker, int firstRow, int endRow) {
        TRecentColors& cache = Caches_[worker];
        std::uint8_t* const end = pixels + endRow * stride;
        for (std::uint8_t* p = pixels + firstRow * stride; p != end; p += 3) {
            const std::uint32_t rgb = cache.Get(std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0], Convert_);
            p[0] = std::uint8_t(rgb);
            p[1] = std::uint8_t(rgb >> 8);
            p[2] = std::uint8_t(rgb >> 16);
        }
    });
}

void TPerColorPixels::ApplyTo(TBitmapEx& bitmap, TWorkPool* pool)
{
    // Frames without pixels are not detached for nothing.
    for (int i = 0; i < bitmap.FrameCount(); ++i) {
        const TFrame& frame = std::as_const(bitmap).Frame(i);
        if (frame.Width > 0 && frame.Height > 0) Apply(bitmap.MutableFrame(i), pool);
    }
}

} // namespace pictor
