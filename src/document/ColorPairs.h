#pragma once
#include "document/DocumentText.h"
#include "document/HtmlStructure.h"

#include <cstddef>
#include <vector>

namespace pictor {

// A text colour and its background declared together, as indices into the file's colour records,
// with their contrast ratio as found and as the records hold them now.
struct TColorPair {
    std::size_t Foreground = 0;
    std::size_t Background = 0;
    double Before = 0;
    double After = 0;
    int ForegroundAlpha = 255, BackgroundAlpha = 255;  // as painted: the record's, or its use's when lower
    bool SharedBackground = false;
};

// The pairs of one file from what its walk placed: TEXT, LINK, VLINK and ALINK of a BODY tag, each
// with its BGCOLOR; in a declaration block or style attribute, its "color" with its
// "background-color", or with a "background" that holds exactly one colour (the last of each, as a
// browser takes them).
std::vector<TPairedColors> PairPlacedColors(std::vector<TPlacedColor> placed);

// The file's pairs with their ratios; colours a browser ignores take no part.
std::vector<TColorPair> FindColorPairs(const TElements& file);
// The same for pairs found otherwise.
std::vector<TColorPair> RatePairs(const TElements& file, const std::vector<TPairedColors>& pairs);

} // namespace pictor
