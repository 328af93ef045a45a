#include "encoding/PzConv.h"

#include "encoding/IconvText.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

using test::Iconv;

// Every kana and kanji of JIS X 0208 that iconv maps to code page 932 and back, a row per line.
TEST(PzConv, AgreesWithIconvOnJisX0208Text)
{
    std::string euc;
    for (unsigned row = 1; row <= 84; ++row) {
        if (row != 4 && row != 5 && row < 16) continue;
        euc += "row " + std::to_string(row) + ": ";
        for (unsigned cell = 1; cell <= 94; ++cell) {
            const std::string ch{static_cast<char>(0xA0 + row), static_cast<char>(0xA0 + cell)};
            if (test::RoundTrips(ch, "EUC-JP", "CP932")) euc += ch;
        }
        euc += "\n";
    }
    ASSERT_GT(euc.size(), 12000u);
    const std::string sjis = Iconv(euc, "EUC-JP", "CP932");
    const std::string jis = Iconv(euc, "EUC-JP", "ISO-2022-JP");
    EXPECT_EQ(sjis, PzConv().EucToSjis(euc));
    EXPECT_EQ(sjis, PzConv().JisToSjis(jis));
    EXPECT_EQ(euc, PzConv().SjisToEuc(sjis));
    EXPECT_EQ(jis, PzConv().SjisToJis(sjis));
}

TEST(PzConv, EucRoundTripsEveryPairAndHalfWidthKana)
{
    std::string euc = "ascii\r\n";
    for (unsigned lead = 0xA1; lead <= 0xFE; ++lead)
        for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) euc += {static_cast<char>(lead), static_cast<char>(trail)};
    for (unsigned kana = 0xA1; kana <= 0xDF; ++kana) euc += {'\x8E', static_cast<char>(kana)};
    EXPECT_EQ(euc, PzConv().SjisToEuc(PzConv().EucToSjis(euc)));
}

// Three-byte characters take codes of the user area, one each (鷗 twice shares one), the trail 0x7F
// skipped, and the characters around them stay in step, with or without a place to record the mapping;
// past the area's 1,880 codes they pass through.
TEST(PzConv, ThreeByteEucCharactersTakeTheUserAreaAndRoundTrip)
{
    const std::string euc = Iconv("森鷗外と丂鷗、<b>乹楽部</b>", "UTF-8", "EUC-JP");
    TEucExtraChars extra;
    const std::string sjis = PzConv().EucToSjis(euc, &extra);
    ASSERT_EQ(3u, extra.Codes.size());
    const std::string around = Iconv("森", "UTF-8", "CP932") + "\xF0\x40" + Iconv("外と", "UTF-8", "CP932");
    EXPECT_EQ(around, sjis.substr(0, around.size()));
    EXPECT_EQ(euc, PzConv().SjisToEuc(sjis, &extra));
    EXPECT_EQ(sjis, PzConv().EucToSjis(euc));

    std::string many;
    for (unsigned k = 0; k <= 1880; ++k)
        many += {'\x8F', static_cast<char>(0xA1 + k / 94), static_cast<char>(0xA1 + k % 94)};
    TEucExtraChars all;
    const std::string sjisMany = PzConv().EucToSjis(many, &all);
    ASSERT_EQ(1880u, all.Codes.size());
    EXPECT_EQ("\xF0\x7E\xF0\x80", sjisMany.substr(62 * 2, 4));
    EXPECT_EQ("\xF9\xFC\x8F", sjisMany.substr(1879 * 2, 3));
    EXPECT_EQ(many.substr(0, 1880 * 3), PzConv().SjisToEuc(sjisMany.substr(0, 1880 * 2), &all));
}

} // namespace
} // namespace pictor
