#pragma once
// Turns a 24-bit frame into what a GIF image holds: at most 256 palette entries and one index a pixel.
#include "picture/BitmapEx.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pictor {

struct TIndexedFrame {
    std::vector<std::array<std::uint8_t, 3>> Palette;  // red, green, blue; at most 256 entries
    std::vector<std::uint8_t> Indices;                  // Width * Height, rows from the top
    int TransparentIndex = -1;                          // -1: every pixel opaque
};

// Pixels whose alpha is below half count as transparent. A frame with few enough colours keeps them
// exactly; any other is quantised with Floyd-Steinberg dithering.
TIndexedFrame ToIndexedFrame(const TFrame& frame, const std::string& nameForErrors);

} // namespace pictor
