#include "encoding/TextNormalizer.h"

#include "encoding/IconvText.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

using test::Iconv;

TCharCode Normalized(std::string text, std::string& out)
{
    const TCharCode code = NormalizeText(text);
    out = text;
    return code;
}

TEST(TextNormalizer, Utf16WithMark)
{
    std::string out;
    EXPECT_EQ(ccUtf16LE, Normalized(std::string("\xFF\xFE\x3C\x00", 4), out));
    EXPECT_EQ("<", out);
    EXPECT_EQ(ccUtf16BE, Normalized(std::string("\xFE\xFF\x00\x3C", 4), out));
    EXPECT_EQ("<", out);

    // Converted up to the first zero unit, lone LF made CR LF.
    const std::string le = "\xFF\xFE" + Iconv("@import \"あ.css\";\n", "UTF-8", "UTF-16LE") + std::string("\0\0x\0", 4);
    EXPECT_EQ(ccUtf16LE, Normalized(le, out));
    EXPECT_EQ("@import \"\x82\xA0.css\";\r\n", out);
}

TEST(TextNormalizer, BinaryTest)
{
    std::string out;
    EXPECT_EQ(ccBinary, Normalized("\xFF\xFE", out));  // too short for UTF-16
    EXPECT_EQ("\xFF\xFE", out);

    std::string text(3000, 'a');
    text[2047] = '\x05';
    EXPECT_EQ(ccBinary, Normalized(text, out));
    EXPECT_EQ(text, out);

    text[2047] = 'a';
    text[2048] = '\x05';
    EXPECT_NE(ccBinary, Normalized(text, out));

    text[2048] = 'a';
    text[10] = '\0';  // a zero byte ends the test
    text[20] = '\x05';
    EXPECT_NE(ccBinary, Normalized(text, out));
}

TEST(TextNormalizer, Utf8WithAndWithoutMark)
{
    std::string out;
    EXPECT_EQ(ccUtf8, Normalized("\xEF\xBB\xBF" "a{color:red}", out));
    EXPECT_EQ("a{color:red}", out);
    EXPECT_EQ(ccUtf8, Normalized("/* ひらがなのコメント */\n", out));
    EXPECT_EQ(Iconv("/* ひらがなのコメント */\r\n", "UTF-8", "CP932"), out);
}

TEST(TextNormalizer, GuessedEncodingsBecomeShiftJis)
{
    const std::string utf8 = "/* ひらがなとカタカナの説明 */\r\n@import url(a.css);\r\n";
    const std::string sjis = Iconv(utf8, "UTF-8", "CP932");
    std::string out;
    EXPECT_EQ(ccEuc, Normalized(Iconv(utf8, "UTF-8", "EUC-JP"), out));
    EXPECT_EQ(sjis, out);
    EXPECT_EQ(ccJis, Normalized(Iconv(utf8, "UTF-8", "ISO-2022-JP"), out));
    EXPECT_EQ(sjis, out);
    EXPECT_EQ(ccSjis, Normalized(sjis, out));
    EXPECT_EQ(sjis, out);
    // An empty kanji run leaves no stray bytes.
    EXPECT_EQ(ccJis, Normalized("a\x1B$B\x1B(Bb\x1B$B\x24\x22\x1B(B", out));
    EXPECT_EQ("ab\x82\xA0", out);
}

TEST(TextNormalizer, LineBreaksBecomeCrLf)
{
    std::string out;
    Normalized("a\nb\rc\r\nd\n\re", out);
    EXPECT_EQ("a\r\nb\r\nc\r\nd\r\n\r\ne", out);
    Normalized("\x81\n", out);  // a two-byte character is passed over whole
    EXPECT_EQ("\x81\n", out);
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
    EXPECT_EQ("\x82\xA0", ConvertKanjiCodeFrom("\xA4\xA2", jdEuc, jdSjis));
    EXPECT_EQ("\xA4\xA2", ConvertKanjiCodeFrom("\xA4\xA2", jdEuc, jdEuc));
    EXPECT_EQ("\xA4\xA2\xA4\xA4", ConvertKanjiCode("\xA4\xA2\xA4\xA4", jdSjis));  // undecided: unchanged
    EXPECT_EQ(Iconv("あ陝", "UTF-8", "CP932"), ConvertKanjiCode(Iconv("あ陝", "UTF-8", "EUC-JP"), jdSjis));
    // A katakana byte before E0-EF starts a run that swallows the decisive F3 here.
    EXPECT_EQ("\xA4\xA2\xA5\xE1\xF3\xF3", ConvertKanjiCode("\xA4\xA2\xA5\xE1\xF3\xF3", jdSjis));
}

} // namespace
} // namespace pictor
