#pragma once
#include "document/CssOutline.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace pictor {

// A span of the text and what stands there in the dark scheme.
struct TReplacement {
    std::size_t Pos = 0, Length = 0;
    std::string_view Text;
};
using TReplacements = std::vector<TReplacement>; // in order of Pos

// text[from, to) with the replacements inside it in place.
void AppendReplaced(std::string& out, std::string_view text, std::size_t from, std::size_t to,
                    const TReplacements& all);

// A sheet, or a page's style block, and its outline.
struct TStyleText {
    std::size_t From = 0, To = 0;
    TCssOutline Outline;
};

// A declaration's property, lower case.
std::string PropertyName(std::string_view text, const TCssDeclaration& declaration);

// The rules a sheet or style block repeats for the dark scheme: every block holding a declaration held,
// inside its ancestors; a @keyframes block whole, since a later one of its name replaces it entirely.
class TSchemeBlock {
public:
    TSchemeBlock(std::string_view text, const TCssOutline& outline, const TReplacements& replacements);

    // The declaration that holds [pos, pos + length); false when none does. One under a
    // prefers-color-scheme query is the site's own scheme and stays as it is.
    bool Hold(std::size_t pos, std::size_t length);
    // Every other declaration of a property whose family (background, border, color...) a held one
    // sets: `background-color: transparent` or `color: inherit` after a repeated colour wins in the dark
    // scheme too only when it is repeated after it.
    void HoldFamilies();

    bool Held(int d) const { return Held_[size_t(d)]; }
    // A declaration to stand right after the held declaration d.
    void Follow(int d, std::string declaration) { Following_[d] = std::move(declaration); }

    int Declarations() const;
    // The held declarations in their rules, with the replacements in place; empty when none is held.
    std::string Rules() const;

private:
    using TItems = std::vector<std::vector<std::pair<std::size_t, int>>>;

    void HoldDeclaration(int d);
    std::string Family(int d) const;
    std::string_view Prelude(int b) const;
    void Emit(int b, const TItems& items, std::string& out) const;

    std::string_view Text_;
    const TCssOutline& Outline_;
    const TReplacements& Replacements_;
    std::vector<bool> Held_; // by declaration
    std::vector<bool> Needed_, Whole_;
    std::map<int, std::string> Following_;
};

} // namespace pictor
