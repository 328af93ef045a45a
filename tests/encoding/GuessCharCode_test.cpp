#include "encoding/GuessCharCode.h"

#include "encoding/IconvText.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

using test::Iconv;

const char* const kSentence = "<p>日本語のテキストです。カタカナとひらがなと漢字が混ざっています。</p>\n";

TEST(GuessCharCode, RecognisesEachEncoding)
{
    EXPECT_EQ(ccEuc, GuessCharCode(Iconv(kSentence, "UTF-8", "EUC-JP")));
    EXPECT_EQ(ccSjis, GuessCharCode(Iconv(kSentence, "UTF-8", "CP932")));
    EXPECT_EQ(ccJis, GuessCharCode(Iconv(kSentence, "UTF-8", "ISO-2022-JP")));
    EXPECT_EQ(ccUtf8, GuessCharCode(kSentence));
}

TEST(GuessCharCode, NothingToScoreIsShiftJis)
{
    EXPECT_EQ(ccSjis, GuessCharCode(""));
    EXPECT_EQ(ccSjis, GuessCharCode("<html><body bgcolor=\"#FFFFFF\"></body></html>\r\n"));
    const TCharCodeScores s = CharCodeScores("plain ascii");
    EXPECT_EQ(0, s.Euc + s.Sjis + s.Jis + s.Utf8);
}

TEST(GuessCharCode, ScoresCountWhatTheyShould)
{
    EXPECT_EQ(30, CharCodeScores("あいうえおかきくけこ").Utf8);  // bytes, 3 per kana
    EXPECT_EQ(0, CharCodeScores("漢字").Utf8);                    // only kana count

    // JIS: characters of closed kanji runs plus bytes of katakana runs.
    EXPECT_EQ(3, CharCodeScores("\x1B$B\x30\x21\x30\x22\x30\x23\x1B(B").Jis);
    EXPECT_EQ(4, CharCodeScores("\x1B(I\x31\x32\x33\x34\x1B(B").Jis);
    EXPECT_EQ(2, CharCodeScores("\x1B$@\x30\x21\x30\x22\x1B(J").Jis);

    // Shift-JIS: pairs from E380 on do not count, nor pairs without a JIS X 0208 code.
    EXPECT_EQ(1, CharCodeScores("\xE3\x7E").Sjis);
    EXPECT_EQ(0, CharCodeScores("\xE3\x80").Sjis);
    EXPECT_EQ(0, CharCodeScores("\x87\x40").Sjis);  // ①

    // EUC-JP: every 8E pair, and kana pairs only.
    EXPECT_EQ(2, CharCodeScores("\x8E\x41\xA4\xA2\xB4\xC1").Euc);
}

TEST(GuessCharCode, UnclosedKanjiRunScoresNothing)
{
    const std::string text = "\x1B$B\x30\x21\x30\x22\x30\x23";
    EXPECT_EQ(0, CharCodeScores(text).Jis);
    EXPECT_EQ(ccSjis, GuessCharCode(text));
}

TEST(GuessCharCode, TiesFollowTheDecisionOrder)
{
    // Half-width katakana in EUC-JP are also defined Shift-JIS kanji: equal scores, EUC-JP wins.
    const std::string kana = "\x8E\xB1\x8E\xB2\x8E\xB3";
    const TCharCodeScores s = CharCodeScores(kana);
    EXPECT_EQ(3, s.Euc);
    EXPECT_EQ(3, s.Sjis);
    EXPECT_EQ(ccEuc, GuessCharCode(kana));

    // One UTF-8 kana (3) against one closed JIS run of three characters (3): UTF-8 wins.
    const std::string mixed = std::string("あ") + "\x1B$B\x30\x21\x30\x22\x30\x23\x1B(B";
    const TCharCodeScores m = CharCodeScores(mixed);
    EXPECT_EQ(3, m.Utf8);
    EXPECT_EQ(3, m.Jis);
    EXPECT_EQ(ccUtf8, GuessCharCode(mixed));
}

TEST(GuessCharCode, ZeroByteEndsTheText)
{
    const std::string text = std::string("abc", 3) + '\0' + "ひらがな";
    EXPECT_EQ(0, CharCodeScores(text).Utf8);
    EXPECT_EQ(ccSjis, GuessCharCode(text));
}

TEST(GuessCharCode, IsMultiByteUtf8)
{
    EXPECT_TRUE(IsMultiByteUtf8("abc é"));
    EXPECT_TRUE(IsMultiByteUtf8(kSentence));
    EXPECT_FALSE(IsMultiByteUtf8("plain"));
    EXPECT_FALSE(IsMultiByteUtf8(Iconv(kSentence, "UTF-8", "CP932")));
    EXPECT_FALSE(IsMultiByteUtf8("\xC0\x80"));        // overlong
    EXPECT_FALSE(IsMultiByteUtf8("\xED\xA0\x80"));    // surrogate
    EXPECT_FALSE(IsMultiByteUtf8("ok \xE3\x81"));     // cut off
}

} // namespace
} // namespace pictor
