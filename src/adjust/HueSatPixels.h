#pragma once
#include "picture/BitmapEx.h"

#include <cstdint>
#include <vector>

namespace pictor {

// Applies one hue/saturation/lightness shift to the pixels of any number of frames, each pixel
// exactly as `HueSatRGB` changes its colour. Remembers recent colours between frames.
class THueSatPixels {
public:
    THueSatPixels(int hue, int saturation, int lightness);
    void Apply(TFrame& frame);

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

    int Hue_, Saturation_, Lightness_;
    std::vector<TRecentColors> Caches_;
};

} // namespace pictor
