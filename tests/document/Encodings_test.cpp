#include "document/SaveDocument.h"
#include "encoding/IconvText.h"
#include "support/Errors.h"
#include "support/SiteBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace pictor;
using namespace pictor::test;

namespace {

// A page and, when Sheet is not empty, the sheet s.css it links; "%" stands where a colour is written.
struct TEncodingCase {
    const char* Title;
    const char* Encoding;  // of both files, as iconv names it; nullptr: the bytes are given as they are
    std::string Page;
    std::string Sheet;
    int Code;               // of the sheet when there is one, else of the page
    std::string_view Name;  // what the status bar shows for it
};

std::string Filled(const std::string& text, const char* colour)
{
    std::string out;
    for (char c : text) out += c == '%' ? std::string(colour) : std::string(1, c);
    return out;
}

std::string Encoded(const TEncodingCase& c, const std::string& text, const char* colour)
{
    const std::string filled = Filled(text, colour);
    return c.Encoding ? Iconv(filled, "UTF-8", c.Encoding) : filled;
}

const std::string Link = "<link rel=\"stylesheet\" href=\"s.css\">";
const std::string KanjiSheet = "/* 日本 */\na { color: % }\n";
// Every byte from 0x80 up, then a byte that is a Shift-JIS lead byte right before a tag.
std::string HighBytes()
{
    std::string bytes;
    for (int b = 0x80; b <= 0xFF; ++b) bytes += char(b);
    return bytes + "</p>\x94<font color=\"%\">x</font>";
}

} // namespace

// Each file is read in its own encoding, inverted and saved: outside the colour the bytes are the original's.
// How each declaration reads is DeclaredCharCode's and each guess GuessCharCode's: here each conversion once.
TEST(Encodings, DeclaredOrValidUtf8WinsAndEveryByteOutsideTheColourIsKept)
{
    const TEncodingCase cases[] = {
        {"byte-order mark", "UTF-8", Link, "\xEF\xBB\xBF" + KanjiSheet, ccUtf8, "UTF-8"},
        {"@charset utf-8 (kanji only)", "UTF-8", Link, "@charset \"utf-8\";\n" + KanjiSheet, ccUtf8, "UTF-8"},
        {"@charset EUC-JP (kanji only)", "EUC-JP", Link, "@charset \"EUC-JP\";\n" + KanjiSheet, ccEuc, "EUC-JP"},
        {"link charset", "EUC-JP", "<link rel=\"stylesheet\" href=\"s.css\" charset=\"EUC-JP\">", KanjiSheet, ccEuc,
         "EUC-JP"},
        {"undeclared kanji only", "UTF-8", Link, KanjiSheet, ccUtf8, "UTF-8"},
        {"Shift-JIS undeclared", "CP932", "<p>表示のテキストです</p><font color=\"%\">", "", ccSjis, "Shift-JIS"},
        {"ISO-2022-JP declared", "ISO-2022-JP", "<meta charset=\"ISO-2022-JP\">\n<p>日本語</p>\n<font color=\"%\">", "",
         ccJis, "ISO-2022-JP"},
        {"single-byte declared", nullptr, "<meta charset=\"windows-1252\"><p title=caf\xE9>" + HighBytes(), "",
         ccSingleByte, "WINDOWS-1252"},
    };
    for (const TEncodingCase& c : cases) {
        SCOPED_TRACE(c.Title);
        TSite site;
        const std::string page = site.Add("index.html", Encoded(c, c.Page, "red"));
        const std::string sheet = c.Sheet.empty() ? "" : site.Add("s.css", Encoded(c, c.Sheet, "red"));
        THtmlStructure doc = site.Open("index.html");
        const TElements& file = sheet.empty() ? doc.Page : doc.GetSheet(0);
        EXPECT_EQ(file.CharCode, c.Code);
        EXPECT_EQ(file.EncodingName(), c.Name);
        EXPECT_EQ(file.Colors.size(), 1u);
        Change(doc, TAdjustment::Invert());
        EXPECT_NO_THROW(SaveDocument(doc, {}));
        EXPECT_EQ(ReadAll(page), Encoded(c, c.Page, "#00FFFF"));
        if (!sheet.empty()) {
            EXPECT_EQ(ReadAll(sheet), Encoded(c, c.Sheet, "#00FFFF"));
        }
    }
}

// EUC-JP that its conversion would not give back is kept as read; ISO-2022-JP that it would not give
// back is not written: the save stops, before any file is renamed into place, and says why.
TEST(Encodings, AFileItsConversionWouldNotGiveBackIsKeptAsReadOrNotWritten)
{
    const std::string link = "<link rel=\"stylesheet\" href=\"s.css\" charset=\"%\"><font color=\"red\">";
    {
        TSite site;
        const std::string cut = "/* " + Iconv("日本", "UTF-8", "EUC-JP") + " */ a { color: % }\xA4";  // a character cut off
        site.Add("index.html", Filled(link, "euc-jp"));
        const std::string sheet = site.Add("s.css", Filled(cut, "red"));
        THtmlStructure doc = site.Open("index.html");
        EXPECT_EQ(doc.GetSheet(0).EncodingName(), "EUC-JP");
        Change(doc, TAdjustment::Invert());
        SaveDocument(doc, {});
        EXPECT_EQ(ReadAll(sheet), Filled(cut, "#00FFFF"));
    }
    TSite site;
    const std::string page = site.Add("index.html", Filled(link, "iso-2022-jp"));
    // A pair outside JIS X 0208 in a kanji run: reading drops it.
    const std::string lossy = "/* \x1B$B\x30\x21\x7F\x21\x1B(B */ a { color: red }\n";
    const std::string sheet = site.Add("s.css", "/* \n" + lossy);
    THtmlStructure doc = site.Open("index.html");
    Change(doc, TAdjustment::Invert());
    const TPictorError error = ErrorOf([&] { SaveDocument(doc, {}); });
    EXPECT_EQ(error.File, sheet);
    EXPECT_EQ(error.Reason, "ISO-2022-JP として読むと失われるバイトがあるため、保存を中止しました（2 行目）");
    EXPECT_EQ(ReadAll(page), Filled(link, "iso-2022-jp"));
    EXPECT_EQ(ReadAll(sheet), "/* \n" + lossy);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(site.Root.Path()), {}), 2) << "no temporary left";
}
