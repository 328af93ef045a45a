#include "encoding/DeclaredCharCode.h"

#include "encoding/IconvText.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

using test::Iconv;

TEST(DeclaredCharCode, NamesInAnyCase)
{
    const std::pair<const char*, int> names[] = {
        {"utf-8", ccUtf8},        {"UTF8", ccUtf8},          {" Utf-8 ", ccUtf8},      {"utf-16", ccUtf8},
        {"Shift_JIS", ccSjis},    {"SJIS", ccSjis},          {"x-sjis", ccSjis},       {"Windows-31J", ccSjis},
        {"CP932", ccSjis},        {"ms_kanji", ccSjis},      {"EUC-JP", ccEuc},        {"x-euc-jp", ccEuc},
        {"ISO-2022-JP", ccJis},   {"iso-8859-1", ccSingleByte}, {"windows-1252", ccSingleByte},
        {"", 0},                  {"   ", 0},                {"utf-8\"><x", 0},
    };
    for (const auto& [name, code] : names) EXPECT_EQ(CharCodeOfName(name).Code, code) << name;
    EXPECT_EQ(CharCodeOfName("iso-8859-15").Name, "ISO-8859-15");
}

// The plain declarations also go through a load and a save in
// Encodings.DeclaredOrValidUtf8WinsAndEveryByteOutsideTheColourIsKept; here the other ways they are
// written, and where they are none.
TEST(DeclaredCharCode, Pages)
{
    const std::string kanji = "<p>日本</p>";  // read as EUC-JP kana pairs by the guess alone
    const std::string filler(1100, ' ');
    const std::pair<std::string, int> pages[] = {
        {"\xEF\xBB\xBF<meta charset=\"shift_jis\">", ccUtf8},  // the mark wins
        {"\xFF\xFE<\0", ccUtf16LE},
        {"<META CHARSET=Shift_JIS>", ccSjis},
        {"<meta charset='iso-2022-jp'/>", ccJis},
        {"<meta content='text/html;charset=\"x-sjis\"' http-equiv=content-type>", ccSjis},
        {"<meta name=\"description\" content=\"charset=euc-jp\">" + kanji, ccUtf8},  // no http-equiv
        {"<!-- <meta charset=\"euc-jp\"> --><meta charset=\"utf-8\">", ccUtf8},
        {"<p title=\"<meta charset=euc-jp>\">" + kanji, ccUtf8},
        {"<meta charset=\"\"><meta charset=\"euc-jp\">", ccEuc},
        {filler + "<meta charset=\"euc-jp\">", ccSjis},  // past the first 1,024 bytes: ASCII, guessed
        {kanji, ccUtf8},  // undeclared, valid UTF-8; other undeclared text is the guess's test
    };
    for (const auto& [page, code] : pages) EXPECT_EQ(PageCharCode(page).Code, code) << page;
}

TEST(DeclaredCharCode, Sheets)
{
    const std::string kanji = "/* 日本 */ a { color: red }";
    const std::string eucKanji = Iconv(kanji, "UTF-8", "EUC-JP");
    const std::tuple<std::string, const char*, int> sheets[] = {
        {"\xEF\xBB\xBF" + eucKanji, "euc-jp", ccUtf8},
        {"@charset \"utf-8\";" + eucKanji, "euc-jp", ccUtf8},  // @charset before the link
        {" @charset \"EUC-JP\";" + kanji, "", ccUtf8},        // not at the very start
        {"@charset EUC-JP;" + kanji, "", ccUtf8},             // not quoted
        {eucKanji, "", ccSjis},  // kanji pairs that score nothing: the guess says Shift-JIS
        {kanji, "windows-1252", ccSingleByte},
    };
    for (const auto& [sheet, link, code] : sheets) EXPECT_EQ(SheetCharCode(sheet, link).Code, code) << sheet << link;
}

} // namespace
} // namespace pictor
