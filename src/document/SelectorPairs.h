#pragma once
#include "document/Elements.h"

#include <string>
#include <string_view>
#include <vector>

namespace pictor {

// A selector's compounds and combinators in one spelling ("nav.a  >li" as "nav.a > li"), the lengths
// of that spelling's ancestor prefixes (those before a descendant or child combinator) and where each
// compound starts.
struct TSelectorChain {
    std::string Text;
    std::vector<std::size_t> Ancestors;
    std::vector<std::size_t> Compounds;
};
TSelectorChain ChainOfSelector(std::string_view selector);
// A compound's simple selectors ("a.b:hover" as "a", ".b", ":hover"), sorted.
std::vector<std::string_view> SimpleSelectors(std::string_view compound);

// Text colours paired with the backgrounds of other rules that, by their selectors, paint the element
// itself or an element it stands in: the text's selector, or the part of it before a descendant or
// child combinator, with a background's selector that matches the same elements or some of them (the
// same compounds before, and a last compound with no simple selector more than it, or no fewer):
// `.navbar.is-dark .navbar-item { color }` on `.navbar.is-dark { background-color }`,
// `.button.is-link.is-focused { color }` on `.button.is-link { background-color }` and the other way
// round. Pairs within one block are the walk's own (TElements::Pairs). And each background that no text
// is so paired with, under the page's own text (the last colour of body, html or :root), when the file
// gives one: a utility class's `.bg-success { background-color }` under `body { color }`.
// Colours a declaration takes through var() take part as the records of the custom properties it names
// (defined in its own block, else in the root's), with the alpha of the use, and pair within one block
// too: `:root { background-color: var(--b1); color: var(--bc) }`. Such a text with an alpha of its own
// use that stands on nothing the selectors show (`.text-primary\/70 { color: oklch(var(--p) / .7) }`) is
// listed apart: it stands, most likely, on the page's background.
struct TTextOnPage {
    std::size_t Record = 0;
    std::uint8_t Alpha = 255;
};
struct TSelectorPairs {
    std::vector<TPairedColors> Pairs;
    std::vector<TPairedColors> UnderPageText;
    std::vector<TTextOnPage> OnPage;
    std::vector<TTextOnPage> PageText; // the page's own text
    // The elements, lower case, a rule gives `color: inherit` (normalize.css's `button, input`): those that
    // paint the page's text on a ground of the browser's own.
    std::vector<std::string> TextInheritedBy;
};
TSelectorPairs PairColorsBySelectors(const TElements& file, bool isPage);

} // namespace pictor
