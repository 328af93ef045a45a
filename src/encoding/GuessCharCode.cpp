#include "encoding/GuessCharCode.h"

#include "encoding/Cp932.h"
#include "encoding/Utf8.h"

#include <bitset>
#include <cstdint>
#include <cstring>
#include <optional>

namespace pictor {

namespace {

using TBytes = const unsigned char*;

bool IsKanaSjis(unsigned pair)
{
    return (pair >= 0x829F && pair <= 0x82F1) || (pair >= 0x8340 && pair <= 0x8393 && pair != 0x837F);
}

// What the walks ask of a pair or a code unit, from code page 932's tables or from its single
// characters' facts (cp932 or a cp932::TCharFacts): the two answer alike.
template <class TFacts> bool CountsAsSjis(TFacts& facts, unsigned pair)
{
    const auto value = static_cast<std::uint16_t>(pair);
    return pair >= 0x8100 && pair < 0xE380 && facts.IsDefined(value) && facts.HasJisX0208Code(value);
}
template <class TFacts> bool BecomesKana(TFacts& facts, unsigned unit)
{
    unsigned char out[2];
    return facts.FromUtf16(static_cast<std::uint16_t>(unit), out) == 2 &&
           IsKanaSjis(static_cast<unsigned>(out[0]) << 8 | out[1]);
}

struct TTableFacts {
    bool IsDefined(std::uint16_t pair) { return cp932::IsDefined(pair); }
    bool HasJisX0208Code(std::uint16_t pair) { return cp932::HasJisX0208Code(pair); }
    int FromUtf16(std::uint16_t unit, unsigned char out[2]) { return cp932::FromUtf16(unit, out); }
};

// Every answer, gathered once so that a walk is one lookup per character.
struct TGuessTables {
    std::bitset<65536> SjisCounts; // defined in code page 932, has a JIS X 0208 code, below E380
    std::bitset<65536> Utf16Kana;  // the code unit becomes a kana in code page 932

    TGuessTables()
    {
        TTableFacts facts;
        for (unsigned pair = 0x8100; pair < 0xE380; ++pair) SjisCounts[pair] = CountsAsSjis(facts, pair);
        for (unsigned unit = 0; unit < 0x10000; ++unit) Utf16Kana[unit] = BecomesKana(facts, unit);
    }
};

const TGuessTables& GuessTables()
{
    static const TGuessTables tables;
    return tables;
}

// The answers one text needs. A text with a few characters beyond ASCII (an English sheet's dashes and
// quotes) has them answered one by one: the tables cost more than walking ten megabytes. Past a few
// dozen it turns to the tables, built once for every text after it.
class TGuessAnswers {
public:
    bool SjisCounts(unsigned pair)
    {
        return Answer(pair, SjisKnown_, SjisCounts_, &TGuessTables::SjisCounts, CountsAsSjis<cp932::TCharFacts>);
    }
    bool Utf16Kana(unsigned unit)
    {
        return Answer(unit, KanaKnown_, Utf16Kana_, &TGuessTables::Utf16Kana, BecomesKana<cp932::TCharFacts>);
    }

private:
    static constexpr int MaxAsked = 64;

    bool Answer(unsigned key, std::bitset<65536>& known, std::bitset<65536>& answers,
                std::bitset<65536> TGuessTables::*table, bool (*ask)(cp932::TCharFacts&, unsigned))
    {
        if (Tables_) return (Tables_->*table)[key];
        if (!known[key]) {
            if (++Asked_ > MaxAsked) {
                Tables_ = &GuessTables();
                return (Tables_->*table)[key];
            }
            if (!Facts_) Facts_.emplace();
            known[key] = true;
            answers[key] = ask(*Facts_, key);
        }
        return answers[key];
    }

    const TGuessTables* Tables_ = nullptr;
    std::optional<cp932::TCharFacts> Facts_;
    int Asked_ = 0;
    std::bitset<65536> SjisKnown_, SjisCounts_, KanaKnown_, Utf16Kana_;
};

bool InA1Fe(unsigned char c) { return c >= 0xA1 && c != 0xFF; }

// First position from p holding a byte above 7F, or n. ASCII never scores and always advances one byte in
// the EUC-JP, Shift-JIS and UTF-8 walks, and pages are mostly ASCII markup, so those walks jump over it.
std::size_t SkipAscii(TBytes b, std::size_t p, std::size_t n)
{
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    // Thirty-two bytes a step while the text is long ASCII, then eight.
    while (p + 32 <= n) {
        std::uint64_t words[4];
        std::memcpy(words, b + p, 32);
        if ((words[0] | words[1] | words[2] | words[3]) & kHighBits) break;
        p += 32;
    }
    while (p + 8 <= n) {
        std::uint64_t word;
        std::memcpy(&word, b + p, 8);
        if (word & kHighBits) break;
        p += 8;
    }
    while (p < n && b[p] < 0x80) ++p;
    return p;
}

long long EucScore(TBytes b, std::size_t n)
{
    long long score = 0;
    std::size_t p = 0;
    while (p + 1 < n) {
        const unsigned char c = b[p];
        if (c < 0x80) {
            p = SkipAscii(b, p + 1, n);
        } else if (c < 0x8E) {
            ++p;
        } else if (c == 0x8E) {
            ++score;
            p += 2;
        } else if (InA1Fe(c) && InA1Fe(b[p + 1])) {
            score += (c == 0xA4 || c == 0xA5) && b[p + 1] <= 0xF3;
            p += 2;
        } else {
            ++p;
        }
    }
    return score;
}

bool IsSjisTrail(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

long long SjisScore(TBytes b, std::size_t n, TGuessAnswers& answers)
{
    long long score = 0;
    std::size_t p = 0;
    while (p + 1 < n) {
        const unsigned char c = b[p];
        if (c < 0x80) {
            p = SkipAscii(b, p + 1, n);
        } else if (IsSjisLeadByte(c) && IsSjisTrail(b[p + 1])) {
            score += answers.SjisCounts(static_cast<unsigned>(c) << 8 | b[p + 1]);
            p += 2;
        } else {
            ++p;
        }
    }
    return score;
}

long long JisScore(TBytes b, std::size_t n)
{
    long long score = 0;
    bool kanji = false, kana = false;
    std::size_t runStart = 0, i = 0;
    while (i < n) {
        // Only an escape changes anything; every byte up to the next one counts if a katakana run is on.
        const void* esc = std::memchr(b + i, 0x1B, n - i);
        const std::size_t e = esc ? static_cast<std::size_t>(static_cast<TBytes>(esc) - b) : n;
        if (kana) score += static_cast<long long>(e - i);
        i = e;
        if (i >= n) break;
        const bool whole = n - i >= 3;
        const unsigned char b1 = whole ? b[i + 1] : 0, b2 = whole ? b[i + 2] : 0;
        if (b1 == '$' && (b2 == 'B' || b2 == '@')) {
            kana = false;
            kanji = true;
            i += 3;
            runStart = i;
        } else if (b1 == '(' && b2 == 'I') {
            if (kanji && i > runStart) {
                score += static_cast<long long>((i - runStart) / 2);
                kanji = false;
            }
            kana = true;
            i += 3;
        } else if (b1 == '(' && (b2 == 'B' || b2 == 'J')) {
            kana = false;
            if (kanji) score += static_cast<long long>((i - runStart) / 2);
            kanji = false;
            i += 3;
        } else {
            score += kana;
            ++i;
        }
    }
    return score;
}

long long Utf8Score(TBytes b, std::size_t n, TGuessAnswers& answers)
{
    long long score = 0;
    std::size_t p = 0;
    while (p + 1 < n) {
        if (b[p] < 0x80) {
            p = SkipAscii(b, p + 1, n);
            continue;
        }
        const unsigned char b0 = b[p], b1 = b[p + 1];
        const bool last = p + 2 >= n;
        if (b0 >= 0xE0 && b0 <= 0xEF && (b1 & 0xC0) == 0x80) {
            const unsigned char b2 = last ? 0 : b[p + 2];
            const bool three = (b2 & 0xC0) == 0x80;
            const unsigned unit = three ? ((b0 & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu)
                                        : ((b0 & 0x1Fu) << 6) | (b1 & 0x3Fu);
            const int length = three ? 3 : 2;
            if (answers.Utf16Kana(unit)) score += length;
            p += static_cast<std::size_t>(length);
        } else {
            ++p;
        }
        if (last) break;
    }
    return score;
}

} // namespace

TCharCodeScores CharCodeScores(std::string_view text)
{
    // A zero byte ends the text for every walk.
    const auto b = reinterpret_cast<TBytes>(text.data());
    const void* zero = std::memchr(b, 0, text.size());
    const std::size_t n = zero ? static_cast<std::size_t>(static_cast<TBytes>(zero) - b) : text.size();
    TCharCodeScores scores;
    scores.Jis = JisScore(b, n);
    // ASCII scores nothing in the others.
    if (SkipAscii(b, 0, n) == n) return scores;
    TGuessAnswers answers;
    scores.Euc = EucScore(b, n);
    scores.Sjis = SjisScore(b, n, answers);
    scores.Utf8 = Utf8Score(b, n, answers);
    return scores;
}

TCharCode GuessCharCode(std::string_view text)
{
    const TCharCodeScores s = CharCodeScores(text);
    if (s.Euc > 0 && s.Euc >= s.Sjis && s.Euc >= s.Jis && s.Euc >= s.Utf8) return ccEuc;
    if (s.Utf8 > 0 && s.Utf8 >= s.Euc && s.Utf8 >= s.Sjis && s.Utf8 >= s.Jis) return ccUtf8;
    if (s.Jis > 0 && s.Jis >= s.Euc && s.Jis >= s.Sjis && s.Jis >= s.Utf8) return ccJis;
    return ccSjis;
}

bool IsMultiByteUtf8(std::string_view text)
{
    const auto begin = reinterpret_cast<TBytes>(text.data());
    auto p = begin;
    const auto end = p + text.size();
    bool multiByte = false;
    while (p < end) {
        if (*p < 0x80) {
            p = begin + SkipAscii(begin, std::size_t(p - begin) + 1, text.size());
            continue;
        }
        if (utf8::Decode(p, end) < 0) return false;
        multiByte = true;
    }
    return multiByte;
}

} // namespace pictor
