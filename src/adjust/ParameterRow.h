#pragma once
#include <optional>
#include <string_view>

namespace pictor {

// How a dialog row's text box, track bar and arrow pair agree on one whole-number parameter.
struct TRowRange {
    int Min = 0;
    int Max = 0;
    bool Contains(int v) const { return Min <= v && v <= Max; }
    int Clamp(int v) const { return v < Min ? Min : (v > Max ? Max : v); }
};

// An optional sign followed by decimal digits, fitting an int; nothing else converts.
std::optional<int> ParseWholeNumber(std::string_view text);

// The first line of a text box as a number; text that does not convert (empty, a lone minus) reads 0.
int RowTextValue(std::string_view text);

// Where typed text moves the track bar; nothing when the value is out of range.
std::optional<int> TypedPosition(std::string_view text, TRowRange range);

// What one click of the arrows writes into the text box: the shown number stepped, without wrap-around.
int SteppedValue(std::string_view text, int delta, TRowRange range);

} // namespace pictor
