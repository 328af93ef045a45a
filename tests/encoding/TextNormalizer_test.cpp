// What the encoding guess decides, and what the normaliser makes of each encoding: Shift-JIS with CR LF
// breaks (a sheet marked UTF-16 is searched for its imports in this form).
#include "encoding/GuessCharCode.h"
#include "encoding/TextNormalizer.h"

#include "encoding/IconvText.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

using test::Iconv;

const char* const kSentence = "<p>日本語のテキストです。カタカナとひらがなと漢字が混ざっています。</p>\n";

TEST(TextNormalizer, EachEncodingBecomesShiftJisWithCrLfBreaks)
{
    const std::string sjis = Iconv(kSentence, "UTF-8", "CP932");
    const std::string sjisCrLf = sjis.substr(0, sjis.size() - 1) + "\r\n";
    const struct {
        std::string Bytes;
        TCharCode Code;
        std::string Text;
    } cases[] = {
        {std::string("\xFE\xFF\x00\x3C", 4), ccUtf16BE, "<"},
        {"\xFF\xFE" + Iconv("@import \"あ.css\";\n", "UTF-8", "UTF-16LE") + std::string("\0\0x\0", 4), ccUtf16LE,
         "@import \"\x82\xA0.css\";\r\n"},  // up to the first zero unit
        {Iconv(kSentence, "UTF-8", "EUC-JP"), ccEuc, sjisCrLf},
        {Iconv(kSentence, "UTF-8", "ISO-2022-JP"), ccJis, sjisCrLf},
        {std::string("\xEF\xBB\xBF") + kSentence, ccUtf8, sjisCrLf},
        {"a\rb\nc\r\n", ccSjis, "a\r\nb\r\nc\r\n"},
        {"GIF89a\x01\x00\n", ccBinary, "GIF89a\x01\x00\n"},  // left as it is
    };
    for (const auto& c : cases) {
        std::string text = c.Bytes;
        EXPECT_EQ(NormalizeText(text), c.Code) << c.Bytes;
        EXPECT_EQ(text, c.Text) << c.Bytes;
    }
}

TEST(GuessCharCode, DecidesEachEncodingAndBreaksTiesInOrder)
{
    const struct {
        std::string Text;
        TCharCode Code;
    } cases[] = {
        {Iconv(kSentence, "UTF-8", "EUC-JP"), ccEuc},
        {Iconv(kSentence, "UTF-8", "CP932"), ccSjis},
        {Iconv(kSentence, "UTF-8", "ISO-2022-JP"), ccJis},
        {kSentence, ccUtf8},
        {"<html><body bgcolor=\"#FFFFFF\"></body></html>\r\n", ccSjis},  // nothing to go by
        {std::string("abc", 3) + '\0' + "ひらがな", ccSjis},             // a zero byte ends the text
        // Half-width katakana in EUC-JP are also Shift-JIS kanji: equal scores, EUC-JP wins.
        {"\x8E\xB1\x8E\xB2\x8E\xB3", ccEuc},
        // One UTF-8 kana against one closed JIS run of three characters: equal scores, UTF-8 wins.
        {std::string("あ") + "\x1B$B\x30\x21\x30\x22\x30\x23\x1B(B", ccUtf8},
    };
    for (const auto& c : cases) EXPECT_EQ(GuessCharCode(c.Text), c.Code) << c.Text;
}

TEST(GuessCharCode, IsMultiByteUtf8OnlyForWellFormedUtf8)
{
    EXPECT_TRUE(IsMultiByteUtf8("abc é"));
    for (const std::string& text : {std::string("plain"), Iconv(kSentence, "UTF-8", "CP932"), std::string("\xC0\x80"),
                                    std::string("\xED\xA0\x80"), std::string("ok \xE3\x81")})
        EXPECT_FALSE(IsMultiByteUtf8(text)) << text;  // ASCII, Shift-JIS, overlong, surrogate, cut off
}

} // namespace
} // namespace pictor
