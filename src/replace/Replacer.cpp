#include "replace/Replacer.h"
#include "base/AsciiText.h"

#include "encoding/CharCode.h"

namespace pictor {

namespace {


bool StartsWithNoCase(std::string_view text, size_t pos, std::string_view key)
{
    if (text.size() - pos < key.size()) return false;
    for (size_t k = 0; k < key.size(); ++k)
        if (LowerAscii(text[pos + k]) != LowerAscii(key[k])) return false;
    return true;
}

} // namespace

std::string UnescapeReplacement(std::string_view value)
{
    std::string out;
    out.reserve(value.size());
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size() && (value[i + 1] == 'n' || value[i + 1] == 'r')) {
            out += value[i + 1] == 'n' ? '\n' : '\r';
            ++i;
        } else {
            out += value[i];
        }
    }
    return out;
}

std::string ApplyReplacements(std::string_view text, const std::vector<std::string>& keys,
                              const std::vector<std::string>& values, bool utf8)
{
    const size_t pairs = std::min(keys.size(), values.size());
    std::vector<std::string> unescaped;
    unescaped.reserve(pairs);
    for (size_t k = 0; k < pairs; ++k) unescaped.push_back(UnescapeReplacement(values[k]));

    std::string out;
    out.reserve(text.size());
    const char* end = text.data() + text.size();
    size_t pos = 0;
    while (pos < text.size()) {
        const int length = CharLength(text.data() + pos, end, utf8);
        if (length > 1) {
            out.append(text, pos, size_t(length));
            pos += size_t(length);
            continue;
        }
        for (size_t k = 0; k < pairs; ++k)
            if (StartsWithNoCase(text, pos, keys[k])) {
                out += unescaped[k];
                pos += keys[k].size();
            }
        // The character after a replacement, a double-byte one whole, so its trail byte is never a key's start.
        if (pos < text.size()) {
            const auto next = size_t(CharLength(text.data() + pos, end, utf8));
            out.append(text, pos, next);
            pos += next;
        }
    }
    return out;
}

} // namespace pictor
