#pragma once
#include "document/CssOutline.h"
#include "document/Elements.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pictor {

// A colour a declaration paints through a custom property: the record the property's value holds, with
// the alpha the use's colour function gives it (oklch(var(--su) / .8)).
struct TVariableColor {
    std::size_t Record = 0;
    std::uint8_t Alpha = 255;
};

// The custom properties a style text defines, and what their uses paint with.
class TVariableColors {
public:
    // rootBlocks: per block of outline, whether it styles the root (:root, html, body) as the page is
    // read in any scheme.
    TVariableColors(const TElements& file, const TCssOutline& outline, std::vector<bool> rootBlocks);

    // The records the var() references of declaration d paint with: a property's definitions in d's
    // own block, else in the root's, followed through the properties a value holding no colour is built
    // of (`--text: hsl(var(--text-h), var(--text-s), var(--text-l))`). Only records that decide a colour's
    // lightness: whole colours and channel lists, hsl() lightness variables.
    std::vector<TVariableColor> Of(std::size_t d) const;

private:
    void Collect(std::string_view value, int block, std::uint8_t alpha, int depth, std::vector<TVariableColor>& out) const;
    void Resolve(std::string_view name, int block, std::uint8_t alpha, int depth, std::vector<TVariableColor>& out) const;

    const TElements& File_;
    const TCssOutline& Outline_;
    std::vector<bool> RootBlocks_;
    std::unordered_multimap<std::string_view, std::size_t> Definitions_;  // name -> declaration
    std::vector<std::pair<std::size_t, std::size_t>> Records_;            // (place, record), in order of place
};

// A declaration's property name and value, as written (white space around them cut off).
std::string_view DeclarationName(std::string_view text, const TCssDeclaration& d);
std::string_view DeclarationValue(std::string_view text, const TCssDeclaration& d);

} // namespace pictor
