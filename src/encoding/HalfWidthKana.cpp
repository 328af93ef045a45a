#include "encoding/HalfWidthKana.h"

#include "encoding/ByteSink.h"
#include "encoding/CharCode.h"

#include <cstdint>

namespace pictor {

namespace {

// Full-width Shift-JIS counterparts of the half-width bytes A1-DF.
constexpr std::uint16_t kFullWidth[0xDF - 0xA1 + 1] = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8383, 0x8385, // A1-AD
    0x8387, 0x8362, 0x815B, 0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x834A, 0x834C, 0x834E, 0x8350, 0x8352, // AE-BA
    0x8354, 0x8356, 0x8358, 0x835A, 0x835C, 0x835E, 0x8360, 0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B, // BB-C7
    0x836C, 0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A, 0x837D, 0x837E, 0x8380, 0x8381, 0x8382, 0x8384, // C8-D4
    0x8386, 0x8388, 0x8389, 0x838A, 0x838B, 0x838C, 0x838D, 0x838F, 0x8393, 0x814A, 0x814B,                 // D5-DF
};

bool IsHalfWidthKana(unsigned char c) { return c >= 0xA1 && c <= 0xDF; }

bool TakesVoicedMark(unsigned char c) { return (c >= 0xB6 && c <= 0xC4) || (c >= 0xCA && c <= 0xCE) || c == 0xB3; }

} // namespace

std::string WidenHalfWidthKana(std::string_view sjis, TJisKanaConvType mode)
{
    TByteSink out(sjis.size() + sjis.size() / 2);
    const auto b = reinterpret_cast<const unsigned char*>(sjis.data());
    const std::size_t n = sjis.size();
    for (std::size_t i = 0; i < n;) {
        out.Ensure(2);
        if (out.PutSjisPair(b, i, n)) continue;
        const unsigned char c = b[i];
        if (!IsHalfWidthKana(c)) {
            out.Put(c);
            ++i;
            continue;
        }
        const std::uint16_t full = kFullWidth[c - 0xA1];
        const unsigned c1 = full >> 8;
        unsigned c2 = full & 0xFF;
        ++i;
        if (mode == ktZenWithDaku && i < n) {
            const unsigned char mark = b[i];
            if (mark == 0xDE && TakesVoicedMark(c)) {
                if ((c2 >= 0x4A && c2 <= 0x67) || (c2 >= 0x6E && c2 <= 0x7A)) {
                    ++c2;
                    ++i;
                } else if (full == 0x8345) {
                    c2 = 0x94;  // U with the voiced mark is VU
                    ++i;
                }
            } else if (mark == 0xDF && c >= 0xCA && c <= 0xCE && c2 >= 0x6E && c2 <= 0x7A) {
                c2 += 2;
                ++i;
            }
        }
        out.Put(c1);
        out.Put(c2);
    }
    return out.Take();
}

} // namespace pictor
