#include "encoding/PzConv.h"

#include "encoding/ByteSink.h"
#include "encoding/CharCode.h"
#include "encoding/HalfWidthKana.h"
#include "encoding/JisArithmetic.h"

#include <cstring>

namespace pictor {

namespace {

using TBytes = const unsigned char*;

constexpr unsigned char kEsc = 0x1B;
constexpr std::size_t kTrailsPerLead = 188;                        // 40-7E and 80-FC
constexpr std::size_t kUserAreaSize = (0xF9 - 0xF0 + 1) * kTrailsPerLead;  // F040-F9FC

bool InA1Fe(unsigned char c) { return c >= 0xA1 && c != 0xFF; }

bool IsEscape(TBytes b, std::size_t n, std::size_t i, char second, char third)
{
    return n - i >= 3 && b[i] == kEsc && b[i + 1] == second && b[i + 2] == third;
}

unsigned UserAreaCode(std::size_t k)
{
    const auto cell = static_cast<unsigned>(k % kTrailsPerLead);
    return static_cast<unsigned>(0xF0 + k / kTrailsPerLead) << 8 | (0x40 + cell + (cell >= 0x3F ? 1 : 0));
}

// Index of a user-area code, or kUserAreaSize when (s1, s2) is none.
std::size_t UserAreaIndex(unsigned char s1, unsigned char s2)
{
    if (s1 < 0xF0 || s1 > 0xF9 || s2 < 0x40 || s2 > 0xFC || s2 == 0x7F) return kUserAreaSize;
    return (s1 - 0xF0u) * kTrailsPerLead + (s2 - 0x40u) - (s2 > 0x7F ? 1 : 0);
}

// Gives each distinct 8F xx xx character of one text its user-area code, in order of appearance.
// EUC-JP lead bytes A1-FE never turn into a Shift-JIS lead byte above EF, so the area is free in the output.
class TExtraCharMap {
public:
    explicit TExtraCharMap(TEucExtraChars& chars) : Chars_(chars) { Chars_.Codes.clear(); }

    // The user-area index for the character, or kUserAreaSize when the area is used up.
    std::size_t IndexOf(unsigned char row, unsigned char cell)
    {
        if (Slots_.empty()) Slots_.assign(94 * 94, 0);
        std::uint16_t& slot = Slots_[(row - 0xA1u) * 94 + (cell - 0xA1u)];
        if (slot == 0) {
            if (Chars_.Codes.size() == kUserAreaSize) return kUserAreaSize;
            Chars_.Codes.push_back(0x8F0000u | static_cast<unsigned>(row) << 8 | cell);
            slot = static_cast<std::uint16_t>(Chars_.Codes.size());
        }
        return slot - 1u;
    }

private:
    TEucExtraChars& Chars_;
    std::vector<std::uint16_t> Slots_;  // index + 1 per (row, cell), 0 while unseen
};

} // namespace

std::string TPzConv::JisToSjis(std::string_view text) const
{
    const auto b = reinterpret_cast<TBytes>(text.data());
    const std::size_t n = text.size();
    TByteSink out(n);
    bool kanji = false;
    std::size_t i = 0;
    while (i < n) {
        if (IsEscape(b, n, i, '$', 'B')) {
            kanji = true;
            i += 3;
        } else if (IsEscape(b, n, i, '(', 'B') || IsEscape(b, n, i, '(', 'J')) {
            kanji = false;
            i += 3;
        } else if (kanji) {
            if (i + 1 < n && b[i] >= 0x21 && b[i] <= 0x7E) {
                out.Ensure(2);
                out.Put2(jis::SjisOf(b[i], b[i + 1]));
            }
            i += 2;
        } else {
            // Single-byte text runs unchanged up to the next escape.
            const void* esc = std::memchr(b + i + 1, kEsc, n - i - 1);
            const std::size_t e = esc ? static_cast<std::size_t>(static_cast<TBytes>(esc) - b) : n;
            out.Append(text.data() + i, e - i);
            i = e;
        }
    }
    return out.Take();
}

std::string TPzConv::EucToSjis(std::string_view text, TEucExtraChars* extra) const
{
    TEucExtraChars local;
    TExtraCharMap extraChars(extra ? *extra : local);
    const auto b = reinterpret_cast<TBytes>(text.data());
    const std::size_t n = text.size();
    TByteSink out(n);
    std::size_t i = 0;
    while (i < n) {
        out.Ensure(2);
        const unsigned char c = b[i];
        if (c < 0x80) {
            out.Put(c);
            ++i;
        } else if (InA1Fe(c) && i + 1 < n) {
            out.Put2(jis::SjisOf(c - 0x80u, (b[i + 1] - 0x80u) & 0xFF));
            i += 2;
        } else if (c == 0x8E && i + 1 < n && b[i + 1] >= 0xA1 && b[i + 1] <= 0xDF) {
            out.Put(b[i + 1]);
            i += 2;
        } else if (c == 0x8F && n - i >= 3 && InA1Fe(b[i + 1]) && InA1Fe(b[i + 2])) {
            const std::size_t k = extraChars.IndexOf(b[i + 1], b[i + 2]);
            if (k == kUserAreaSize) {
                out.Put(c);  // area used up: the prefix goes through as it is
                ++i;
            } else {
                out.Put2(UserAreaCode(k));
                i += 3;
            }
        } else {
            out.Put(c);
            ++i;
        }
    }
    return out.Take();
}

std::string TPzConv::SjisToJis(std::string_view text) const
{
    std::string widened;
    if (JisKanaConvType != ktNone) text = widened = WidenHalfWidthKana(text, JisKanaConvType);
    const auto b = reinterpret_cast<TBytes>(text.data());
    const std::size_t n = text.size();
    const char* close = JisByteCodeType == btRoman ? "\x1B(J" : "\x1B(B";
    TByteSink out(n + n / 8);
    bool kanji = false;
    std::size_t i = 0;
    while (i < n) {
        out.Ensure(5);
        const unsigned char c = b[i];
        if (IsSjisLeadByte(c) && i + 1 < n) {
            if (!kanji) out.Append("\x1B$B", 3);
            kanji = true;
            out.Put2(jis::JisOf(c, b[i + 1], 0));
            i += 2;
        } else {
            if (kanji) out.Append(close, 3);
            kanji = false;
            out.Put(c);
            ++i;
        }
    }
    if (kanji) out.Append(close, 3);
    return out.Take();
}

std::string TPzConv::SjisToEuc(std::string_view text, const TEucExtraChars* extra) const
{
    std::string widened;
    if (JisKanaConvType != ktNone) text = widened = WidenHalfWidthKana(text, JisKanaConvType);
    const auto b = reinterpret_cast<TBytes>(text.data());
    const std::size_t n = text.size();
    const std::size_t extraCount = extra ? extra->Codes.size() : 0;
    TByteSink out(n + n / 8);
    std::size_t i = 0;
    while (i < n) {
        out.Ensure(3);
        const unsigned char c = b[i];
        if (c < 0x80) {
            out.Put(c);
            ++i;
        } else if (IsSjisLeadByte(c) && i + 1 < n) {
            const std::size_t k = c >= 0xF0 ? UserAreaIndex(c, b[i + 1]) : kUserAreaSize;
            if (k < extraCount) {
                const std::uint32_t code = extra->Codes[k];
                out.Put(code >> 16);
                out.Put2(code & 0xFFFF);
            } else {
                out.Put2(jis::JisOf(c, b[i + 1], 0x80));
            }
            i += 2;
        } else {
            if (c >= 0xA1 && c <= 0xDF) out.Put(0x8E);
            out.Put(c);
            ++i;
        }
    }
    return out.Take();
}

const TPzConv& PzConv()
{
    static const TPzConv conv{btAscii, ktNone};
    return conv;
}

} // namespace pictor
