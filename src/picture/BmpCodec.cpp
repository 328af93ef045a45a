#include "picture/PictureCodecs.h"
#include "picture/PictureIO.h"

#include "base/FailureReasons.h"
#include "base/PictorError.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace pictor {

namespace {

constexpr std::size_t FileHeaderSize = 14;
constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::uint32_t CoreHeaderSize = 12;  // the old OS/2 header: 16-bit sizes, 3-byte palette entries
constexpr std::uint32_t BiRgb = 0, BiRle8 = 1, BiRle4 = 2, BiBitfields = 3, BiAlphaBitfields = 6;

std::uint32_t Le16(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8;
}

std::uint32_t Le32(const std::uint8_t* p)
{
    return Le16(p) | Le16(p + 2) << 16;
}

std::uint32_t Read16(std::string_view bytes, std::size_t at)
{
    return Le16(reinterpret_cast<const std::uint8_t*>(bytes.data()) + at);
}

std::uint32_t Read32(std::string_view bytes, std::size_t at)
{
    return Le32(reinterpret_cast<const std::uint8_t*>(bytes.data()) + at);
}

void Put16(std::string& out, std::uint32_t value)
{
    out += char(value & 0xFF);
    out += char(value >> 8 & 0xFF);
}

void Put32(std::string& out, std::uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// One channel of a bit-field pixel (16 and 32 bits), scaled to 0..255 whatever the field's width.
struct TChannel {
    std::uint32_t Mask = 0;
    int Shift = 0;
    std::uint32_t Max = 0;

    explicit TChannel(std::uint32_t mask) : Mask(mask)
    {
        if (mask == 0)
            return;
        Shift = std::countr_zero(mask);
        Max = mask >> Shift;
    }
    std::uint8_t Of(std::uint32_t pixel) const
    {
        if (Max == 0)
            return 0;
        return std::uint8_t(std::uint64_t((pixel & Mask) >> Shift) * 255 / Max);
    }
};

struct THeader {
    std::uint32_t HeaderSize = 0;
    long long Width = 0;
    long long Height = 0;
    bool TopDown = false;
    int BitCount = 0;
    std::uint32_t Compression = BiRgb;
    std::uint32_t ColorsUsed = 0;
    std::uint32_t Masks[3] = {};  // red, green, blue
};

[[noreturn]] void Fail(const std::string& name, TDecodeFailure failure, const std::string& detail = {})
{
    throw TPictorError(name, DecodeFailureText("BMP", failure, detail));
}

THeader ReadHeader(std::string_view bytes, const std::string& name)
{
    if (!bytes.starts_with("BM"))
        Fail(name, TDecodeFailure::NotThisFormat);
    if (bytes.size() < FileHeaderSize + 4)
        Fail(name, TDecodeFailure::Truncated);
    THeader h;
    h.HeaderSize = Read32(bytes, FileHeaderSize);
    if (h.HeaderSize != CoreHeaderSize && h.HeaderSize < InfoHeaderSize)
        Fail(name, TDecodeFailure::Unsupported, "ヘッダー " + std::to_string(h.HeaderSize) + " バイト");
    if (bytes.size() < FileHeaderSize + h.HeaderSize)
        Fail(name, TDecodeFailure::Truncated);
    const std::size_t at = FileHeaderSize;
    if (h.HeaderSize == CoreHeaderSize) {
        h.Width = Read16(bytes, at + 4);
        h.Height = Read16(bytes, at + 6);
        h.BitCount = int(Read16(bytes, at + 10));
    } else {
        h.Width = std::int32_t(Read32(bytes, at + 4));
        h.Height = std::int32_t(Read32(bytes, at + 8));
        h.BitCount = int(Read16(bytes, at + 14));
        h.Compression = Read32(bytes, at + 16);
        h.ColorsUsed = Read32(bytes, at + 32);
    }
    if (h.Height < 0) {
        h.TopDown = true;
        h.Height = -h.Height;
    }
    if (h.Compression == BiBitfields || h.Compression == BiAlphaBitfields) {
        // The masks follow a 40-byte header; larger headers hold them at the same place.
        if (bytes.size() < FileHeaderSize + InfoHeaderSize + 12)
            Fail(name, TDecodeFailure::Truncated);
        for (int i = 0; i < 3; ++i)
            h.Masks[i] = Read32(bytes, FileHeaderSize + InfoHeaderSize + 4 * std::size_t(i));
    } else if (h.BitCount == 16) {
        h.Masks[0] = 0x7C00, h.Masks[1] = 0x03E0, h.Masks[2] = 0x001F;
    } else if (h.BitCount == 32) {
        h.Masks[0] = 0xFF0000, h.Masks[1] = 0x00FF00, h.Masks[2] = 0x0000FF;
    }
    const bool paletted = h.BitCount == 1 || h.BitCount == 4 || h.BitCount == 8;
    const bool supported = (h.Compression == BiRgb && (paletted || h.BitCount == 16 || h.BitCount == 24 || h.BitCount == 32)) ||
                           ((h.Compression == BiBitfields || h.Compression == BiAlphaBitfields) &&
                            (h.BitCount == 16 || h.BitCount == 32)) ||
                           (h.Compression == BiRle8 && h.BitCount == 8) || (h.Compression == BiRle4 && h.BitCount == 4);
    if (!supported)
        Fail(name, TDecodeFailure::Unsupported,
             std::to_string(h.BitCount) + " ビット、圧縮方式 " + std::to_string(h.Compression));
    CheckPictureSize(h.Width, h.Height, "BMP", name);
    return h;
}

// Entries beyond the file's palette read as black rather than out of bounds. Some writers leave
// the colour count 0 with a short palette, so the room before the pixels limits it too.
using TPalette = std::array<std::uint8_t, 256 * 3>;

TPalette ReadPalette(std::string_view bytes, const THeader& h, std::size_t pixelOffset)
{
    TPalette palette{};
    const std::size_t entrySize = h.HeaderSize == CoreHeaderSize ? 3 : 4;
    const std::size_t at = FileHeaderSize + h.HeaderSize;
    std::size_t count = std::size_t(1) << h.BitCount;
    if (h.ColorsUsed != 0 && h.ColorsUsed < count)
        count = h.ColorsUsed;
    count = std::min(count, pixelOffset > at ? (pixelOffset - at) / entrySize : 0);
    for (std::size_t i = 0; i < count; ++i)
        std::memcpy(&palette[i * 3], bytes.data() + at + i * entrySize, 3);
    return palette;
}

// RLE8 and RLE4 pixels: runs, copied stretches and the end-of-line, delta and end-of-bitmap codes, as a
// system reader draws them into a zeroed bitmap: a pixel that no code sets keeps palette entry 0, what
// falls outside the picture is dropped, and the data running out ends the picture.
void DecodeRle(std::string_view bytes, std::size_t offset, const THeader& h, const TPalette& palette, TFrame& frame)
{
    const auto width = std::size_t(h.Width);
    const auto height = std::size_t(h.Height);
    for (std::size_t i = 0; i < width * height; ++i)
        std::memcpy(&frame.Pixels[i * 3], &palette[0], 3);
    const bool four = h.BitCount == 4;
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data()) + offset;
    const auto* const end = reinterpret_cast<const std::uint8_t*>(bytes.data()) + bytes.size();
    std::size_t x = 0, row = 0;  // row 0 is the first stored
    std::uint8_t* line = nullptr;
    auto seekRow = [&] {
        line = row < height ? frame.Pixels.data() + (h.TopDown ? row : height - 1 - row) * width * 3 : nullptr;
    };
    auto put = [&](unsigned index) { std::memcpy(line + 3 * x++, &palette[index * 3], 3); };
    seekRow();
    while (end - p >= 2 && line) {
        const unsigned count = p[0], value = p[1];
        p += 2;
        if (count > 0) {
            for (unsigned k = 0; k < count && x < width; ++k) put(four ? (k % 2 ? value & 15u : value >> 4) : value);
        } else if (value == 0) {
            x = 0;
            ++row;
            seekRow();
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (end - p < 2) break;
            x += p[0];
            row += p[1];
            p += 2;
            seekRow();
        } else {
            const std::size_t used = four ? (value + 1) / 2 : value;
            if (std::size_t(end - p) < used) break;
            for (unsigned k = 0; k < value && x < width; ++k) put(four ? (k % 2 ? p[k / 2] & 15u : p[k / 2] >> 4) : p[k]);
            p += std::min(used + used % 2, std::size_t(end - p));  // stretches keep to 16-bit steps
        }
    }
}

// Uncompressed rows, rowSize bytes each.
void DecodeRows(std::string_view bytes, std::size_t offset, std::size_t rowSize, const THeader& h,
                const TPalette& palette, TFrame& frame)
{
    const auto width = std::size_t(h.Width);
    const auto height = std::size_t(h.Height);
    const TChannel red(h.Masks[0]), green(h.Masks[1]), blue(h.Masks[2]);
    for (std::size_t y = 0; y < height; ++y) {
        const auto* in = reinterpret_cast<const std::uint8_t*>(bytes.data()) + offset +
                         (h.TopDown ? y : height - 1 - y) * rowSize;
        std::uint8_t* out = frame.Pixels.data() + y * width * 3;
        switch (h.BitCount) {
        case 24:
            std::memcpy(out, in, width * 3);
            break;
        case 16:
        case 32:
            for (std::size_t x = 0; x < width; ++x, out += 3) {
                const std::uint32_t pixel = h.BitCount == 16 ? Le16(in + 2 * x) : Le32(in + 4 * x);
                out[0] = blue.Of(pixel);
                out[1] = green.Of(pixel);
                out[2] = red.Of(pixel);
            }
            break;
        default: {
            const int bits = h.BitCount;
            const int perByte = 8 / bits;
            const unsigned mask = (1u << bits) - 1;
            for (std::size_t x = 0; x < width; ++x, out += 3) {
                const int shift = 8 - bits * (1 + int(x % std::size_t(perByte)));
                const unsigned index = (in[x / std::size_t(perByte)] >> shift) & mask;
                std::memcpy(out, &palette[index * 3], 3);
            }
        }
        }
    }
}

} // namespace

TBitmapEx DecodeBmp(std::string_view bytes, const std::string& name)
{
    const THeader h = ReadHeader(bytes, name);
    const auto width = std::size_t(h.Width);
    const auto height = std::size_t(h.Height);
    const std::size_t rowSize = (width * std::size_t(h.BitCount) + 31) / 32 * 4;
    const std::size_t offset = Read32(bytes, 10);
    const bool rle = h.Compression == BiRle8 || h.Compression == BiRle4;
    if (offset > bytes.size() || (!rle && (bytes.size() - offset) / rowSize < height))
        Fail(name, TDecodeFailure::Truncated);

    const TPalette palette = h.BitCount <= 8 ? ReadPalette(bytes, h, offset) : TPalette{};
    std::vector<TFrame> frames(1);
    TFrame& frame = frames[0];
    frame.Width = int(width);
    frame.Height = int(height);
    frame.Pixels.resize(width * height * 3);
    if (rle)
        DecodeRle(bytes, offset, h, palette, frame);
    else
        DecodeRows(bytes, offset, rowSize, h, palette, frame);
    TBitmapEx bitmap;
    bitmap.SetFrames(std::move(frames));
    return bitmap;
}

std::string EncodeBmp(const TBitmapEx& bitmap)
{
    const TFrame& frame = FrameToEncode(bitmap, "");
    const auto width = std::size_t(frame.Width);
    const auto height = std::size_t(frame.Height);
    const std::size_t rowSize = (width * 3 + 3) / 4 * 4;
    const std::size_t imageSize = rowSize * height;
    const std::size_t offset = FileHeaderSize + InfoHeaderSize;

    std::string out;
    out.reserve(offset + imageSize);
    out += "BM";
    Put32(out, std::uint32_t(offset + imageSize));
    Put32(out, 0);
    Put32(out, std::uint32_t(offset));
    Put32(out, InfoHeaderSize);
    Put32(out, std::uint32_t(width));
    Put32(out, std::uint32_t(height));  // positive: bottom-up, which every reader understands
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, BiRgb);
    Put32(out, std::uint32_t(imageSize));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    const std::string padding(rowSize - width * 3, '\0');
    for (std::size_t y = height; y-- > 0;) {
        out.append(reinterpret_cast<const char*>(frame.Pixels.data()) + y * width * 3, width * 3);
        out += padding;
    }
    return out;
}

} // namespace pictor
