#include "replace/ReplaceItem.h"

#include "replace/Replacer.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

TEST(ReplaceValueEscapes, LineBreaksBecomeBackslashLetters)
{
    EXPECT_EQ(EscapeReplacement("p\r\nq\\x"), "p\\r\\nq\\x");
    EXPECT_EQ(UnescapeForEditing("p\\r\\nq\\x\\"), "p\r\nq\\x\\");
}

TEST(ReplaceValueEscapes, DoubleByteCharactersAreUnits)
{
    // "ソ" is 83 5C: its trail byte followed by n is no escape.
    EXPECT_EQ(UnescapeForEditing("\x83\x5Cn"), "\x83\x5Cn");
    EXPECT_EQ(UnescapeForEditing("\x83\x5C\\n"), "\x83\x5C\n");
}

TEST(ReplaceItemDialogText, TwoLinesAreStoredAsOneLineAndReachThePageWithCrLf)
{
    const TReplaceItem item = ItemFromDialog("k", "p\nq");
    EXPECT_EQ(item, (TReplaceItem{"k", "p\\r\\nq"}));
    EXPECT_EQ(ApplyReplacements("k", {item.Key}, {item.Value}), "p\r\nq");
    EXPECT_EQ(MemoTextOf(item.Value), "p\nq");
}

TEST(ReplaceItemDialogText, TypedBackslashNComesBackAsALineBreak)
{
    const TReplaceItem item = ItemFromDialog("k", "a\\nb");
    EXPECT_EQ(item.Value, "a\\nb");
    EXPECT_EQ(MemoTextOf(item.Value), "a\nb");
    EXPECT_EQ(ApplyReplacements("k", {item.Key}, {item.Value}), "a\nb");
}

TEST(ReplaceItemDialogText, ConvertsBetweenTheDialogAndShiftJis)
{
    const TReplaceItem item = ItemFromDialog("k", "色\nソ");
    EXPECT_EQ(item.Value, "\x90\x46\\r\\n\x83\x5C");
    EXPECT_EQ(MemoTextOf(item.Value), "色\nソ");
    // A lone CR from a file is one line break in the memo.
    EXPECT_EQ(MemoTextOf("a\\rb"), "a\nb");
}

TEST(ReplaceItemChecks, RunInOrderKeyValueThenFullWidth)
{
    EXPECT_EQ(CheckReplaceItem("", ""), TItemCheck::EmptyKey);
    EXPECT_EQ(CheckReplaceItem("", "x"), TItemCheck::EmptyKey);
    EXPECT_EQ(CheckReplaceItem("あ", ""), TItemCheck::EmptyValue);
    EXPECT_EQ(CheckReplaceItem("aあ", "x"), TItemCheck::DoubleByteKey);
    EXPECT_EQ(CheckReplaceItem("<br>", "x"), TItemCheck::Ok);
}

TEST(ReplaceItemChecks, OnlySingleByteShiftJisCharactersMakeAKey)
{
    EXPECT_EQ(CheckReplaceItem("ｱｲ", "x"), TItemCheck::Ok);          // half-width katakana
    EXPECT_EQ(CheckReplaceItem("Ａ", "x"), TItemCheck::DoubleByteKey);  // full-width letter
    EXPECT_EQ(CheckReplaceItem("😀", "x"), TItemCheck::DoubleByteKey); // none in code page 932
    EXPECT_EQ(ItemCheckMessage(TItemCheck::DoubleByteKey), "置換対象文字列に全角文字を使うことはできません");
}

} // namespace
} // namespace pictor
