// What the encoding guess decides, ties included.
#include "encoding/GuessCharCode.h"

#include "encoding/IconvText.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

using test::Iconv;

const char* const kSentence = "<p>日本語のテキストです。カタカナとひらがなと漢字が混ざっています。</p>\n";

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
