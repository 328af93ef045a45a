#include "encoding/TextNormalizer.h"

#include "encoding/ByteSink.h"
#include "encoding/Cp932.h"
#include "encoding/GuessCharCode.h"
#include "encoding/Iconv.h"

#include <algorithm>
#include <cstring>

namespace pictor {

namespace {

using TBytes = const unsigned char*;

bool IsBinaryByte(unsigned char c) { return c <= 0x07 || c == 0xFF; }

// Every byte-order mark test asks for at least 3 bytes, the two-byte marks too.
bool HasMark(const std::string& text, const char* mark, std::size_t length)
{
    return text.size() >= 3 && std::memcmp(text.data(), mark, length) == 0;
}

// Little-endian code units from the start up to the first zero unit; the converted mark is dropped.
std::string FromUtf16Le(const std::string& text)
{
    std::u16string units;
    units.reserve(text.size() / 2);
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(text[i])
                                                | static_cast<unsigned char>(text[i + 1]) << 8);
        if (unit == 0) break;
        units += unit;
    }
    std::string sjis = cp932::FromUtf16Units(units);
    return sjis.erase(0, 1);
}

bool LooksBinary(const std::string& text)
{
    const std::size_t limit = std::min<std::size_t>(text.size(), BinaryCheckSize);
    for (std::size_t i = 0; i < limit; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == 0) return false;
        if (IsBinaryByte(c)) return true;
    }
    return false;
}

std::string WithCrLf(const std::string& text)
{
    const auto b = reinterpret_cast<TBytes>(text.data());
    const std::size_t n = text.size();
    TByteSink out(n + n / 16);
    for (std::size_t i = 0; i < n;) {
        out.Ensure(2);
        if (out.PutSjisPair(b, i, n)) continue;
        const unsigned char c = b[i];
        if (c == '\r' || c == '\n') {
            out.Put('\r');
            out.Put('\n');
            i += (c == '\r' && i + 1 < n && b[i + 1] == '\n') ? 2 : 1;
        } else {
            out.Put(c);
            ++i;
        }
    }
    return out.Take();
}

} // namespace

TCharCode NormalizeText(std::string& text)
{
    TCharCode code;
    if (HasMark(text, "\xFF\xFE", 2)) {
        text = FromUtf16Le(text);
        code = ccUtf16LE;
    } else if (HasMark(text, "\xFE\xFF", 2)) {
        std::string swapped = text;
        for (std::size_t i = 0; i + 1 < swapped.size(); i += 2) std::swap(swapped[i], swapped[i + 1]);
        text = FromUtf16Le(swapped);
        code = ccUtf16BE;
    } else if (LooksBinary(text)) {
        return ccBinary;
    } else if (HasMark(text, "\xEF\xBB\xBF", 3)) {
        text = cp932::FromUtf8(text).erase(0, 1);
        code = ccUtf8;
    } else {
        code = GuessCharCode(text);
        if (code == ccEuc) text = ConvertKanjiCodeFrom(text, jdEuc, jdSjis);
        else if (code == ccJis) text = ConvertKanjiCode(text, jdSjis);
        else if (code == ccUtf8) text = cp932::FromUtf8(text);
    }
    text = WithCrLf(text);
    return code;
}

TJisDetect DetectJisCode(std::string_view text)
{
    const auto b = reinterpret_cast<TBytes>(text.data());
    const std::size_t n = text.size();
    // The last byte is never examined, by the binary test or as the start of a step.
    const std::size_t checked = std::min<std::size_t>(BinaryCheckSize, n == 0 ? 0 : n - 1);
    for (std::size_t i = 0; i < checked; ++i)
        if (IsBinaryByte(b[i])) return jdBinary;

    auto at = [&](std::size_t k) -> unsigned { return k < n ? b[k] : 0u; };
    int result = jdAscii;
    std::size_t i = 0;
    while ((result == jdAscii || result == jdEucOrSjis) && i + 1 < n) {
        const unsigned c = b[i];
        if (c == 0x1B) {
            if (at(i + 1) == '$') {
                const unsigned d = at(i + 2);
                if (d == 'B') result = jdJisNew;
                else if (d == '@') result = jdJisOld;
                i += 3;
            } else {
                i += 2;
            }
        } else if (c <= 0x07 || c == 0xFF) {
            result = jdBinary;
            ++i;
        } else if (c <= 0x7F || c == 0x80 || c == 0xA0) {
            ++i;
        } else if (c <= 0x9F && c != 0x8E) {
            result = jdSjis;
            ++i;
        } else if (c == 0x8E) {
            const unsigned d = b[i + 1];
            if ((d >= 0x40 && d <= 0x7E) || (d >= 0x80 && d <= 0xA0) || (d >= 0xE0 && d <= 0xFC)) result = jdSjis;
            else if (d >= 0xA1 && d <= 0xDF) result = jdEucOrSjis;
            i += 2;
        } else if (c >= 0xF0) {
            result = jdEuc;
            ++i;
        } else if (c >= 0xE0) {
            const unsigned d = b[i + 1];
            if ((d >= 0x40 && d <= 0x7E) || (d >= 0x80 && d <= 0xA0)) result = jdSjis;
            else if (d >= 0xFD && d <= 0xFE) result = jdEuc;
            else if (d >= 0xA1 && d <= 0xFC) result = jdEucOrSjis;
            i += 2;
        } else {  // A1-DF
            std::size_t j = i + 1;
            unsigned d = b[j];
            if (d >= 0xF0 && d <= 0xFE) result = jdEuc;
            else if (d >= 0xA1 && d <= 0xDF) result = jdEucOrSjis;
            else if (d <= 0x9F) result = jdSjis;
            else if (d >= 0xE0 && d <= 0xEF) {
                // A run of possible Shift-JIS pairs after a katakana byte; its terminating byte goes unexamined.
                result = jdEucOrSjis;
                while (d >= 0x40 && j < n && result == jdEucOrSjis) {
                    if (d >= 0x81) {
                        if (d <= 0x8D || (d >= 0x8F && d <= 0x9C)) result = jdSjis;
                        else if (d >= 0xFD && d <= 0xFE) result = jdEuc;
                    }
                    d = at(++j);
                }
            }
            i = j + 1;
        }
    }
    return static_cast<TJisDetect>(result);
}

std::string ConvertKanjiCodeFrom(std::string_view text, TJisDetect source, TJisDetect target)
{
    // Shift-JIS is the only target the program asks for; other requests leave the text alone.
    if (source <= jdBinary || source == target || source == jdEucOrSjis || target != jdSjis)
        return std::string(text);
    // A byte iconv does not take goes through as it is, and the rest is converted all the same.
    if (source == jdJisNew || source == jdJisOld) return TIconv("CP932", "ISO-2022-JP").ConvertPassing(text);
    if (source == jdEuc) return TIconv("CP932", "EUC-JP-MS").ConvertPassing(text);
    return std::string(text);
}

std::string ConvertKanjiCode(std::string_view text, TJisDetect target)
{
    return ConvertKanjiCodeFrom(text, DetectJisCode(text), target);
}

} // namespace pictor
