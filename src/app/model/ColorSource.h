#pragma once
#include "base/Color.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pictor {

class THtmlStructure;

// The declaration that gives an element of the preview its text colour, as the browser's cascade chose
// it, told by what the browser can see: the rule, style attribute or colour attribute among its like.
// The browser's list of those (Candidates) is matched to the files' own by the k-th of the same key, so
// that a rule or tag the browser dropped or the walk did not see only troubles the ones written alike.
struct TColorSource {
    enum TKind { Nothing, Rule, StyleAttribute, Attribute };
    TKind Kind = Nothing;
    // Rule: the linked or imported sheet it is in, as the path of the file the preview showed; empty
    // for the page's own style elements.
    std::string Sheet;
    // Attribute: the element's name ("font", "body") and the attribute's ("color", "text", "link").
    std::string Tag, Name;
    // In document order: Rule, the selectors of the rules of that sheet (or of all the page's style
    // elements) that declare a colour; StyleAttribute, the style attributes of the page's elements;
    // Attribute, the values of that attribute on elements of that name.
    std::vector<std::string> Candidates;
    std::size_t Index = 0;  // the declaration's own among Candidates
    TColor Color = 0;       // the colour it gives
};

struct TRecordAt {
    int Tab = 0;
    std::size_t Row = 0;
    bool operator==(const TRecordAt&) const = default;
};

// Double-quoted attribute values as a page writes them, in UTF-8, read as the browser reads them
// (character references replaced): one answer for each, or none when the browser gives none.
using TAttributeDecoder = std::function<std::vector<std::string>(const std::vector<std::string>& values)>;

// The colour record that is that declaration's colour: none when it is not one of them.
std::optional<TRecordAt> RecordOfSource(const THtmlStructure& doc, const TColorSource& source,
                                        const TAttributeDecoder& decode);

// Where the declaration stands, for the reader: its file below the page's folder and the rule's selector,
// "style 属性" or the attribute ("<font color>"); empty for Nothing.
std::string SourcePlace(const THtmlStructure& doc, const TColorSource& source);

} // namespace pictor
