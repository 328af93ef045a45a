#include "replace/ReplaceItem.h"

#include "encoding/CharCode.h"
#include "encoding/Cp932.h"
#include "encoding/Utf8.h"

namespace pictor {

std::string EscapeReplacement(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    const char* end = value.data() + value.size();
    for (size_t i = 0; i < value.size();) {
        const int length = CharLength(value.data() + i, end, false);
        if (length == 1 && (value[i] == '\r' || value[i] == '\n'))
            out += value[i] == '\r' ? "\\r" : "\\n";
        else
            out.append(value, i, size_t(length));
        i += size_t(length);
    }
    return out;
}

std::string UnescapeForEditing(std::string_view escaped)
{
    std::string out;
    out.reserve(escaped.size());
    const char* end = escaped.data() + escaped.size();
    for (size_t i = 0; i < escaped.size();) {
        const int length = CharLength(escaped.data() + i, end, false);
        if (escaped[i] == '\\' && i + 1 < escaped.size() && (escaped[i + 1] == 'r' || escaped[i + 1] == 'n')) {
            out += escaped[i + 1] == 'r' ? '\r' : '\n';
            i += 2;
            continue;
        }
        out.append(escaped, i, size_t(length));
        i += size_t(length);
    }
    return out;
}

TItemCheck CheckReplaceItem(std::string_view keyUtf8, std::string_view memoUtf8)
{
    if (keyUtf8.empty()) return TItemCheck::EmptyKey;
    if (memoUtf8.empty()) return TItemCheck::EmptyValue;
    auto p = reinterpret_cast<const unsigned char*>(keyUtf8.data());
    const auto end = p + keyUtf8.size();
    while (p < end) {
        const std::int32_t cp = utf8::Decode(p, end);
        unsigned char bytes[2];
        if (cp < 0 || cp > 0xFFFF || cp932::FromUtf16(std::uint16_t(cp), bytes) != 1)
            return TItemCheck::DoubleByteKey;
    }
    return TItemCheck::Ok;
}

std::string_view ItemCheckMessage(TItemCheck check)
{
    switch (check) {
    case TItemCheck::EmptyKey: return "置換対象文字列が空です";
    case TItemCheck::EmptyValue: return "置換文字列が空です";
    case TItemCheck::DoubleByteKey: return "置換対象文字列に全角文字を使うことはできません";
    case TItemCheck::Ok: break;
    }
    return {};
}

std::string MemoTextOf(std::string_view escapedValue)
{
    const std::string text = cp932::ToUtf8(UnescapeForEditing(escapedValue));
    std::string memo;
    memo.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') memo += text[i];
        else if (i + 1 >= text.size() || text[i + 1] != '\n') memo += '\n';
    }
    return memo;
}

TReplaceItem ItemFromDialog(std::string_view keyUtf8, std::string_view memoUtf8)
{
    std::string value;
    value.reserve(memoUtf8.size());
    for (char c : memoUtf8) {
        if (c == '\n') value += '\r';
        value += c;
    }
    return {cp932::FromUtf8(keyUtf8), EscapeReplacement(cp932::FromUtf8(value))};
}

} // namespace pictor
