// GuessCharCode and the four TPzConv conversions over arbitrary bytes, and the round trips the
// byte-exact write-back depends on.
#include "FuzzCheck.h"

#include "encoding/CharCode.h"
#include "encoding/GuessCharCode.h"
#include "encoding/PzConv.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace pictor;

namespace {

unsigned char InRange(unsigned char b, unsigned low, unsigned high) { return (unsigned char)(low + b % (high - low + 1)); }

// EUC-JP text of ASCII, JIS X 0208 pairs, 8E half-width katakana and 8F three-byte characters,
// steered by the input bytes.
std::string EucTextOf(std::string_view in)
{
    std::string out;
    for (size_t i = 0; i < in.size(); ++i) {
        const auto b = (unsigned char)in[i];
        auto next = [&] { return i + 1 < in.size() ? (unsigned char)in[++i] : (unsigned char)0; };
        if (b < 0x80) {
            out += char(b);
        } else if (b == 0x8E) {
            out += char(b);
            out += char(InRange(next(), 0xA1, 0xDF));
        } else if (b == 0x8F) {
            out += char(b);
            out += char(InRange(next(), 0xA1, 0xFE));
            out += char(InRange(next(), 0xA1, 0xFE));
        } else if (b >= 0xA1 && b <= 0xFE) {
            out += char(b);
            out += char(InRange(next(), 0xA1, 0xFE));
        }
    }
    return out;
}

// Shift-JIS text of ASCII without ESC, half-width katakana and JIS X 0208 pairs (leads 81-9F, E0-EF).
std::string SjisTextOf(std::string_view in)
{
    std::string out;
    for (size_t i = 0; i < in.size(); ++i) {
        const auto b = (unsigned char)in[i];
        if ((b < 0x80 && b != 0x1B) || (b >= 0xA1 && b <= 0xDF)) {
            out += char(b);
        } else if (IsSjisLeadByte(b) && b <= 0xEF) {
            const unsigned char t = InRange(i + 1 < in.size() ? (unsigned char)in[++i] : 0, 0x40, 0xFB);
            out += char(b);
            out += char(t < 0x7F ? t : t + 1);
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const TCharCode code = GuessCharCode(bytes);
    fuzz::Require(code >= ccEuc && code <= ccUtf8, "GuessCharCode gives one of the four codes");

    // Arbitrary bytes through every setting of the converter: only crashes count here.
    IsMultiByteUtf8(bytes);
    TPzConv conv;
    conv.JisByteCodeType = size % 2 ? btRoman : btAscii;
    conv.JisKanaConvType = TJisKanaConvType(size % 3);
    TEucExtraChars extra;
    conv.SjisToEuc(conv.EucToSjis(bytes, &extra), &extra);
    conv.JisToSjis(conv.SjisToJis(bytes));
    conv.SjisToEuc(bytes);
    conv.JisToSjis(bytes);

    const TPzConv& own = PzConv();
    const std::string euc = EucTextOf(bytes);
    TEucExtraChars eucExtra;
    fuzz::Require(own.SjisToEuc(own.EucToSjis(euc, &eucExtra), &eucExtra) == euc,
                  "EUC-JP comes back byte for byte through Shift-JIS");
    const std::string sjis = SjisTextOf(bytes);
    fuzz::Require(own.EucToSjis(own.SjisToEuc(sjis)) == sjis, "Shift-JIS comes back byte for byte through EUC-JP");
    fuzz::Require(own.JisToSjis(own.SjisToJis(sjis)) == sjis, "Shift-JIS comes back byte for byte through ISO-2022-JP");
    return 0;
}
