#pragma once
#include "adjust/Adjustment.h"
#include "adjust/SchemeBlock.h"

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace pictor {

class IFileSet;

// A colour made of one-channel variables (hsl(var(--h), var(--s), var(--l))) takes its channels as each
// element's rules give them, so no one dark value of a lightness variable keeps every colour it is part
// of on the mirror, nor any hue. Where the browser takes relative colours, each such call is made the
// origin of an oklch() whose lightness the browser mirrors, and the variables keep their light values.
// A lightness contrast moved travels beside its variable, in a custom property of its own.
constexpr std::string_view RelativeColorSupport = "@supports (color: oklch(from red l c h)) {\n";

// The custom properties ticked one-channel records are, and every custom property that is one of them
// (--button-l: var(--primary-l)); views into the files' texts. styles: each file's sheet or style blocks.
using TVariableNames = std::unordered_set<std::string_view>;
struct TTickedChannels {
    TVariableNames Any;       // any channel
    TVariableNames Lightness; // an hsl() lightness
};
TTickedChannels TickedChannelVariables(const IFileSet& files, const std::vector<std::vector<TStyleText>>& styles);

// The custom property that carries the dark lightness contrast moved a lightness variable to.
std::string NudgedName(std::string_view lightnessVariable);
// The oklch lightness (0 to 1) contrast moved a ticked hsl() lightness variable's dark value to, off the
// mirror; nothing where the mirror holds.
std::optional<double> NudgedLightness(const TColorRecord& light, std::string_view darkText, const TAdjustment& dark,
                                      bool lowerCase);

// The calls of hsl() and rgb() in the style text that read one of the ticked variables as a channel,
// each made the origin of an oklch() of mirrored lightness, or of the lightness its variable was
// nudged to; texts holds what they are replaced by.
TReplacements RelativeDarkCalls(std::string_view text, const TStyleText& style, bool utf8,
                                const TTickedChannels& ticked, const TDarkEnds& ends, std::deque<std::string>& texts);

} // namespace pictor
