#include "picture/GifPalette.h"

#include "base/FailureReasons.h"
#include "base/PictorError.h"

#include <algorithm>
#include <memory>

#include <libimagequant.h>

namespace pictor {

namespace {

constexpr std::uint8_t OpaqueFrom = 128;
constexpr std::size_t MaxColors = 256;

struct TLiqDeleter {
    void operator()(liq_attr* attr) const { liq_attr_destroy(attr); }
    void operator()(liq_image* image) const { liq_image_destroy(image); }
    void operator()(liq_result* result) const { liq_result_destroy(result); }
};

bool IsTransparent(const TFrame& frame, std::size_t i)
{
    return !frame.Alpha.empty() && frame.Alpha[i] < OpaqueFrom;
}

// Open addressing with four slots a colour keeps probes short, and the table lives on the stack.
bool TryExactPalette(const TFrame& frame, bool transparent, TIndexedFrame& out)
{
    constexpr std::uint32_t Unused = 0xFFFFFFFF;
    constexpr std::uint32_t SlotMask = 1023;
    std::array<std::uint32_t, SlotMask + 1> keys;
    std::array<std::uint8_t, SlotMask + 1> indices{};
    keys.fill(Unused);
    out.Palette.clear();
    out.Palette.reserve(MaxColors);
    out.TransparentIndex = -1;
    if (transparent) {
        out.Palette.push_back({0, 0, 0});
        out.TransparentIndex = 0;
    }

    const std::uint8_t* pixel = frame.Pixels.data();
    std::uint32_t lastKey = Unused;
    std::uint8_t lastIndex = 0;
    for (std::size_t i = 0; i < out.Indices.size(); ++i, pixel += 3) {
        if (IsTransparent(frame, i)) {
            out.Indices[i] = 0;
            continue;
        }
        const std::uint32_t key = std::uint32_t(pixel[0]) | std::uint32_t(pixel[1]) << 8 | std::uint32_t(pixel[2]) << 16;
        if (key != lastKey) {
            std::uint32_t slot = (key * 2654435761u) >> 22;
            while (keys[slot] != key && keys[slot] != Unused)
                slot = (slot + 1) & SlotMask;
            if (keys[slot] == Unused) {
                if (out.Palette.size() == MaxColors)
                    return false;
                keys[slot] = key;
                indices[slot] = std::uint8_t(out.Palette.size());
                out.Palette.push_back({pixel[2], pixel[1], pixel[0]});
            }
            lastKey = key;
            lastIndex = indices[slot];
        }
        out.Indices[i] = lastIndex;
    }
    return true;
}

void Quantise(const TFrame& frame, bool transparent, TIndexedFrame& out, const std::string& name)
{
    std::vector<liq_color> rgba(out.Indices.size());
    const std::uint8_t* pixel = frame.Pixels.data();
    for (std::size_t i = 0; i < rgba.size(); ++i, pixel += 3)
        rgba[i] = IsTransparent(frame, i) ? liq_color{0, 0, 0, 0} : liq_color{pixel[2], pixel[1], pixel[0], 255};

    const std::string cannotQuantise = EncodeFailureText("GIF", "色を 256 色に減らせません");
    std::unique_ptr<liq_attr, TLiqDeleter> attr(liq_attr_create());
    if (!attr || liq_set_max_colors(attr.get(), int(MaxColors)) != LIQ_OK)
        throw TPictorError(name, cannotQuantise);
    std::unique_ptr<liq_image, TLiqDeleter> image(
        liq_image_create_rgba(attr.get(), rgba.data(), frame.Width, frame.Height, 0));
    if (!image)
        throw TPictorError(name, cannotQuantise);
    liq_result* quantised = nullptr;
    if (liq_image_quantize(image.get(), attr.get(), &quantised) != LIQ_OK)
        throw TPictorError(name, cannotQuantise);
    std::unique_ptr<liq_result, TLiqDeleter> result(quantised);
    liq_set_dithering_level(result.get(), 1.0f);
    if (liq_write_remapped_image(result.get(), image.get(), out.Indices.data(), out.Indices.size()) != LIQ_OK)
        throw TPictorError(name, cannotQuantise);

    // The palette is final only after remapping. Every see-through entry folds into one transparent index.
    const liq_palette* palette = liq_get_palette(result.get());
    std::array<std::uint8_t, MaxColors> fold{};
    bool folded = false;
    out.Palette.clear();
    out.TransparentIndex = -1;
    for (unsigned k = 0; k < palette->count; ++k) {
        const liq_color& entry = palette->entries[k];
        fold[k] = std::uint8_t(k);
        if (transparent && entry.a < OpaqueFrom) {
            if (out.TransparentIndex < 0)
                out.TransparentIndex = int(k);
            fold[k] = std::uint8_t(out.TransparentIndex);
            folded = folded || fold[k] != k;
        }
        out.Palette.push_back({entry.r, entry.g, entry.b});
    }
    if (folded)
        for (std::uint8_t& index : out.Indices)
            index = fold[index];
}

} // namespace

TIndexedFrame ToIndexedFrame(const TFrame& frame, const std::string& name)
{
    const bool transparent =
        std::any_of(frame.Alpha.begin(), frame.Alpha.end(), [](std::uint8_t a) { return a < OpaqueFrom; });
    TIndexedFrame out;
    out.Indices.resize(std::size_t(frame.Width) * std::size_t(frame.Height));
    if (!TryExactPalette(frame, transparent, out))
        Quantise(frame, transparent, out, name);
    return out;
}

} // namespace pictor
