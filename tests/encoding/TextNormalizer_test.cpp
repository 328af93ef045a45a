#include "encoding/GuessCharCode.h"
#include "encoding/TextNormalizer.h"

#include "encoding/IconvText.h"

#include <gtest/gtest.h>

#include <utility>

namespace pictor {
namespace {

using test::Iconv;

// The detected code and what the text became.
std::pair<TCharCode, std::string> Normalized(std::string text)
{
    const TCharCode code = NormalizeText(text);
    return {code, text};
}

TEST(TextNormalizer, MarkedUtf16AndUtf8)
{
    EXPECT_EQ(Normalized(std::string("\xFE\xFF\x00\x3C", 4)), std::pair(ccUtf16BE, std::string("<")));
    // Converted up to the first zero unit, lone LF made CR LF.
    const std::string le = "\xFF\xFE" + Iconv("@import \"あ.css\";\n", "UTF-8", "UTF-16LE") + std::string("\0\0x\0", 4);
    EXPECT_EQ(Normalized(le), std::pair(ccUtf16LE, std::string("@import \"\x82\xA0.css\";\r\n")));
    EXPECT_EQ(Normalized("\xEF\xBB\xBF" "a{color:red}"), std::pair(ccUtf8, std::string("a{color:red}")));
    EXPECT_EQ(Normalized("/* ひらがなのコメント */\n"),
              std::pair(ccUtf8, Iconv("/* ひらがなのコメント */\r\n", "UTF-8", "CP932")));
}

TEST(TextNormalizer, BinaryTestLooksAtTheFirst2048BytesUpToAZero)
{
    EXPECT_EQ(Normalized("\xFF\xFE"), std::pair(ccBinary, std::string("\xFF\xFE")));  // too short for UTF-16
    std::string text(3000, 'a');
    text[2047] = '\x05';
    EXPECT_EQ(Normalized(text), std::pair(ccBinary, text));
    text[2047] = 'a';
    text[2048] = '\x05';
    EXPECT_NE(ccBinary, Normalized(text).first);
    text[2048] = 'a';
    text[10] = '\0';
    text[20] = '\x05';
    EXPECT_NE(ccBinary, Normalized(text).first);
}

TEST(TextNormalizer, GuessedEncodingsBecomeShiftJisWithCrLf)
{
    const std::string utf8 = "/* ひらがなとカタカナの説明 */\r\n@import url(a.css);\r\n";
    const std::string sjis = Iconv(utf8, "UTF-8", "CP932");
    EXPECT_EQ(Normalized(Iconv(utf8, "UTF-8", "EUC-JP")), std::pair(ccEuc, sjis));
    EXPECT_EQ(Normalized(Iconv(utf8, "UTF-8", "ISO-2022-JP")), std::pair(ccJis, sjis));
    EXPECT_EQ(Normalized(sjis), std::pair(ccSjis, sjis));
    // An empty kanji run leaves no stray bytes.
    EXPECT_EQ(Normalized("a\x1B$B\x1B(Bb\x1B$B\x24\x22\x1B(B"), std::pair(ccJis, std::string("ab\x82\xA0")));

    EXPECT_EQ(Normalized("a\nb\rc\r\nd\n\re").second, "a\r\nb\r\nc\r\nd\r\n\r\ne");
    EXPECT_EQ(Normalized("\x81\n").second, "\x81\n");  // a two-byte character is passed over whole
}

TEST(TextNormalizer, DetectJisCode)
{
    EXPECT_EQ(jdAscii, DetectJisCode("abc\x82"));  // the last byte never starts a step
    EXPECT_EQ(jdJisNew, DetectJisCode("a\x1B$B\x24\x22"));
    EXPECT_EQ(jdJisOld, DetectJisCode("a\x1B$@\x24\x22"));
    EXPECT_EQ(jdBinary, DetectJisCode("a\x05zz"));
    EXPECT_EQ(jdSjis, DetectJisCode("\x82\xA0"));
    EXPECT_EQ(jdEuc, DetectJisCode("\xA4\xA2\xF3\xF3x"));
    EXPECT_EQ(jdEucOrSjis, DetectJisCode("\xA4\xA2\xA4\xA4x"));
    EXPECT_EQ(jdSjis, DetectJisCode("\x8E\x41x"));

    // After a katakana byte and E0-EF, the run decides by 81-8D, 8F-9C and FD-FE.
    EXPECT_EQ(jdSjis, DetectJisCode("\xB1\xE0\x41\x9C\x41"));
    EXPECT_EQ(jdEucOrSjis, DetectJisCode("\xB1\xE0\x41\x9D\x41"));
    EXPECT_EQ(jdEuc, DetectJisCode("\xB1\xE0\xFD\x41"));
    // The byte that ends the run goes unexamined.
    EXPECT_EQ(jdEucOrSjis, DetectJisCode("\xB1\xE0\x1B$B\x24\x22"));
}

TEST(TextNormalizer, ConvertKanjiCode)
{
    // Any ESC with a second byte $ enters kanji, ( leaves it; pairs convert whatever they are.
    EXPECT_EQ("\x82\xA0z", ConvertKanjiCodeFrom("\x1B$X\x24\x22\x1B(Zz", jdJisNew, jdSjis));
    EXPECT_EQ("A", ConvertKanjiCodeFrom("\x8E\x41", jdEuc, jdSjis));
    EXPECT_EQ("\xA4\xA2", ConvertKanjiCodeFrom("\xA4\xA2", jdEuc, jdEuc));
    EXPECT_EQ("\xA4\xA2\xA4\xA4", ConvertKanjiCode("\xA4\xA2\xA4\xA4", jdSjis));  // undecided: unchanged
    EXPECT_EQ(Iconv("あ陝", "UTF-8", "CP932"), ConvertKanjiCode(Iconv("あ陝", "UTF-8", "EUC-JP"), jdSjis));
    // A katakana byte before E0-EF starts a run that swallows the decisive F3 here.
    EXPECT_EQ("\xA4\xA2\xA5\xE1\xF3\xF3", ConvertKanjiCode("\xA4\xA2\xA5\xE1\xF3\xF3", jdSjis));
}

const char* const kSentence = "<p>日本語のテキストです。カタカナとひらがなと漢字が混ざっています。</p>\n";

TEST(GuessCharCode, RecognisesEachEncodingAndDefaultsToShiftJis)
{
    EXPECT_EQ(ccEuc, GuessCharCode(Iconv(kSentence, "UTF-8", "EUC-JP")));
    EXPECT_EQ(ccSjis, GuessCharCode(Iconv(kSentence, "UTF-8", "CP932")));
    EXPECT_EQ(ccJis, GuessCharCode(Iconv(kSentence, "UTF-8", "ISO-2022-JP")));
    EXPECT_EQ(ccUtf8, GuessCharCode(kSentence));
    EXPECT_EQ(ccSjis, GuessCharCode("<html><body bgcolor=\"#FFFFFF\"></body></html>\r\n"));
    // A zero byte ends the text.
    EXPECT_EQ(ccSjis, GuessCharCode(std::string("abc", 3) + '\0' + "ひらがな"));
}

TEST(GuessCharCode, ScoresCountWhatTheyShould)
{
    EXPECT_EQ(30, CharCodeScores("あいうえおかきくけこ").Utf8);  // bytes, 3 per kana
    EXPECT_EQ(0, CharCodeScores("漢字").Utf8);                    // only kana count

    // JIS: characters of closed kanji runs plus bytes of katakana runs.
    EXPECT_EQ(3, CharCodeScores("\x1B$B\x30\x21\x30\x22\x30\x23\x1B(B").Jis);
    EXPECT_EQ(0, CharCodeScores("\x1B$B\x30\x21\x30\x22\x30\x23").Jis);  // unclosed
    EXPECT_EQ(4, CharCodeScores("\x1B(I\x31\x32\x33\x34\x1B(B").Jis);
    EXPECT_EQ(2, CharCodeScores("\x1B$@\x30\x21\x30\x22\x1B(J").Jis);

    // Shift-JIS: pairs from E380 on do not count, nor pairs without a JIS X 0208 code.
    EXPECT_EQ(1, CharCodeScores("\xE3\x7E").Sjis);
    EXPECT_EQ(0, CharCodeScores("\xE3\x80").Sjis);
    EXPECT_EQ(0, CharCodeScores("\x87\x40").Sjis);  // ①

    // EUC-JP: every 8E pair, and kana pairs only.
    EXPECT_EQ(2, CharCodeScores("\x8E\x41\xA4\xA2\xB4\xC1").Euc);
}

TEST(GuessCharCode, TiesFollowTheDecisionOrder)
{
    // Half-width katakana in EUC-JP are also defined Shift-JIS kanji: equal scores, EUC-JP wins.
    const std::string kana = "\x8E\xB1\x8E\xB2\x8E\xB3";
    EXPECT_EQ(3, CharCodeScores(kana).Euc);
    EXPECT_EQ(3, CharCodeScores(kana).Sjis);
    EXPECT_EQ(ccEuc, GuessCharCode(kana));

    // One UTF-8 kana (3) against one closed JIS run of three characters (3): UTF-8 wins.
    const std::string mixed = std::string("あ") + "\x1B$B\x30\x21\x30\x22\x30\x23\x1B(B";
    EXPECT_EQ(3, CharCodeScores(mixed).Utf8);
    EXPECT_EQ(3, CharCodeScores(mixed).Jis);
    EXPECT_EQ(ccUtf8, GuessCharCode(mixed));
}

TEST(GuessCharCode, IsMultiByteUtf8)
{
    EXPECT_TRUE(IsMultiByteUtf8("abc é"));
    EXPECT_FALSE(IsMultiByteUtf8("plain"));
    EXPECT_FALSE(IsMultiByteUtf8(Iconv(kSentence, "UTF-8", "CP932")));
    EXPECT_FALSE(IsMultiByteUtf8("\xC0\x80"));      // overlong
    EXPECT_FALSE(IsMultiByteUtf8("\xED\xA0\x80"));  // surrogate
    EXPECT_FALSE(IsMultiByteUtf8("ok \xE3\x81"));   // cut off
}

} // namespace
} // namespace pictor
