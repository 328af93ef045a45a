// One picture decoder (PICTOR_FUZZ_FORMAT: Bmp, Jpeg, Png, Gif or Webp) over arbitrary bytes: a bitmap of
// sane size or a TPictorError, nothing else. libFuzzer's memory limits catch absurd allocations.
#include "FuzzCheck.h"

#include "base/PictorError.h"
#include "picture/PictureIO.h"

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <string>

using namespace pictor;

namespace {

constexpr TPictureFormat Format = TPictureFormat::PICTOR_FUZZ_FORMAT;

// libpng refuses a chunk whose CRC is wrong, which would stop nearly every mutation at the first
// chunk; with the CRCs made right the fuzzer reaches the decoder proper.
void FixPngCrcs(std::string& bytes)
{
    auto* b = reinterpret_cast<unsigned char*>(bytes.data());
    for (std::size_t at = 8; at + 12 <= bytes.size();) {
        const std::size_t length = std::size_t(b[at]) << 24 | b[at + 1] << 16 | b[at + 2] << 8 | b[at + 3];
        if (length > bytes.size() - at - 12) break;
        const uLong crc = crc32(0, b + at + 4, uInt(length + 4));
        for (int k = 0; k < 4; ++k) b[at + 8 + length + std::size_t(k)] = static_cast<unsigned char>(crc >> (24 - 8 * k));
        at += 12 + length;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (Format == TPictureFormat::Png) FixPngCrcs(bytes);
    TBitmapEx bitmap;
    try {
        bitmap = DecodePicture(Format, bytes, "fuzz");
    } catch (const TPictorError&) {
        return 0;
    }
    fuzz::Require(!bitmap.Empty(), "a decoded picture has pixels");
    fuzz::Require((long long)bitmap.Width() * bitmap.Height() <= MaxPicturePixels, "a decoded picture is not too large");
    for (int k = 0; k < bitmap.FrameCount(); ++k) {
        const TFrame& frame = bitmap.Frame(k);
        const auto count = std::size_t(frame.Width) * std::size_t(frame.Height);
        fuzz::Require(frame.Pixels.size() == count * 3, "three bytes a pixel");
        fuzz::Require(frame.Alpha.empty() || frame.Alpha.size() == count, "one alpha byte a pixel");
    }
    return 0;
}
