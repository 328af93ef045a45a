#include "encoding/DeclaredCharCode.h"

#include "base/AsciiText.h"
#include "encoding/GuessCharCode.h"

#include <algorithm>

namespace pictor {

namespace {

constexpr std::size_t MetaSearchLength = 1024;

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}


bool IsAnyOf(std::string_view name, std::initializer_list<std::string_view> upperNames)
{
    return std::any_of(upperNames.begin(), upperNames.end(), [&](std::string_view n) { return EqualsNoCase(name, n); });
}

TReadCharCode ByteOrderMark(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) return {ccUtf8, {}};
    if (bytes.starts_with("\xFF\xFE")) return {ccUtf16LE, {}};
    if (bytes.starts_with("\xFE\xFF")) return {ccUtf16BE, {}};
    return {};
}

// Nothing declared: valid UTF-8 with a multi-byte character is UTF-8 (kanji in UTF-8 read as EUC-JP
// kana pairs otherwise); any other text is guessed.
TReadCharCode Undeclared(std::string_view bytes)
{
    return {IsMultiByteUtf8(bytes) ? ccUtf8 : GuessCharCode(bytes), {}};
}

// A tag's attributes, read as a browser reads them before it knows the page's encoding.
class TAttributeReader {
public:
    TAttributeReader(std::string_view text, std::size_t at) : Text_(text), At_(at) {}

    // The next attribute of the tag; false at its ">" or at the end of the text.
    bool Next(std::string_view& name, std::string_view& value)
    {
        while (At_ < Text_.size() && (IsSpace(Text_[At_]) || Text_[At_] == '/')) ++At_;
        if (At_ >= Text_.size() || Text_[At_] == '>') return false;
        const std::size_t nameStart = At_;
        while (At_ < Text_.size() && !IsSpace(Text_[At_]) && Text_[At_] != '/' && Text_[At_] != '>' &&
               (Text_[At_] != '=' || At_ == nameStart))
            ++At_;
        name = Text_.substr(nameStart, At_ - nameStart);
        value = {};
        SkipSpaces();
        if (At_ >= Text_.size() || Text_[At_] != '=') return true;
        ++At_;
        SkipSpaces();
        if (At_ < Text_.size() && (Text_[At_] == '"' || Text_[At_] == '\'')) {
            const std::size_t close = Text_.find(Text_[At_], At_ + 1);
            if (close == std::string_view::npos) {
                At_ = Text_.size();  // a quote the search length cuts off: no value
                return false;
            }
            value = Text_.substr(At_ + 1, close - At_ - 1);
            At_ = close + 1;
        } else {
            const std::size_t start = At_;
            while (At_ < Text_.size() && !IsSpace(Text_[At_]) && Text_[At_] != '>') ++At_;
            value = Text_.substr(start, At_ - start);
        }
        return true;
    }

    // After the tag's ">".
    std::size_t End() const { return At_ + 1; }

private:
    void SkipSpaces()
    {
        while (At_ < Text_.size() && IsSpace(Text_[At_])) ++At_;
    }

    std::string_view Text_;
    std::size_t At_;
};

// The name after "charset=" in a Content-Type value; empty when there is none.
std::string_view CharsetOfContent(std::string_view content)
{
    for (std::size_t from = 0; from + 7 <= content.size(); ++from) {
        if (!MatchesNoCase(content, from, "CHARSET")) continue;
        std::size_t at = from + 7;
        while (at < content.size() && IsSpace(content[at])) ++at;
        if (at >= content.size() || content[at] != '=') continue;
        ++at;
        while (at < content.size() && IsSpace(content[at])) ++at;
        if (at < content.size() && (content[at] == '"' || content[at] == '\'')) {
            const std::size_t close = content.find(content[at], at + 1);
            return close == std::string_view::npos ? std::string_view() : content.substr(at + 1, close - at - 1);
        }
        std::size_t end = at;
        while (end < content.size() && !IsSpace(content[end]) && content[end] != ';') ++end;
        return content.substr(at, end - at);
    }
    return {};
}

// What a meta tag declares, its attributes read from at; Code 0 when it declares nothing.
TReadCharCode MetaDeclaration(TAttributeReader& reader)
{
    std::string_view name, value, charset, content;
    bool contentType = false, haveCharset = false, haveContent = false;
    while (reader.Next(name, value)) {
        if (EqualsNoCase(name, "CHARSET") && !haveCharset) {
            charset = value;
            haveCharset = true;
        } else if (EqualsNoCase(name, "CONTENT") && !haveContent) {
            content = value;
            haveContent = true;
        } else if (EqualsNoCase(name, "HTTP-EQUIV")) {
            contentType = contentType || EqualsNoCase(Trimmed(value), "CONTENT-TYPE");
        }
    }
    if (haveCharset) return CharCodeOfName(charset);
    if (contentType) return CharCodeOfName(CharsetOfContent(content));
    return {};
}

TReadCharCode MetaCharCode(std::string_view bytes)
{
    const std::string_view text = bytes.substr(0, MetaSearchLength);
    std::size_t i = 0;
    while ((i = text.find('<', i)) != std::string_view::npos) {
        if (text.compare(i, 4, "<!--") == 0) {
            const std::size_t close = text.find("-->", i + 4);
            if (close == std::string_view::npos) break;
            i = close + 3;
        } else if (MatchesNoCase(text, i, "<META") && i + 5 < text.size() && (IsSpace(text[i + 5]) || text[i + 5] == '/')) {
            TAttributeReader reader(text, i + 5);
            if (TReadCharCode declared = MetaDeclaration(reader); declared.Code) return declared;
            i = reader.End();
        } else if (i + 1 < text.size() && (IsAsciiLetter(text[i + 1]) || (text[i + 1] == '/' && i + 2 < text.size() &&
                                                                         IsAsciiLetter(text[i + 2])))) {
            // Another tag: its attributes are stepped over, so that a ">" in a quoted value does not end it.
            std::size_t nameEnd = i + 1;
            while (nameEnd < text.size() && !IsSpace(text[nameEnd]) && text[nameEnd] != '>') ++nameEnd;
            TAttributeReader reader(text, nameEnd);
            std::string_view name, value;
            while (reader.Next(name, value)) {}
            i = reader.End();
        } else if (text.compare(i, 2, "<!") == 0 || text.compare(i, 2, "</") == 0 || text.compare(i, 2, "<?") == 0) {
            const std::size_t close = text.find('>', i + 2);
            if (close == std::string_view::npos) break;
            i = close + 1;
        } else {
            ++i;
        }
    }
    return {};
}

// @charset "name"; as the sheet's first bytes (either quote, any case, spaces before the semicolon).
TReadCharCode AtCharsetCharCode(std::string_view bytes)
{
    if (!MatchesNoCase(bytes, 0, "@CHARSET")) return {};
    std::size_t at = 8;
    if (at >= bytes.size() || !IsSpace(bytes[at])) return {};
    while (at < bytes.size() && IsSpace(bytes[at])) ++at;
    if (at >= bytes.size() || (bytes[at] != '"' && bytes[at] != '\'')) return {};
    const std::size_t close = bytes.find(bytes[at], at + 1);
    if (close == std::string_view::npos) return {};
    std::size_t after = close + 1;
    while (after < bytes.size() && IsSpace(bytes[after])) ++after;
    if (after >= bytes.size() || bytes[after] != ';') return {};
    return CharCodeOfName(bytes.substr(at + 1, close - at - 1));
}

} // namespace

std::string_view TagAttribute(std::string_view tag, std::string_view upperName)
{
    TAttributeReader reader(tag, 0);
    std::string_view name, value;
    while (reader.Next(name, value))
        if (EqualsNoCase(name, upperName)) return value;
    return {};
}

TReadCharCode CharCodeOfName(std::string_view name)
{
    name = Trimmed(name);
    // A name is a short word; anything else declares nothing, as a browser ignores a name it does not know.
    const bool word = !name.empty() && name.size() <= 40 && std::all_of(name.begin(), name.end(), [](char c) {
        return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == ':' || c == '+';
    });
    if (!word) return {};
    if (IsAnyOf(name, {"UTF-8", "UTF8", "UNICODE-1-1-UTF-8", "UNICODE11UTF8", "UNICODE20UTF8", "X-UNICODE20UTF8",
                       "UTF-16", "UTF-16LE", "UTF-16BE"}))
        return {ccUtf8, {}};
    if (IsAnyOf(name, {"SHIFT_JIS", "SHIFT-JIS", "SJIS", "X-SJIS", "WINDOWS-31J", "CP932", "MS932", "MS_KANJI",
                       "CSSHIFTJIS"}))
        return {ccSjis, {}};
    if (IsAnyOf(name, {"EUC-JP", "X-EUC-JP", "CSEUCPKDFMTJAPANESE"})) return {ccEuc, {}};
    if (IsAnyOf(name, {"ISO-2022-JP", "CSISO2022JP"})) return {ccJis, {}};
    TReadCharCode single{ccSingleByte, std::string(name)};
    for (char& c : single.Name) c = UpperAscii(c);
    return single;
}

TReadCharCode PageCharCode(std::string_view bytes)
{
    if (TReadCharCode declared = ByteOrderMark(bytes); declared.Code) return declared;
    if (TReadCharCode declared = MetaCharCode(bytes); declared.Code) return declared;
    return Undeclared(bytes);
}

TReadCharCode SheetCharCode(std::string_view bytes, std::string_view linkCharset)
{
    if (TReadCharCode declared = ByteOrderMark(bytes); declared.Code) return declared;
    if (TReadCharCode declared = AtCharsetCharCode(bytes); declared.Code) return declared;
    if (TReadCharCode declared = CharCodeOfName(linkCharset); declared.Code) return declared;
    return Undeclared(bytes);
}

} // namespace pictor
