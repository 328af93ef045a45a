#pragma once
#include "base/Color.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pictor {

// How a colour function reads a custom property it takes as its three channels through var().
enum class TChannelReading : std::uint8_t { None, Rgb, Hsl, Hwb, Lab, Lch, Oklab, Oklch };

// The reading of the function named (rgba, HSL, oklch...); None for one that takes no channel list.
TChannelReading ChannelReadingOf(std::string_view function);
// Read in a space of its own (oklch(), lab()...): changed in extended sRGB and written in that space.
bool IsSpaceReading(TChannelReading reading);

// A custom property whose value is a list of three channels ("13, 110, 253", "210 40% 50%"): a colour
// only where a colour function takes it.
struct TChannelList {
    std::size_t Pos = 0;  // of the value, in the walked text
    std::uint32_t Length = 0;
    std::string Name;     // "--bs-primary-rgb"
};
// A variable a colour function takes as its channels: rgba(var(--x), .5), rgb(var(--x) / 50%), hsl(var(--x)).
struct TChannelUse {
    std::string Name;
    TChannelReading Reading = TChannelReading::Rgb;
};
// What the walk of one file found of both, kept until every file of the page or site is loaded.
struct TChannelVariables {
    std::vector<TChannelList> Lists;
    std::vector<TChannelUse> Uses;
};

// Where each of the three channels stands in value (white space around it already cut off).
struct TChannelSpans {
    std::size_t From[3];
    std::size_t To[3];
};
// value is a list of three numbers, percentages or angles, separated all by commas or all by white
// space. Allocates nothing: the walk asks it of every custom property.
std::optional<TChannelSpans> ChannelSpans(std::string_view value);

// args: what follows a colour function's "(". The variable a var() standing for all three channels names
// (its alpha, if any, after "/" or one ","); empty when none does.
std::string_view ChannelListVariable(std::string_view args);

// The colour of a channel list as the function reading it paints it; nothing when it would not take it.
std::optional<TColor> ChannelListColor(std::string_view value, TChannelReading reading);
// value with its channels replaced by color's, in value's own separators: whole numbers for rgb, a hue
// and two percentages for hsl, with the decimals that give back color exactly. Not for space readings.
std::string ChannelListText(std::string_view value, TChannelReading reading, TColor color);
// A space reading's list as the function that reads it ("oklch(" value ")"), and back.
std::string ChannelListFunction(std::string_view value, TChannelReading reading);
std::string_view ChannelListOfFunction(std::string_view function);

} // namespace pictor
