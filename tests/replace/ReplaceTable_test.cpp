#include "replace/ReplaceItem.h"
#include "replace/ReplaceTable.h"
#include "replace/Replacer.h"

#include "support/Errors.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

TEST(ReplaceItem, DialogTextIsStoredAsOneShiftJisLineAndReachesThePageWithItsBreaks)
{
    EXPECT_EQ(ApplyReplacements("k", {"k"}, {"p\\r\\nq"}), "p\r\nq");
    // A typed backslash n comes back as a line break.
    const TReplaceItem typed = ItemFromDialog("k", "a\\nb");
    EXPECT_EQ(typed.Value, "a\\nb");
    EXPECT_EQ(MemoTextOf(typed.Value), "a\nb");
    EXPECT_EQ(ApplyReplacements("k", {typed.Key}, {typed.Value}), "a\nb");

    const TReplaceItem sjis = ItemFromDialog("k", "色\nソ");
    EXPECT_EQ(sjis.Value, "\x90\x46\\r\\n\x83\x5C");
    EXPECT_EQ(MemoTextOf(sjis.Value), "色\nソ");
    EXPECT_EQ(MemoTextOf("a\\rb"), "a\nb");  // a lone CR from a file is one line break

    EXPECT_EQ(UnescapeForEditing("p\\r\\nq\\x\\"), "p\r\nq\\x\\");
    // "ソ" is 83 5C: its trail byte followed by n is no escape.
    EXPECT_EQ(UnescapeForEditing("\x83\x5Cn"), "\x83\x5Cn");
    EXPECT_EQ(UnescapeForEditing("\x83\x5C\\n"), "\x83\x5C\n");
}

// A double-byte character is copied whole, right after a replacement too: its trail byte starts no key.
TEST(ReplaceItem, DoubleByteCharactersAreNeverSplit)
{
    EXPECT_EQ(ApplyReplacements("a\x82\x61" "a\x82\x61", {"a"}, {"b"}), "b\x82\x61" "b\x82\x61");
}

TEST(ReplaceItem, ChecksRunInOrderAndOnlySingleByteShiftJisMakesAKey)
{
    EXPECT_EQ(CheckReplaceItem("", "x"), TItemCheck::EmptyKey);
    EXPECT_EQ(CheckReplaceItem("あ", ""), TItemCheck::EmptyValue);
    EXPECT_EQ(CheckReplaceItem("aあ", "x"), TItemCheck::DoubleByteKey);
    EXPECT_EQ(CheckReplaceItem("<br>", "x"), TItemCheck::Ok);
    EXPECT_EQ(CheckReplaceItem("ｱｲ", "x"), TItemCheck::Ok);             // half-width katakana
    EXPECT_EQ(CheckReplaceItem("Ａ", "x"), TItemCheck::DoubleByteKey);   // full-width letter
    EXPECT_EQ(CheckReplaceItem("😀", "x"), TItemCheck::DoubleByteKey);  // none in code page 932
    EXPECT_EQ(ItemCheckMessage(TItemCheck::DoubleByteKey), "置換対象文字列に全角文字を使うことはできません");
}

TEST(ReplaceTableFile, ParsesLinesEndedByCrLfCrOrLfSplitAtTheFirstEqualsSign)
{
    const TReplaceTable expected{{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}};
    EXPECT_EQ(ParseReplaceTable("a=1\nb=2\rc=3\r\nd=4"), expected);
    EXPECT_EQ(ParseReplaceTable("a=1\r\nb=2\r\nc=3\r\nd=4\r\n"), expected);
    // LF then CR ends two lines; an empty line is an entry with an empty key and value.
    EXPECT_EQ(ParseReplaceTable("a=1\n\rb=2"), (TReplaceTable{{"a", "1"}, {"", ""}, {"b", "2"}}));
    EXPECT_TRUE(ParseReplaceTable("").empty());
    EXPECT_EQ(ParseReplaceTable("k=v=w\nno equals\n=x\nk=\n"),
              (TReplaceTable{{"k", "v=w"}, {"", "no equals"}, {"", "x"}, {"k", ""}}));
}

TEST(ReplaceTableFile, RoundTripsThroughAFileAndNamesTheFileItCannotRead)
{
    test::TTempDir dir;
    // Shift-JIS "ソ" ends in 5C and "表" in 5C too: neither may be taken apart.
    const TReplaceTable table{{"a", "\x83\x5C\\n\x95\x5C"}, {"<br>", "p\\r\\nq\\\\"}, {"", ""}};
    const std::string path = dir / "table.dat";
    SaveReplaceTable(path, table);
    EXPECT_EQ(test::ReadAll(path), "a=\x83\x5C\\n\x95\x5C\r\n<br>=p\\r\\nq\\\\\r\n=\r\n");
    EXPECT_EQ(LoadReplaceTable(path), table);
    EXPECT_EQ(test::ErrorOf([&] { LoadReplaceTable(dir / "missing.dat"); }).File, dir / "missing.dat");
    EXPECT_EQ(ReplaceTableFileName("/home/u.v/table"), "/home/u.v/table.dat");
    EXPECT_EQ(ReplaceTableFileName("/home/u/table.txt"), "/home/u/table.dat");
    EXPECT_EQ(ReplaceTableFileName("/home/u/table.dat"), "/home/u/table.dat");
}

// Copies are the settings dialog's test; removal takes every selected row once, whatever the order.
TEST(ReplaceTableRows, RemovalTakesEverySelectedRow)
{
    TReplaceTable table{{"a", "1"}, {"b", "2"}, {"c", "3"}, {"a", "1"}, {"c", "3"}};
    RemoveRows(table, {4, 0, 4, 9});
    EXPECT_EQ(table, (TReplaceTable{{"b", "2"}, {"c", "3"}, {"a", "1"}}));
}

} // namespace
} // namespace pictor
