#include "app/model/ColorSource.h"

#include "app/model/SourceExcerpt.h"
#include "base/AsciiText.h"
#include "document/DocumentText.h"
#include "document/HtmlStructure.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <utility>

namespace pictor {

namespace {

struct TFound {
    std::size_t Row = 0;     // in walk order
    std::size_t Record = 0;  // the file's colour record it is: channel lists stand among them
    std::size_t Pos = 0;
    bool Attribute = false;
    TColorPlace Place;
};

class TPlaces : public TScanEvents {
public:
    void ColorFound(std::size_t pos, std::size_t, TColorForm form, int, const TColorPlace& place) override
    {
        Found.push_back({Found.size(), 0, pos, form == TColorForm::Attribute, place});
    }
    bool WantsReferences() const override { return false; }

    std::vector<TFound> Found;
};

// A rule, style attribute or tag of the file: its key and the colours it declares.
struct TGroup {
    std::string Key;
    std::vector<TFound> Colours;
};

bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

// What a selector or value is, however the browser and the file write it: without case, spaces, quotes
// and comments, with "::" as ":".
std::string KeyOf(std::string_view text)
{
    std::string key;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            const std::size_t close = text.find("*/", i + 2);
            if (close == std::string_view::npos) break;
            i = close + 1;
            continue;
        }
        const bool dropped = c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '"' || c == '\'' ||
                             (c == ':' && !key.empty() && key.back() == ':');
        if (!dropped) key += LowerAscii(c);
    }
    return key;
}

// The selector of the rule whose declarations start at `block`, just after its "{": back to the end of
// what stands before it, a comment or the page's STYLE tag.
std::string_view SelectorBefore(std::string_view text, std::size_t block)
{
    const std::size_t brace = block - 1;
    std::size_t from = text.find_last_of("{};", brace == 0 ? 0 : brace - 1);
    from = from == std::string_view::npos || brace == 0 ? 0 : from + 1;
    for (std::size_t i = brace; i > from; --i)
        if (text[i - 1] == '<' && MatchesNoCase(text, i - 1, "<STYLE")) {
            const std::size_t close = text.find('>', i);
            if (close < brace) from = close + 1;
            break;
        }
    if (const std::size_t end = text.substr(from, brace - from).rfind("*/"); end != std::string_view::npos)
        from += end + 2;
    std::string_view selector = text.substr(from, brace - from);
    if (from == 0 && selector.starts_with("\xEF\xBB\xBF")) selector.remove_prefix(3);
    // A STYLE element's text may hide in an HTML comment.
    for (std::string_view mark : {"<!--", "-->"}) {
        const std::size_t at = selector.find(mark);
        if (at != std::string_view::npos && selector.find_first_not_of(" \t\r\n") == at)
            selector.remove_prefix(at + mark.size());
    }
    return selector;
}

// A style attribute's declarations are grouped at its value's first character, just after the quote; a
// declaration block's just after its "{".
bool InStyleAttribute(const TElements& file, const TFound& found)
{
    return !found.Attribute && found.Place.Group > 0 && file.Text[found.Place.Group - 1] == '"';
}

// A style attribute's value as the preview's file writes it, in UTF-8: to its closing quote. `first` is
// the attribute's first occurrence: nothing between the value's start and it has moved.
std::string StyleValue(const TElements& file, std::size_t group, const TColorRecord& first)
{
    const std::string_view text = file.CurrentText();
    const std::size_t from = std::min(std::size_t(first.Pos - 1) - (first.SourcePos - group), text.size());
    const std::size_t close = text.find('"', from);
    return DisplayText(text.substr(from, (close == std::string_view::npos ? text.size() : close) - from),
                       file.IsUtf8());
}

// The name of the tag starting at `<`, or of the attribute ending at `end`, in lower case.
std::string TagName(std::string_view text, std::size_t start)
{
    std::string name;
    for (std::size_t i = start + 1; i < text.size() && IsNameChar(text[i]); ++i) name += LowerAscii(text[i]);
    return name;
}
std::string AttributeName(std::string_view text, std::size_t end)
{
    std::size_t from = end;
    while (from > 0 && IsNameChar(text[from - 1])) --from;
    std::string name(text.substr(from, end - from));
    std::transform(name.begin(), name.end(), name.begin(), LowerAscii);
    return name;
}

// The groups of the file that may hold the declaration, in document order, each with the colours that
// could be it; none when the decoder gives no answer.
std::vector<TGroup> GroupsOf(const TElements& file, bool isPage, const TColorSource& source,
                             const TAttributeDecoder& decode)
{
    TPlaces places;
    WalkFile(file, isPage, places);
    for (TFound& found : places.Found)
        found.Record = std::size_t(std::lower_bound(file.Colors.begin(), file.Colors.end(), found.Pos,
                                                    [](const TColorRecord& r, std::size_t pos) { return r.SourcePos < pos; }) -
                                   file.Colors.begin());
    std::map<std::size_t, TGroup> groups;
    std::size_t first = 0;  // the group's first occurrence, whatever it is the colour of
    for (const TFound& found : places.Found) {
        const std::size_t at = found.Place.Group;
        if (found.Row == 0 || at != places.Found[found.Row - 1].Place.Group) first = found.Record;
        if (source.Kind == TColorSource::Attribute) {
            // A repeated attribute: the first is the one a browser takes.
            if (!found.Attribute || TagName(file.Text, at) != source.Tag ||
                AttributeName(file.Text, found.Place.Declaration) != source.Name || groups.contains(at))
                continue;
            groups[at] = {KeyOf(file.Colors.at(found.Record).Text), {found}};
            continue;
        }
        const bool styleAttribute = source.Kind == TColorSource::StyleAttribute;
        if (found.Attribute || found.Place.Role != TColorRole::Foreground ||
            InStyleAttribute(file, found) != styleAttribute)
            continue;
        auto [group, added] = groups.try_emplace(at);
        if (added)
            group->second.Key = styleAttribute ? StyleValue(file, at, file.Colors.at(first))
                                               : KeyOf(DisplayText(SelectorBefore(file.Text, at), file.IsUtf8()));
        group->second.Colours.push_back(found);
    }
    std::vector<TGroup> ordered;
    for (auto& [at, group] : groups) ordered.push_back(std::move(group));
    if (source.Kind != TColorSource::StyleAttribute) return ordered;
    // Style attributes are keyed by their values as the browser reads them, all decoded at once.
    std::vector<std::string> values;
    for (const TGroup& group : ordered) values.push_back(group.Key);
    values = decode(values);
    if (values.size() != ordered.size()) return {};
    for (std::size_t i = 0; i < ordered.size(); ++i) ordered[i].Key = KeyOf(values[i]);
    return ordered;
}

int TabOfSheet(const THtmlStructure& doc, const std::string& sheet)
{
    if (sheet.empty()) return 0;
    namespace fs = std::filesystem;
    for (int i = 0; i < doc.SheetCount(); ++i) {
        std::error_code error;
        for (const std::string& path : {doc.GetSheetWorkFile(i), doc.GetSheetFile(i)})
            if (path == sheet || fs::equivalent(path, sheet, error)) return i + 1;
    }
    return -1;
}

} // namespace

std::optional<TRecordAt> RecordOfSource(const THtmlStructure& doc, const TColorSource& source,
                                        const TAttributeDecoder& decode)
{
    if (source.Kind == TColorSource::Nothing || source.Index >= source.Candidates.size()) return std::nullopt;
    const int tab = source.Kind == TColorSource::Rule ? TabOfSheet(doc, source.Sheet) : 0;
    if (tab < 0) return std::nullopt;
    const TElements& file = doc.Elements(tab);
    const std::string key = KeyOf(source.Candidates[source.Index]);
    std::size_t nth =
        std::size_t(std::count_if(source.Candidates.begin(), source.Candidates.begin() + std::ptrdiff_t(source.Index),
                                  [&](const std::string& candidate) { return KeyOf(candidate) == key; }));
    for (const TGroup& group : GroupsOf(file, tab == 0, source, decode)) {
        if (group.Key != key || nth-- > 0) continue;
        // The last colour of the block is the one a browser takes; one of the colour shown, if any, was
        // taken over it for its !important.
        const auto shown = std::find_if(group.Colours.rbegin(), group.Colours.rend(), [&](const TFound& found) {
            return file.Colors.at(found.Record).Color == source.Color;
        });
        const TFound& found = shown != group.Colours.rend() ? *shown : group.Colours.back();
        if (!file.Colors.at(found.Record).Tickable()) return std::nullopt;
        return TRecordAt{tab, found.Record};
    }
    return std::nullopt;
}

std::string SourcePlace(const THtmlStructure& doc, const TColorSource& source)
{
    namespace fs = std::filesystem;
    if (source.Kind == TColorSource::Nothing) return {};
    const int tab = source.Kind == TColorSource::Rule ? TabOfSheet(doc, source.Sheet) : 0;
    const fs::path file = tab >= 0 ? fs::path(doc.Elements(tab).Path) : fs::path(source.Sheet).filename();
    const std::string where = file.lexically_relative(fs::path(doc.FileName()).parent_path()).generic_string() + ": ";
    switch (source.Kind) {
    case TColorSource::Rule:
        return where + (source.Index < source.Candidates.size() ? source.Candidates[source.Index] : std::string());
    case TColorSource::StyleAttribute: return where + "style 属性";
    default: return where + "<" + source.Tag + " " + source.Name + ">";
    }
}

} // namespace pictor
