#include "document/SvgDataUrl.h"

#include "base/AsciiText.h"
#include "document/PageScanner.h"

#include <algorithm>
#include <array>

namespace pictor {

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

constexpr char Base64Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<int, 256> Base64Values = [] {
    std::array<int, 256> values{};
    values.fill(-1);
    for (int k = 0; k < 64; ++k) values[static_cast<unsigned char>(Base64Digits[k])] = k;
    return values;
}();

// The picture's colours go to the walk that found the URL, placed where the URL stands; a data: URL
// inside the picture is left alone.
class TEmbeddedColours : public TScanEvents {
public:
    TEmbeddedColours(TScanEvents& outer, const TColorPlace& place) : Outer_(outer), Place_(place) {}
    void ColorFound(std::size_t pos, std::size_t length, TColorForm form, int nameIndex, const TColorPlace& inner) override
    {
        if (inner.Embed.Kind == TEmbedding::None) Outer_.ColorFound(pos, length, form, nameIndex, Place_);
    }
    bool WantsReferences() const override { return false; }

private:
    TScanEvents& Outer_;
    TColorPlace Place_;
};

} // namespace

bool IsPercentEscape(std::string_view data, std::size_t at)
{
    return data[at] == '%' && at + 2 < data.size() && HexDigit(data[at + 1]) >= 0 && HexDigit(data[at + 2]) >= 0;
}

std::string DecodeEmbedded(std::string_view data, TEmbedding kind)
{
    std::string out;
    out.reserve(data.size());
    if (kind == TEmbedding::Percent) {
        for (std::size_t i = 0; i < data.size();) {
            const std::size_t percent = std::min(data.find('%', i), data.size());
            out.append(data, i, percent - i);
            if (percent == data.size()) break;
            if (IsPercentEscape(data, percent)) {
                out += char(HexDigit(data[percent + 1]) * 16 + HexDigit(data[percent + 2]));
                i = percent + 3;
            } else {
                out += '%';
                i = percent + 1;
            }
        }
        return out;
    }
    unsigned bits = 0;
    int count = 0;
    for (const char c : data) {
        if (c == '=' || c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f') continue;
        const int value = Base64Values[static_cast<unsigned char>(c)];
        if (value < 0) return {};
        bits = (bits << 6 | unsigned(value)) & 0xFFFFFF;
        if ((count += 6) >= 8) {
            count -= 8;
            out += char(bits >> count & 0xFF);
        }
    }
    return out;
}

std::string PercentEncode(std::string_view text)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == ',' || c == '-') {
            out += c;
        } else {
            out += '%';
            out += Hex[b >> 4];
            out += Hex[b & 15];
        }
    }
    return out;
}

std::string Base64Encode(std::string_view bytes)
{
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        unsigned v = 0;
        for (std::size_t k = 0; k < 3; ++k) v = v << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k) out += k <= n ? Base64Digits[v >> (18 - 6 * k) & 63] : '=';
    }
    return out;
}

bool WalkSvgDataUrl(std::string_view url, std::size_t pos, const TColorPlace& place, TScanEvents& events)
{
    if (!MatchesNoCase(url, 0, "DATA:IMAGE/SVG+XML")) return false;
    const std::size_t comma = url.find(',');
    if (comma == std::string_view::npos) return false;
    const std::string_view parameters = url.substr(18, comma - 18);
    if (!parameters.empty() && parameters[0] != ';') return false;
    bool base64 = false;
    for (std::size_t at = parameters.find(';'); at != std::string_view::npos; at = parameters.find(';', at + 1))
        base64 = base64 || (parameters.size() - at == 7 && MatchesNoCase(parameters, at, ";BASE64"));
    TColorPlace embedded = place;
    embedded.Role = TColorRole::Other;
    embedded.Embed = {std::uint32_t(pos + comma + 1), std::uint32_t(url.size() - comma - 1),
                      base64 ? TEmbedding::Base64 : TEmbedding::Percent};
    const std::string picture = DecodeEmbedded(url.substr(comma + 1), embedded.Embed.Kind);
    TEmbeddedColours colours(events, embedded);
    WalkSvg(picture, true, colours);
    return true;
}

} // namespace pictor
