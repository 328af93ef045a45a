#include "adjust/DarkPictures.h"

#include "adjust/PerColorPixels.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace pictor {

namespace {

// An open-addressed set of packed colours that gives up once it holds more than limit.
class TColorCount {
public:
    explicit TColorCount(int limit) : Limit_(limit), Slots_(std::size_t(limit) * 4, Empty) {}
    // False once there are more than limit colours.
    bool Add(std::uint32_t rgb)
    {
        const std::size_t mask = Slots_.size() - 1;
        for (std::size_t i = (rgb * 0x9E3779B1u) & mask;; i = (i + 1) & mask) {
            if (Slots_[i] == rgb) return true;
            if (Slots_[i] == Empty) {
                Slots_[i] = rgb;
                return ++Count_ <= Limit_;
            }
        }
    }

private:
    static constexpr std::uint32_t Empty = 0xFFFFFFFFu;  // no colour packs to it
    int Limit_;
    int Count_ = 0;
    std::vector<std::uint32_t> Slots_;
};

} // namespace

bool IsFlatColorPicture(const TBitmapEx& bitmap)
{
    static_assert((FlatPictureColors & (FlatPictureColors - 1)) == 0, "the set's size is a power of two");
    TColorCount colors(FlatPictureColors);
    for (int f = 0; f < bitmap.FrameCount(); ++f) {
        const TFrame& frame = bitmap.Frame(f);
        if (std::any_of(frame.Alpha.begin(), frame.Alpha.end(), [](std::uint8_t a) { return a < 255; })) return true;
        const std::uint8_t* p = frame.Pixels.data();
        const std::uint8_t* const end = p + std::size_t(frame.Width) * 3 * std::size_t(frame.Height);
        for (; p != end; p += 3)
            if (!colors.Add(std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0])) return false;
    }
    return true;
}

void DarkenPicture(TBitmapEx& bitmap, const TDarkEnds& ends, bool flatOnly, TWorkPool* pool)
{
    if (flatOnly && !IsFlatColorPicture(bitmap)) return;
    TPerColorPixels pixels([ends](std::uint32_t rgb) {
        const TColor c = DarkColor(RGB(int(rgb >> 16), int((rgb >> 8) & 0xFF), int(rgb & 0xFF)), ends);
        return std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 | std::uint32_t(GetBValue(c));
    });
    pixels.ApplyTo(bitmap, pool);
}

} // namespace pictor
