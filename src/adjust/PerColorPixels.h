#pragma once
#include "picture/BitmapEx.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace pictor {

// Changes the pixels of any number of frames, each exactly as convert changes its colour (packed
// 0xRRGGBB; called from several threads). Remembers recent colours between frames: for adjustments that
// cost more than a channel table.
class TPerColorPixels {
public:
    using TConvert = std::function<std::uint32_t(std::uint32_t)>;
    explicit TPerColorPixels(TConvert convert);
    void Apply(TFrame& frame, TWorkPool* pool);
    // Every frame that has pixels.
    void ApplyTo(TBitmapEx& bitmap, TWorkPool* pool);

private:
    // A direct-mapped memory of recently converted colours, one per thread: pictures repeat nearby
    // colours, and a conversion costs several look-ups. 256 KB stays in a core's own cache.
    class TRecentColors {
    public:
        static constexpr int IndexBits = 15;
        TRecentColors();
        template <class Convert>
        std::uint32_t Get(std::uint32_t rgb, const Convert& convert)
        {
            TSlot& slot = Slots_[(rgb * 0x9E3779B1u) >> (32 - IndexBits)];
            if (slot.Key != rgb) slot = {rgb, convert(rgb)};
            return slot.Value;
        }

    private:
        struct TSlot {
            std::uint32_t Key, Value;  // colours packed as 0xRRGGBB; no colour has the empty key
        };
        std::vector<TSlot> Slots_;
    };

    TConvert Convert_;
    std::vector<TRecentColors> Caches_;
};

} // namespace pictor
