#pragma once
#include <cstddef>
#include <string_view>

namespace pictor {

enum class TColorForm {
    Attribute,  // the value between an HTML colour attribute's double quotes
    Hex,        // "#..." in style text
    Rgb,        // "rgb(...)" in style text
    Function,   // "rgba(...)", "hsl(...)" or "hsla(...)" in style text, kept as written
    Name,       // a CSS colour name in style text
};

// What the page and style-sheet walks report. Rewriting replaces the occurrences at the positions the
// walk reported, so the k-th occurrence found is the k-th occurrence replaced.
class TScanEvents {
public:
    virtual ~TScanEvents() = default;
    // pos and length in the walked text (0-based); nameIndex into CssNamedColors for TColorForm::Name.
    virtual void ColorFound(std::size_t pos, std::size_t length, TColorForm form, int nameIndex) = 0;
    // A local picture reference as written (never a URL).
    virtual void PictureFound(std::string_view) {}
    // A linked style sheet's reference as written (page only).
    virtual void StyleSheetFound(std::string_view) {}
    // A listener of colours only: the walks then skip the reference tests.
    virtual bool WantsReferences() const { return true; }
};

} // namespace pictor
