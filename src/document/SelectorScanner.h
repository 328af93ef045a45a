#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace pictor {

// One step through a selector: a character, or an escape with what it escapes ("\:", "\31 ").
struct TSelectorStep {
    std::size_t Pos = 0;
    std::size_t Length = 1;
    // Outside strings, parentheses and brackets (an opening one is still outside) and no escape: a
    // character that may split the selector (a comma, a combinator, the start of a simple selector).
    bool Plain = false;
};

// Walks a selector's text a step at a time, keeping track of strings, parentheses and brackets.
class TSelectorScanner {
public:
    explicit TSelectorScanner(std::string_view text) : Text_(text) {}
    std::optional<TSelectorStep> Next();

private:
    std::string_view Text_;
    std::size_t Pos_ = 0;
    int Depth_ = 0;
    char Quote_ = 0;
};

} // namespace pictor
