#include "adjust/HueSatPixels.h"

#include "adjust/ColorModels.h"
#include "base/ParallelRows.h"

#include <cstddef>

namespace pictor {

THueSatPixels::TRecentColors::TRecentColors() : Slots_(std::size_t(1) << IndexBits, TSlot{0xFFFFFFFFu, 0}) {}

THueSatPixels::THueSatPixels(int hue, int saturation, int lightness)
    : Hue_(hue), Saturation_(saturation), Lightness_(lightness)
{
}

void THueSatPixels::Apply(TFrame& frame)
{
    const int workers = RowWorkers(std::int64_t(frame.Width) * frame.Height);
    if (Caches_.size() < std::size_t(workers)) Caches_.resize(workers);
    const auto convert = [this](std::uint32_t rgb) {
        const TIntRGB c = HueSatRGB(int(rgb >> 16), int((rgb >> 8) & 0xFF), int(rgb & 0xFF), Hue_, Saturation_,
                                    Lightness_);
        return std::uint32_t(c.R) << 16 | std::uint32_t(c.G) << 8 | std::uint32_t(c.B);
    };
    const std::size_t stride = std::size_t(frame.Width) * 3;
    std::uint8_t* const pixels = frame.Pixels.data();
    ForEachRowBand(frame.Height, workers, [&](int worker, int firstRow, int endRow) {
        TRecentColors& cache = Caches_[worker];
        std::uint8_t* const end = pixels + endRow * stride;
        for (std::uint8_t* p = pixels + firstRow * stride; p != end; p += 3) {
            const std::uint32_t rgb = cache.Get(std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0], convert);
            p[0] = std::uint8_t(rgb);
            p[1] = std::uint8_t(rgb >> 8);
            p[2] = std::uint8_t(rgb >> 16);
        }
    });
}

} // namespace pictor
