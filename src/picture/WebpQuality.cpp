#include "picture/PictureCodecs.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace pictor {

// A lossy WebP file does not say what quality it was made at. libwebp's encoder turns a quality q
// (0..1) into a compression c = linear^(1/3), linear = q < 0.75 ? q * 2/3 : 2q - 1, and gives each of
// its segments the quantizer index 127 * (1 - c^e), e = 1 - 0.0035 * the segment's activity (-127..127).
// The coarsest segment is the least active one, whose activity libwebp scales to about -127: e = 1.44.
// Taking that segment's index back through the curve gives the quality libwebp was asked for to within
// a few points, erring high when the picture's least active part is not at the scale's end; a frame
// without segments (activity 0) is taken with e = 1.

namespace {

std::uint32_t Le32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

// The VP8 key frame's boolean decoder, reading only the header's fixed-probability fields.
class TBoolReader {
public:
    TBoolReader(const unsigned char* data, std::size_t size) : Data_(data), End_(data + size)
    {
        Value_ = std::uint32_t(Next()) << 8;
        Value_ |= Next();
    }

    int Bits(int count)
    {
        int value = 0;
        while (count-- > 0) value = value << 1 | Bit();
        return value;
    }
    int Signed(int count)
    {
        const int magnitude = Bits(count);
        return Bit() ? -magnitude : magnitude;
    }
    // An optional field: its flag, then the value when the flag is set.
    void SkipOptional(int count, bool sign)
    {
        if (Bit()) Bits(count + (sign ? 1 : 0));
    }

private:
    int Bit()
    {
        const std::uint32_t split = 1 + ((Range_ - 1) * 128 >> 8);
        const std::uint32_t bigSplit = split << 8;
        int bit = 0;
        if (Value_ >= bigSplit) {
            Range_ -= split;
            Value_ -= bigSplit;
            bit = 1;
        } else {
            Range_ = split;
        }
        while (Range_ < 128) {
            Value_ <<= 1;
            Range_ <<= 1;
            if (++Count_ == 8) {
                Count_ = 0;
                Value_ |= Next();
            }
        }
        return bit;
    }
    unsigned char Next() { return Data_ < End_ ? *Data_++ : 0; }

    const unsigned char* Data_;
    const unsigned char* End_;
    std::uint32_t Value_ = 0;
    std::uint32_t Range_ = 255;
    int Count_ = 0;
};

// The "VP8 " chunk's payload among the frame's chunks, or empty.
std::string_view Vp8Payload(std::string_view frame)
{
    while (frame.size() >= 8) {
        const auto* p = reinterpret_cast<const unsigned char*>(frame.data());
        const std::uint32_t size = Le32(p + 4);
        if (size > frame.size() - 8) return {};
        if (frame.substr(0, 4) == "VP8 ") return frame.substr(8, size);
        frame.remove_prefix(std::min<std::size_t>(frame.size(), 8 + std::size_t(size) + (size & 1)));
    }
    return {};
}

} // namespace

int EstimateWebpQuality(std::string_view frame)
{
    const std::string_view vp8 = Vp8Payload(frame);
    const auto* p = reinterpret_cast<const unsigned char*>(vp8.data());
    // Frame tag (bit 0 clear on a key frame), start code, dimensions, then the first partition.
    if (vp8.size() < 12 || (p[0] & 1) != 0 || p[3] != 0x9D || p[4] != 0x01 || p[5] != 0x2A) return -1;
    TBoolReader bits(p + 10, vp8.size() - 10);
    bits.Bits(2);  // colour space, clamping
    int segmentQuant[4] = {};
    bool segmentQuantSet = false, absolute = false;
    if (bits.Bits(1)) {
        const bool updateMap = bits.Bits(1) != 0;
        if (bits.Bits(1)) {
            absolute = bits.Bits(1) != 0;
            segmentQuantSet = true;
            for (int& q : segmentQuant) q = bits.Bits(1) ? bits.Signed(7) : 0;
            for (int k = 0; k < 4; ++k) bits.SkipOptional(6, true);
        }
        if (updateMap)
            for (int k = 0; k < 3; ++k) bits.SkipOptional(8, false);
    }
    bits.Bits(1 + 6 + 3);  // filter type, level, sharpness
    if (bits.Bits(1) && bits.Bits(1))
        for (int k = 0; k < 8; ++k) bits.SkipOptional(6, true);
    bits.Bits(2);  // partitions
    const int base = bits.Bits(7);

    double index = base, exponent = 1.0;
    if (segmentQuantSet) {
        index = 0;
        for (int q : segmentQuant) index = std::max(index, double(std::clamp(absolute ? q : base + q, 0, 127)));
        exponent = 1.44;
    }
    const double compression = std::pow(1.0 - index / 127.0, 1.0 / exponent);
    const double linear = compression * compression * compression;
    const double quality = linear < 0.5 ? linear * 1.5 : (linear + 1.0) / 2.0;
    return std::clamp(int(std::lround(quality * 100.0)), 0, 100);
}

} // namespace pictor
