#include "encoding/Cp932.h"

#include "encoding/CharCode.h"
#include "encoding/IconvText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pictor {
namespace {

using test::Iconv;

// The conversions are checked against iconv below; here: which pairs ISO-2022-JP can hold, what stands
// in for what code page 932 lacks, and what a lead byte takes.
TEST(Cp932, JisPairsAndSubstitution)
{
    EXPECT_TRUE(cp932::HasJisX0208Code(0x8160));   // ～, Microsoft's form of the wave dash
    EXPECT_FALSE(cp932::HasJisX0208Code(0x8740));  // ①, NEC row 13
    EXPECT_FALSE(cp932::HasJisX0208Code(0xFA40));  // ⅰ, IBM extension
    EXPECT_EQ("?x", cp932::FromUtf8("éx"));
    EXPECT_EQ("?", cp932::FromUtf8("\xF0\x9F\x98\x80"));  // beyond the BMP
    EXPECT_EQ("a??", cp932::FromUtf8("a\xE3\x81"));        // cut-off sequence: each byte substituted
    EXPECT_EQ("\x82\xA0?!", cp932::FromUtf16Units(u"あ\U0001F600!"));
    EXPECT_EQ("?a", cp932::FromUtf16Units(std::u16string{char16_t(0xDC00), u'a'}));
    EXPECT_EQ("\xEF\xBF\xBD!", cp932::ToUtf8("\x82\n!"));  // a lead byte takes any byte after it
    EXPECT_EQ("\xEF\xBF\xBD", cp932::ToUtf8("\x85\x40"));  // unassigned pair
}

// Every defined character of code page 932, in both directions, agrees with iconv.
TEST(Cp932, AgreesWithIconvOnEveryCharacter)
{
    std::string sjis(1, '\0');
    for (unsigned c = 0x20; c < 0x7F; ++c) sjis += static_cast<char>(c);
    for (unsigned c = 0xA1; c <= 0xDF; ++c) sjis += static_cast<char>(c);
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            const auto pair = static_cast<std::uint16_t>(lead << 8 | trail);
            if (!cp932::IsDefined(pair)) continue;
            sjis += static_cast<char>(lead);
            sjis += static_cast<char>(trail);
        }
    }
    const std::string utf8 = Iconv(sjis, "CP932", "UTF-8");
    EXPECT_EQ(utf8, cp932::ToUtf8(sjis));
    EXPECT_EQ(Iconv(utf8, "UTF-8", "CP932"), cp932::FromUtf8(utf8));
    const std::string utf16 = Iconv(utf8, "UTF-8", "UTF-16LE");
    std::u16string units(utf16.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(utf16[2 * i])
                                         | static_cast<unsigned char>(utf16[2 * i + 1]) << 8);
    EXPECT_EQ(Iconv(utf8, "UTF-8", "CP932"), cp932::FromUtf16Units(units));
}

// A text with few characters beyond ASCII is guessed from single characters' facts, others from the
// tables: the two must never disagree.
TEST(Cp932, CharFactsAnswerAsTheTables)
{
    cp932::TCharFacts facts;
    int differing = 0;
    for (unsigned v = 0; v < 0x10000; ++v) {
        const auto value = static_cast<std::uint16_t>(v);
        unsigned char fromTables[2] = {}, fromFacts[2] = {};
        const int length = cp932::FromUtf16(value, fromTables);
        const bool same = facts.IsDefined(value) == cp932::IsDefined(value) &&
                          facts.HasJisX0208Code(value) == cp932::HasJisX0208Code(value) &&
                          facts.FromUtf16(value, fromFacts) == length &&
                          std::equal(fromTables, fromTables + length, fromFacts);
        if (!same && ++differing <= 5) ADD_FAILURE() << "differ at " << std::hex << v;
    }
    EXPECT_EQ(differing, 0);
}

} // namespace
} // namespace pictor
