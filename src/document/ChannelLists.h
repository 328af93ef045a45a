#pragma once
#include "base/Color.h"

#include <cstddef>
#include <array>
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

// What a custom property stands for in the colour functions that take it through var().
struct TChannelRole {
    TChannelReading Reading = TChannelReading::None;
    std::int8_t Channel = -1;  // -1: all three channels; else the one it is, as in hsl(var(--h), var(--s), var(--l))
    bool Delta = false;        // added to that channel: calc(var(--l) + var(--delta))
    bool operator==(const TChannelRole&) const = default;
};

// A stretch of the walked text: a variable's name, a value.
struct TTextSpan {
    std::uint32_t Pos = 0;
    std::uint32_t Length = 0;
    bool Empty() const { return Length == 0; }
    std::string_view In(std::string_view text) const { return text.substr(Pos, Length); }
};

// A custom property whose value is a list of three channels ("13, 110, 253", "210 40% 50%") or one
// ("171deg", "41%"): a colour only where a colour function takes it.
struct TChannelList {
    TTextSpan Value;
    TTextSpan Name;  // "--bs-primary-rgb"
};
// The variables a colour function takes as its channels: one for all three (Whole: Names[0]), as in
// rgba(var(--x), .5), or one each, as in hsl(var(--h), var(--s), calc(var(--l) + var(--d))); and numbers
// added to a channel, calc(var(--l) + 5%).
struct TChannelUse {
    TChannelReading Reading = TChannelReading::Rgb;
    bool Whole = true;
    std::array<TTextSpan, 3> Names;
    std::array<TTextSpan, 3> Deltas;
    std::array<TTextSpan, 3> Literals;
    std::uint8_t Alpha = 255;  // of a whole list: rgba(var(--x), .65)
};
// A custom property that is another: "--bs-link-color-rgb: var(--bs-link-hover-color-rgb)".
struct TVariableAlias {
    TTextSpan Name;
    TTextSpan Target;
};
// What the walk of one file found of these, in its text, kept until every file of the page or site is
// loaded.
struct TChannelVariables {
    std::vector<TChannelList> Lists;
    std::vector<TChannelUse> Uses;
    std::vector<TVariableAlias> Aliases;
};

// The names of a function's one-channel variables, views into args; nothing when none is one.
struct TChannelNames {
    std::string_view Names[3];
    std::string_view Deltas[3];
    std::string_view Literals[3];  // a number in place of a delta
};
std::optional<TChannelNames> SingleChannelVariables(std::string_view args);
// value is one number, percentage or angle.
bool IsSingleChannel(std::string_view value);
// The variable value is no more than: "var(--y)" gives "--y"; empty otherwise.
std::string_view AliasedVariable(std::string_view value);

// Where each of the three channels stands in value (white space around it already cut off).
struct TChannelSpans {
    std::size_t From[3];
    std::size_t To[3];
};
// value is a list of three numbers, percentages or angles, separated all by commas or all by white
// space. Allocates nothing: the walk asks it of every custom property.
std::optional<TChannelSpans> ChannelSpans(std::string_view value);

// args: what follows a colour function's "(". The variable a var() standing for all three channels names
// and the alpha after it ("/ 50%", ", .65"), as written; an empty name when no var() so stands.
struct TChannelListUse {
    std::string_view Name;
    std::string_view Alpha;
};
TChannelListUse ChannelListVariable(std::string_view args);

// The colour of a channel list as the function reading it paints it; nothing when it would not take it.
std::optional<TColor> ChannelListColor(std::string_view value, TChannelReading reading);
// value with its channels replaced by color's, in value's own separators: whole numbers for rgb, a hue
// and two percentages for hsl, with the decimals that give back color exactly. Not for space readings.
std::string ChannelListText(std::string_view value, TChannelReading reading, TColor color);
// A space reading's list as the function that reads it ("oklch(" value ")"), and back.
std::string ChannelListFunction(std::string_view value, TChannelReading reading);
std::string_view ChannelListOfFunction(std::string_view function);

// A channel an invert mirrors (a lightness, an rgb channel), so that what is added to it is negated.
bool MirroredByInvert(TChannelRole role);
// A one-channel variable's value inverted exactly, in its own unit and decimals: a hue turned half round,
// a lightness or an rgb channel mirrored, and their deltas negated; a saturation as it is.
std::string InvertedChannelText(std::string_view value, TChannelRole role);
// Hue (degrees), saturation and lightness (percentages) of color.
std::array<double, 3> HslOf(TColor color);
// The number a one-channel value holds, in its own unit; and the value with another number in its place,
// in that unit, with its decimals and at least two.
std::optional<double> ChannelNumber(std::string_view value);
// A hue channel's value in degrees, whatever its unit.
std::optional<double> HueDegrees(std::string_view value);
std::string WithChannelNumber(std::string_view value, double number);
// A number with at most `decimals` decimals and no trailing zeros.
std::string Decimal(double value, int decimals);
// The value made color's channel of its role, in its own unit; a delta as it is.
std::string ChannelText(std::string_view value, TChannelRole role, TColor color);

} // namespace pictor
