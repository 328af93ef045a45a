#include "document/SelectorScanner.h"

#include "base/AsciiText.h"

namespace pictor {

namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// The length of the escape at pos: a backslash with up to six hex digits and the one white space that
// ends them ("\31 0" is "10"), else with the one character it escapes.
std::size_t EscapeLength(std::string_view text, std::size_t pos)
{
    std::size_t end = pos + 1;
    while (end < text.size() && end - pos <= 6 && IsHexDigit(text[end])) ++end;
    if (end == pos + 1) return end < text.size() ? 2 : 1;
    if (end < text.size() && text.compare(end, 2, "\r\n") == 0) return end + 2 - pos;
    if (end < text.size() && IsCssSpace(text[end])) ++end;
    return end - pos;
}

} // namespace

std::optional<TSelectorStep> TSelectorScanner::Next()
{
    if (Pos_ >= Text_.size()) return std::nullopt;
    TSelectorStep step{Pos_, 1, Quote_ == 0 && Depth_ == 0};
    const char c = Text_[Pos_];
    if (c == '\\') {
        step.Length = EscapeLength(Text_, Pos_);
        step.Plain = false;
    } else if (Quote_) {
        if (c == Quote_) Quote_ = 0;
    } else if (c == '"' || c == '\'') {
        Quote_ = c;
    } else if (c == '(' || c == '[') {
        ++Depth_;
    } else if ((c == ')' || c == ']') && Depth_ > 0) {
        --Depth_;
    }
    Pos_ += step.Length;
    return step;
}

} // namespace pictor
