#include "document/StyleScanner.h"

#include "document/ColorLiterals.h"
#include "base/AsciiText.h"
#include "document/Paths.h"
#include "encoding/CharCode.h"

#include <array>
#include <cstring>

namespace pictor {

namespace {


bool IsAsciiAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

size_t FindFrom(std::string_view text, size_t from, std::string_view what)
{
    const size_t at = text.find(what, from);
    return at == std::string_view::npos ? text.size() : at;
}

// The named colour standing at pos, followed by a separator, or -1.
int NamedColorAt(std::string_view copy, size_t pos)
{
    const char first = char(UpperAscii(copy[pos]) + 32);
    for (int n = 0; n < 16; ++n) {
        const std::string_view name = NamedColors[n].Name;
        if (name[0] != first || pos + name.size() >= copy.size()) continue;
        size_t k = 1;
        while (k < name.size() && char(UpperAscii(copy[pos + k]) + 32) == name[k]) ++k;
        if (k == name.size() && copy[pos + k] == ' ') return n;
    }
    return -1;
}

} // namespace

void MakeStyleScanCopy(std::string_view text, bool utf8, std::string& out)
{
    out.assign(text);
    const char* begin = out.data();
    const char* end = begin + out.size();
    for (char* p = out.data(); p < end;) {
        if (static_cast<unsigned char>(*p) < 0x80) {
            if (IsStyleSeparator(*p)) *p = ' ';
            ++p;
        } else {
            p += CharLength(p, end, utf8);
        }
    }
}

// What a byte can start inside a declaration block: most bytes start nothing and are stepped over.
enum TByteRole : unsigned char { rPlain, rPunct, rWord };

constexpr std::array<TByteRole, 256> ByteRoles = [] {
    std::array<TByteRole, 256> roles{};
    for (unsigned char c : std::string_view("/\"'()}#")) roles[c] = rPunct;
    // First letters of rgb(, url( and the sixteen names: these matter only after a separator.
    for (unsigned char c : std::string_view("abfglmnoprstuwy")) {
        roles[c] = rWord;
        roles[c - 32] = rWord;
    }
    return roles;
}();

size_t ScanDeclarations(std::string_view copy, std::string_view original, size_t start, size_t limit, bool styleText,
                        bool utf8, size_t offset, TScanEvents& events)
{
    const size_t n = copy.size();
    const char* data = copy.data();
    const bool wantRefs = events.WantsReferences();
    bool inParens = false;
    size_t i = start;
    while (i < n) {
        const char c = data[i];
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            i += size_t(CharLength(data + i, data + n, utf8));
            continue;
        }
        const TByteRole role = ByteRoles[byte];
        const bool afterSeparator = i > 0 && data[i - 1] == ' ';
        if (role == rPlain || (role == rWord && !afterSeparator)) {
            ++i;
            continue;
        }
        if (c == '/' && i + 1 < n && data[i + 1] == '*') {
            const size_t close = FindFrom(copy, i + 2, "*/");
            i = close == n ? n : close + 2;
        } else if (styleText && (c == '"' || c == '\'') && !inParens) {
            const size_t close = copy.find_first_of("\"'", i + 1);
            i = close == std::string_view::npos ? n : close + 1;
        } else if (c == '(') {
            inParens = true;
            ++i;
        } else if (c == ')') {
            inParens = false;
            ++i;
        } else if (c == '}') {
            return i + 1;
        } else if (c == '#' && !inParens && afterSeparator) {
            size_t end = i + 1;
            while (end < n && IsAsciiAlnum(data[end])) ++end;
            if (i < limit) events.ColorFound(offset + i, std::min(end, limit) - i, TColorForm::Hex, -1);
            i = end;
        } else if ((c == 'r' || c == 'R') && !inParens && afterSeparator && MatchesNoCase(copy, i, "RGB(")) {
            const size_t close = copy.find(')', i + 4);
            const size_t end = close == std::string_view::npos ? n : close + 1;
            if (i < limit) events.ColorFound(offset + i, std::min(end, limit) - i, TColorForm::Rgb, -1);
            i = end;
        } else if (int index; role == rWord && !inParens && afterSeparator && (index = NamedColorAt(copy, i)) >= 0) {
            const size_t length = NamedColors[index].Name.size();
            if (i < limit) events.ColorFound(offset + i, length, TColorForm::Name, index);
            i += length;
        } else if ((c == 'u' || c == 'U') && afterSeparator && MatchesNoCase(copy, i, "URL(")) {
            if (wantRefs) {
                size_t from = i + 4;
                if (from < n && (data[from] == '"' || data[from] == '\'')) ++from;
                size_t to = copy.find_first_of("\"')", from);
                to = std::min(to == std::string_view::npos ? n : to, limit);
                if (from < to) {
                    const std::string_view ref = original.substr(from, to - from);
                    if (!IsExternalReference(ref)) events.PictureFound(ref);
                }
            }
            i += 3;  // on to the "(", which opens parentheses
        } else {
            ++i;
        }
    }
    return n;
}

void WalkStyleText(std::string_view copy, std::string_view original, bool utf8, size_t offset, TScanEvents& events)
{
    const size_t n = copy.size();
    const char* data = copy.data();
    size_t i = 0;
    while (i < n) {
        if (data[i] == '/' && i + 1 < n && data[i + 1] == '*') {
            const size_t close = FindFrom(copy, i + 2, "*/");
            i = close == n ? n : close + 2;
        } else if (data[i] == '{') {
            i = ScanDeclarations(copy, original, i + 1, n, true, utf8, offset, events);
        } else {
            i += size_t(CharLength(data + i, data + n, utf8));
        }
    }
}

void WalkStyleSheet(std::string_view text, bool utf8, TScanEvents& events)
{
    std::string copy;
    MakeStyleScanCopy(text, utf8, copy);
    WalkStyleText(copy, text, utf8, 0, events);
}

std::vector<std::string> FindImportTargets(std::string_view text)
{
    std::string copy;
    MakeStyleScanCopy(text, false, copy);
    std::vector<std::string> targets;
    enum { Outside, Comment, Block, BlockComment } state = Outside;
    const size_t n = copy.size();
    const char* data = copy.data();
    size_t i = 0;
    while (i < n) {
        const bool opensComment = data[i] == '/' && i + 1 < n && data[i + 1] == '*';
        const bool closesComment = data[i] == '*' && i + 1 < n && data[i + 1] == '/';
        switch (state) {
        case Outside:
            if (opensComment) { state = Comment; i += 2; continue; }
            if (data[i] == '{') { state = Block; ++i; continue; }
            if (data[i] == '@' && MatchesNoCase(copy, i, "@IMPORT")) {
                // Both forms: @import url(a.css) and @import "a.css". Anything else names nothing.
                size_t p = i + 7;
                while (p < n && data[p] == ' ') ++p;
                std::string target;
                if (p < n && (data[p] == '"' || data[p] == '\'')) {
                    const size_t close = copy.find(data[p], p + 1);
                    if (close != std::string::npos) target.assign(copy, p + 1, close - p - 1);
                    i = close == std::string::npos ? n : close + 1;
                } else if (MatchesNoCase(copy, p, "URL(")) {
                    const size_t close = copy.find(')', p + 4);
                    if (close != std::string::npos) target.assign(copy, p + 4, close - p - 4);
                    i = close == std::string::npos ? n : close + 1;
                } else {
                    i = p;
                }
                std::erase(target, '"');
                std::erase(target, '\'');
                while (!target.empty() && target.back() == ' ') target.pop_back();
                while (!target.empty() && target.front() == ' ') target.erase(0, 1);
                if (!target.empty() && !IsExternalReference(target)) targets.push_back(std::move(target));
                continue;
            }
            break;
        case Comment:
            if (closesComment) { state = Outside; i += 2; continue; }
            break;
        case Block:
            if (opensComment) { state = BlockComment; i += 2; continue; }
            if (data[i] == '}') { state = Outside; ++i; continue; }
            break;
        case BlockComment:
            if (closesComment) { state = Block; i += 2; continue; }
            break;
        }
        i += size_t(CharLength(data + i, data + n, false));
    }
    return targets;
}

} // namespace pictor
