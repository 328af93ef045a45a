#include "base/PictorError.h"

namespace pictor {

std::string EscapeControlBytes(const std::string& text)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b != 0x7F) out += c;
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else out += {'\\', 'x', Hex[b >> 4], Hex[b & 15]};
    }
    return out;
}

} // namespace pictor
