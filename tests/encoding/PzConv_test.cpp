#include "encoding/PzConv.h"

#include "encoding/IconvText.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

using test::Iconv;

TPzConv Conv(TJisKanaConvType kana, TJisByteCodeType close = btAscii)
{
    TPzConv conv;
    conv.JisByteCodeType = close;
    conv.JisKanaConvType = kana;
    return conv;
}

// EUC-JP text of every kana and every kanji row of JIS X 0208 that iconv maps to code page 932 and back,
// one row per line with some ASCII in between.
std::string JisX0208Euc()
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
    return euc;
}

TEST(PzConv, AgreesWithIconvOnJisX0208Text)
{
    const std::string euc = JisX0208Euc();
    ASSERT_GT(euc.size(), 12000u);
    const std::string sjis = Iconv(euc, "EUC-JP", "CP932");
    const std::string jis = Iconv(euc, "EUC-JP", "ISO-2022-JP");
    for (const TPzConv& conv : {PzConv(), Conv(ktZenWithDaku)}) {
        EXPECT_EQ(sjis, conv.EucToSjis(euc));
        EXPECT_EQ(sjis, conv.JisToSjis(jis));
        EXPECT_EQ(euc, conv.SjisToEuc(sjis));
        EXPECT_EQ(jis, conv.SjisToJis(sjis));
    }
}

TEST(PzConv, ProgramInstance)
{
    EXPECT_EQ(btAscii, PzConv().JisByteCodeType);
    EXPECT_EQ(ktNone, PzConv().JisKanaConvType);
    EXPECT_EQ("\x8E\xB1", PzConv().SjisToEuc("\xB1"));       // half-width kana kept
    EXPECT_EQ("\xB1", PzConv().SjisToJis("\xB1"));            // as an 8-bit byte
}

TEST(PzConv, EucRoundTripsEveryPairAndHalfWidthKana)
{
    std::string euc = "ascii\r\n";
    for (unsigned lead = 0xA1; lead <= 0xFE; ++lead)
        for (unsigned trail = 0xA1; trail <= 0xFE; ++trail) euc += {static_cast<char>(lead), static_cast<char>(trail)};
    for (unsigned kana = 0xA1; kana <= 0xDF; ++kana) euc += {'\x8E', static_cast<char>(kana)};
    EXPECT_EQ(euc, PzConv().SjisToEuc(PzConv().EucToSjis(euc)));
}

TEST(PzConv, ThreeByteEucCharactersRoundTrip)
{
    const std::string euc = Iconv("森鷗外と丂鷗、<b>乹楽部</b>", "UTF-8", "EUC-JP");
    ASSERT_NE(std::string::npos, euc.find('\x8F'));
    TEucExtraChars extra;
    const std::string sjis = PzConv().EucToSjis(euc, &extra);
    ASSERT_EQ(3u, extra.Codes.size());  // 鷗 twice shares one code
    EXPECT_EQ(0x8FECBFu, extra.Codes[0]);
    // The characters around them stay in step.
    const std::string around = Iconv("森", "UTF-8", "CP932") + "\xF0\x40" + Iconv("外と", "UTF-8", "CP932");
    EXPECT_EQ(around, sjis.substr(0, around.size()));
    EXPECT_EQ(euc, PzConv().SjisToEuc(sjis, &extra));

    // Without a place to record the mapping the text still reads in step.
    EXPECT_EQ(sjis, PzConv().EucToSjis(euc));
}

TEST(PzConv, ThreeByteCodesBeyondTheUserAreaPassThrough)
{
    std::string euc;
    for (unsigned k = 0; k <= 1880; ++k) euc += {'\x8F', static_cast<char>(0xA1 + k / 94), static_cast<char>(0xA1 + k % 94)};
    TEucExtraChars extra;
    const std::string sjis = PzConv().EucToSjis(euc, &extra);
    ASSERT_EQ(1880u, extra.Codes.size());
    EXPECT_EQ("\xF0\x40\xF0\x41", sjis.substr(0, 4));
    EXPECT_EQ("\xF0\x7E\xF0\x80", sjis.substr(62 * 2, 4));  // trail 7F skipped
    EXPECT_EQ("\xF9\xFC\x8F", sjis.substr(1879 * 2, 3));
    EXPECT_EQ(euc.substr(0, 1880 * 3), PzConv().SjisToEuc(sjis.substr(0, 1880 * 2), &extra));
}

TEST(PzConv, JisToSjisRecognisesOnlyItsThreeEscapes)
{
    EXPECT_EQ("\x1B$@\x24\x22\x1B(I1", PzConv().JisToSjis("\x1B$@\x24\x22\x1B(I1"));
    // A line break inside a kanji run is taken as a pair and dropped.
    EXPECT_EQ("\x82\xA0\x82\xA2x", PzConv().JisToSjis("\x1B$B\x24\x22\r\n\x24\x24\x1B(Bx"));
    EXPECT_EQ("\x82\xA0", PzConv().JisToSjis("\x1B$B\x24\x22\x24"));  // lone last byte dropped
    EXPECT_EQ("a\x82\xA0" "b", PzConv().JisToSjis("a\x1B$B\x24\x22\x1B(Jb"));
}

TEST(PzConv, SjisToJisClosesEveryRun)
{
    EXPECT_EQ("\x1B$B\x24\x22\x1B(B", PzConv().SjisToJis("\x82\xA0"));
    EXPECT_EQ("\x1B$B\x24\x22\x1B(J\n\x1B$B\x24\x24\x1B(J", Conv(ktNone, btRoman).SjisToJis("\x82\xA0\n\x82\xA2"));
}

TEST(PzConv, VoicedMarksMergeWithZenWithDaku)
{
    const TPzConv conv = Conv(ktZenWithDaku);
    EXPECT_EQ("\x1B$B\x25\x2C\x1B(B", conv.SjisToJis("\xB6\xDE"));           // ｶﾞ → ガ
    EXPECT_EQ("\x1B$B\x25\x74\x1B(B", conv.SjisToJis("\xB3\xDE"));           // ｳﾞ → ヴ
    EXPECT_EQ("\x1B$B\x25\x51\x1B(B", conv.SjisToJis("\xCA\xDF"));           // ﾊﾟ → パ
    EXPECT_EQ("\x1B$B\x25\x22\x21\x2B\x1B(B", conv.SjisToJis("\xB1\xDE"));   // ｱﾞ → ア゛

    const std::string half = Iconv("ｶﾞｷﾞｸﾞｹﾞｺﾞｻﾞｼﾞｽﾞｾﾞｿﾞﾀﾞﾁﾞﾂﾞﾃﾞﾄﾞﾊﾞﾋﾞﾌﾞﾍﾞﾎﾞﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟｳﾞﾟ", "UTF-8", "CP932");
    EXPECT_EQ(Iconv("ガギグゲゴザジズゼゾダヂヅデドバビブベボパピプペポヴ゜", "UTF-8", "EUC-JP"), conv.SjisToEuc(half));
}

TEST(PzConv, ZenSepaDakuWidensEveryHalfWidthByte)
{
    std::string half;
    for (unsigned c = 0xA1; c <= 0xDF; ++c) half += static_cast<char>(c);
    const std::string full = "。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワン゛゜";
    EXPECT_EQ(Iconv(full, "UTF-8", "EUC-JP"), Conv(ktZenSepaDaku).SjisToEuc(half));
    EXPECT_EQ(Iconv("カ゛", "UTF-8", "EUC-JP"), Conv(ktZenSepaDaku).SjisToEuc("\xB6\xDE"));
}

TEST(PzConv, TrailBytesAreNotTakenForKatakana)
{
    const std::string ko = Iconv("こソ", "UTF-8", "CP932");  // trail bytes B1 and 5C
    ASSERT_EQ('\xB1', ko[1]);
    EXPECT_EQ(Iconv("こソ", "UTF-8", "EUC-JP"), Conv(ktZenWithDaku).SjisToEuc(ko));
}

TEST(PzConv, MalformedBytesGiveDefinedResults)
{
    EXPECT_EQ("a\xA4", PzConv().EucToSjis("a\xA4"));         // lead byte at the end
    EXPECT_EQ("\x8E\x41", PzConv().EucToSjis("\x8E\x41"));   // 8E before no katakana
    EXPECT_EQ("\x8F\x41", PzConv().EucToSjis("\x8F\x41"));
    EXPECT_EQ("x\x82", PzConv().SjisToEuc("x\x82"));          // lead byte at the end
    EXPECT_EQ("\x82", PzConv().SjisToJis("\x82"));
    EXPECT_EQ("", PzConv().SjisToJis(""));
}

} // namespace
} // namespace pictor
