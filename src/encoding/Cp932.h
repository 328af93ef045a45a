#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace pictor::cp932 {

// Code page 932 facts, built once from glibc iconv ("CP932", "EUC-JP", "EUC-JP-MS", "UTF-16LE") into tables.
bool IsDefined(std::uint16_t sjisPair);       // a two-byte character defined in code page 932
bool HasJisX0208Code(std::uint16_t sjisPair); // the character has a JIS X 0208 code
// A UTF-16 code unit as code page 932 bytes: 0 (none), 1 or 2 bytes in out.
int FromUtf16(std::uint16_t unit, unsigned char out[2]);
// Whole-text conversions to code page 932; characters it cannot hold become '?'.
std::string FromUtf8(std::string_view utf8);
std::string FromUtf16Units(const std::u16string& units);
// Code page 932 to UTF-8, for reports (the command-line tool's JSON); undefined bytes become U+FFFD.
std::string ToUtf8(std::string_view sjis);

// The same facts one character at a time, straight from iconv and answered as above, for a caller that
// asks about a few characters only: building the tables takes a hundred thousand conversions.
class TCharFacts {
public:
    TCharFacts();
    ~TCharFacts();
    TCharFacts(const TCharFacts&) = delete;
    TCharFacts& operator=(const TCharFacts&) = delete;

    bool IsDefined(std::uint16_t sjisPair);
    bool HasJisX0208Code(std::uint16_t sjisPair);
    int FromUtf16(std::uint16_t unit, unsigned char out[2]);

private:
    struct TConverters;
    std::unique_ptr<TConverters> Converters_;
};

} // namespace pictor::cp932
