#include "adjust/ParameterRow.h"

#include <charconv>

namespace pictor {

std::optional<int> ParseWholeNumber(std::string_view text)
{
    // from_chars takes a minus but not a plus; "+-5" is no number.
    const bool plus = !text.empty() && text.front() == '+';
    if (plus) text.remove_prefix(1);
    if (plus && !text.empty() && text.front() == '-') return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

int RowTextValue(std::string_view text)
{
    text = text.substr(0, text.find_first_of("\r\n"));
    return ParseWholeNumber(text).value_or(0);
}

std::optional<int> TypedPosition(std::string_view text, TRowRange range)
{
    const int value = RowTextValue(text);
    if (!range.Contains(value)) return std::nullopt;
    return value;
}

int SteppedValue(std::string_view text, int delta, TRowRange range)
{
    return range.Clamp(range.Clamp(RowTextValue(text)) + delta);
}

} // namespace pictor
