#pragma once
#include "document/ChannelLists.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pictor {

enum class TColorForm {
    Attribute,  // the value between an HTML colour attribute's double quotes
    Hex,        // "#..." in style text
    Rgb,        // "rgb(...)" in style text
    Function,   // "rgba(...)", "hsl(...)" or "hsla(...)" in style text, kept as written
    Name,       // a CSS colour name in style text
    Space,      // "oklch(...)", "oklab(...)", "lab(...)", "lch(...)", "hwb(...)" or "color(...)" in style text
};

// What an occurrence is the colour of, as far as pairing text with its background goes.
enum class TColorRole : std::uint8_t {
    Other,
    Foreground,  // "color"; TEXT, LINK, VLINK or ALINK of BODY
    Background,  // "background-color"; BGCOLOR of BODY
    Shorthand,   // "background": a background only when it holds no other colour
};

// How the picture a "data:" URL holds is written in it.
enum class TEmbedding : std::uint8_t { None, Percent, Base64 };

// Where a data: URL's data stands in the walked text (never beyond 4 GiB: no file read is), and how it
// is written. Small: every colour record carries one.
struct TEmbed {
    std::uint32_t Pos = 0;
    std::uint32_t Length = 0;
    TEmbedding Kind = TEmbedding::None;
};

// Where an occurrence stands: the tag or declaration block (named by where it starts in the walked
// text) and the declaration within it. An occurrence inside a data: URL's picture has that URL's data
// as its Embed, and its position and length are in the data as decoded.
struct TColorPlace {
    TColorRole Role = TColorRole::Other;
    std::size_t Group = 0;
    std::size_t Declaration = 0;
    TEmbed Embed;
};

// What the page and style-sheet walks report. Rewriting replaces the occurrences at the positions the
// walk reported, so the k-th occurrence found is the k-th occurrence replaced.
class TScanEvents {
public:
    virtual ~TScanEvents() = default;
    // pos and length in the walked text (0-based); nameIndex into CssNamedColors for TColorForm::Name.
    virtual void ColorFound(std::size_t pos, std::size_t length, TColorForm form, int nameIndex,
                            const TColorPlace& place) = 0;
    // A local picture reference as written (never a URL).
    virtual void PictureFound(std::string_view) {}
    // A linked style sheet's reference as written, and its link's charset attribute, empty when it has
    // none (page only).
    virtual void StyleSheetFound(std::string_view, std::string_view) {}
    // The target of an "@import" outside every rule, as written (URLs left out); leading when no other
    // rule stands before it in its sheet or style block, so that a browser follows it.
    virtual void ImportFound(std::string_view /*target*/, bool /*leading*/) {}
    // A style block's contents, from after its tag's ">" to its end tag (or the end of the text); and
    // where the HEAD tag ends (after its ">"). Page only.
    virtual void StyleBlockFound(std::size_t /*contents*/, std::size_t /*end*/) {}
    virtual void HeadFound(std::size_t /*afterTag*/) {}
    // A custom property whose value is three channels or one (pos and length of the value), and a
    // variable a colour function takes as its three channels: together they make colours once every file
    // is walked.
    virtual void ChannelListFound(std::size_t, std::size_t, std::string_view /*name*/) {}
    virtual void ChannelVariableUsed(std::string_view /*name*/, TChannelReading) {}
    // Variables a colour function takes one channel each, and a custom property that is another. Names
    // and values are views into the walked text.
    virtual void ChannelVariablesUsed(TChannelReading, const TChannelNames&) {}
    virtual void VariableAliasFound(std::string_view /*name*/, std::string_view /*target*/) {}
    // A listener of colours only: the walks then skip the reference tests.
    virtual bool WantsReferences() const { return true; }
};

} // namespace pictor
