#pragma once
#include "document/Elements.h"

#include <string>
#include <string_view>
#include <vector>

namespace pictor {

// A selector's compounds and combinators in one spelling ("nav.a  >li" as "nav.a > li"), and the
// lengths of that spelling's ancestor prefixes: those before a descendant or child combinator.
struct TSelectorChain {
    std::string Text;
    std::vector<std::size_t> Ancestors;
};
TSelectorChain ChainOfSelector(std::string_view selector);

// Text colours paired with the backgrounds of other rules that, by their selectors, paint the element
// itself (the same selector) or an element it stands in (a selector the text's begins with, up to a
// descendant or child combinator): `.navbar.is-dark .navbar-item { color }` on
// `.navbar.is-dark { background-color }`. Pairs within one block are the walk's own (TElements::Pairs).
std::vector<TPairedColors> PairColorsBySelectors(const TElements& file, bool isPage);

} // namespace pictor
