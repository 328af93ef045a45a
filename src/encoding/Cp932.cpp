#include "encoding/Cp932.h"

#include "base/PictorError.h"
#include "encoding/CharCode.h"
#include "encoding/Iconv.h"
#include "encoding/Utf8.h"

#include <bitset>
#include <vector>

namespace pictor::cp932 {

namespace {

constexpr std::uint16_t kNone = 0xFFFF;

// A two-byte EUC-JP code in the rows JIS X 0208 assigns (1-8, 16-84).
bool IsJisX0208Euc(int length, const unsigned char* euc)
{
    if (length != 2 || euc[1] < 0xA1 || euc[1] > 0xFE) return false;
    return (euc[0] >= 0xA1 && euc[0] <= 0xA8) || (euc[0] >= 0xB0 && euc[0] <= 0xF4);
}

// The converters every fact comes from.
struct TConversions {
    TIconv ToUtf16{"UTF-16LE", "CP932"}, ToEuc{"EUC-JP", "CP932"}, ToEucMs{"EUC-JP-MS", "CP932"},
        FromUtf16{"CP932", "UTF-16LE"};

    // A single byte's or a pair's UTF-16 unit; kNone where code page 932 defines none.
    std::uint16_t ToUnicode(std::uint16_t value)
    {
        unsigned char out[8];
        const unsigned char lead = static_cast<unsigned char>(value >> 8), trail = static_cast<unsigned char>(value);
        if (lead == 0) {
            if (IsSjisLeadByte(trail) || ToUtf16.Convert(&trail, 1, out) != 2) return kNone;
        } else {
            const unsigned char in[2] = {lead, trail};
            if (!IsSjisLeadByte(lead) || trail < 0x40 || trail > 0xFC || ToUtf16.Convert(in, 2, out) != 2) return kNone;
        }
        return static_cast<std::uint16_t>(out[0] | out[1] << 8);
    }

    // For a defined pair. eucJP-ms knows the Microsoft forms of the wave dash family that plain EUC-JP lacks.
    bool HasJisX0208Code(std::uint16_t pair)
    {
        const unsigned char in[2] = {static_cast<unsigned char>(pair >> 8), static_cast<unsigned char>(pair)};
        unsigned char out[8];
        return IsJisX0208Euc(ToEuc.Convert(in, 2, out), out) || IsJisX0208Euc(ToEucMs.Convert(in, 2, out), out);
    }

    // A byte or pair value; kNone for a surrogate or a unit code page 932 cannot hold.
    std::uint16_t FromUnicode(std::uint16_t unit)
    {
        if (unit >= 0xD800 && unit <= 0xDFFF) return kNone;
        const unsigned char in[2] = {static_cast<unsigned char>(unit), static_cast<unsigned char>(unit >> 8)};
        unsigned char out[8];
        const int length = FromUtf16.Convert(in, 2, out);
        if (length == 1) return out[0];
        if (length == 2) return static_cast<std::uint16_t>(out[0] << 8 | out[1]);
        return kNone;
    }
};

struct TTables {
    std::vector<std::uint16_t> ToUnicode = std::vector<std::uint16_t>(65536, kNone);  // byte b at b, pair at lead*256+trail
    std::vector<std::uint16_t> FromUnicode = std::vector<std::uint16_t>(65536, kNone); // byte or pair value
    std::bitset<65536> Jis0208;

    TTables()
    {
        TConversions converters;
        for (unsigned b = 0; b < 0x100; ++b) ToUnicode[b] = converters.ToUnicode(static_cast<std::uint16_t>(b));
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsSjisLeadByte(static_cast<unsigned char>(lead))) continue;
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                const auto pair = static_cast<std::uint16_t>(lead << 8 | trail);
                ToUnicode[pair] = converters.ToUnicode(pair);
                if (ToUnicode[pair] != kNone) Jis0208[pair] = converters.HasJisX0208Code(pair);
            }
        }
        for (unsigned unit = 0; unit < 0x10000; ++unit)
            FromUnicode[unit] = converters.FromUnicode(static_cast<std::uint16_t>(unit));
    }
};

const TTables& Tables()
{
    static const TTables tables;
    return tables;
}

bool IsPairValue(std::uint16_t value) { return IsSjisLeadByte(static_cast<unsigned char>(value >> 8)); }

int ValueToBytes(std::uint16_t value, unsigned char out[2])
{
    if (value == kNone) return 0;
    if (value < 0x100) {
        out[0] = static_cast<unsigned char>(value);
        return 1;
    }
    out[0] = static_cast<unsigned char>(value >> 8);
    out[1] = static_cast<unsigned char>(value & 0xFF);
    return 2;
}

void AppendCp932(std::string& out, std::uint16_t value)
{
    if (value == kNone) {
        out += '?';
    } else if (value < 0x100) {
        out += static_cast<char>(value);
    } else {
        out += static_cast<char>(value >> 8);
        out += static_cast<char>(value & 0xFF);
    }
}

} // namespace

bool IsDefined(std::uint16_t sjisPair)
{
    return IsPairValue(sjisPair) && Tables().ToUnicode[sjisPair] != kNone;
}

bool HasJisX0208Code(std::uint16_t sjisPair)
{
    return Tables().Jis0208[sjisPair];
}

int FromUtf16(std::uint16_t unit, unsigned char out[2])
{
    return ValueToBytes(Tables().FromUnicode[unit], out);
}

std::string FromUtf8(std::string_view utf8)
{
    const auto& from = Tables().FromUnicode;
    std::string out;
    out.reserve(utf8.size());
    auto p = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto end = p + utf8.size();
    while (p < end) {
        if (*p < 0x80) {
            out += static_cast<char>(*p++);
            continue;
        }
        const std::int32_t cp = utf8::Decode(p, end);
        AppendCp932(out, cp < 0 || cp > 0xFFFF ? kNone : from[static_cast<std::size_t>(cp)]);
    }
    return out;
}

std::string FromUtf16Units(const std::u16string& units)
{
    const auto& from = Tables().FromUnicode;
    std::string out;
    out.reserve(units.size() * 2);
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            // A character beyond the BMP is one substitute, whether its pair is whole or not.
            if (unit <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) ++i;
            out += '?';
        } else {
            AppendCp932(out, from[unit]);
        }
    }
    return out;
}

std::string ToUtf8(std::string_view sjis)
{
    const auto& to = Tables().ToUnicode;
    std::string out;
    out.reserve(sjis.size() + sjis.size() / 2);
    constexpr std::uint32_t kReplacement = 0xFFFD;
    for (std::size_t i = 0; i < sjis.size();) {
        const unsigned char c = static_cast<unsigned char>(sjis[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else if (IsSjisLeadByte(c) && i + 1 < sjis.size()) {
            // A lead byte takes the next byte whatever it is, as every walk over the text does.
            const std::uint16_t unit = to[static_cast<unsigned>(c) << 8 | static_cast<unsigned char>(sjis[i + 1])];
            utf8::Append(out, unit != kNone ? unit : kReplacement);
            i += 2;
        } else {
            const std::uint16_t unit = IsSjisLeadByte(c) ? kNone : to[c];
            utf8::Append(out, unit != kNone ? unit : kReplacement);
            ++i;
        }
    }
    return out;
}

struct TCharFacts::TConverters : TConversions {};

TCharFacts::TCharFacts() : Converters_(std::make_unique<TConverters>()) {}
TCharFacts::~TCharFacts() = default;

bool TCharFacts::IsDefined(std::uint16_t sjisPair)
{
    return IsPairValue(sjisPair) && Converters_->ToUnicode(sjisPair) != kNone;
}

bool TCharFacts::HasJisX0208Code(std::uint16_t sjisPair)
{
    return IsDefined(sjisPair) && Converters_->HasJisX0208Code(sjisPair);
}

int TCharFacts::FromUtf16(std::uint16_t unit, unsigned char out[2])
{
    return ValueToBytes(Converters_->FromUnicode(unit), out);
}

} // namespace pictor::cp932
