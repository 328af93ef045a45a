#include "replace/ReplaceTable.h"

#include "document/Options.h"
#include "document/PictorError.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

TEST(ReplaceTableFile, WritesOneCrLfLinePerEntryInOrder)
{
    const TReplaceTable table{{"a", "x"}, {"k", "p\\r\\nq"}, {"", ""}};
    EXPECT_EQ(FormatReplaceTable(table), "a=x\r\nk=p\\r\\nq\r\n=\r\n");
}

TEST(ReplaceTableFile, ReadsLinesEndedByCrLfCrOrLf)
{
    const TReplaceTable expected{{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}};
    EXPECT_EQ(ParseReplaceTable("a=1\nb=2\rc=3\r\nd=4"), expected);
    EXPECT_EQ(ParseReplaceTable("a=1\r\nb=2\r\nc=3\r\nd=4\r\n"), expected);
    // LF then CR ends two lines; an empty line is an entry with an empty key and value.
    const TReplaceTable withEmpty{{"a", "1"}, {"", ""}, {"b", "2"}};
    EXPECT_EQ(ParseReplaceTable("a=1\n\rb=2"), withEmpty);
    EXPECT_EQ(ParseReplaceTable("a=1\r\n\r\nb=2\r\n"), withEmpty);
    EXPECT_TRUE(ParseReplaceTable("").empty());
}

TEST(ReplaceTableFile, SplitsAtTheFirstEqualsSign)
{
    const TReplaceTable expected{{"k", "v=w"}, {"", "no equals"}, {"", "x"}, {"k", ""}};
    EXPECT_EQ(ParseReplaceTable("k=v=w\nno equals\n=x\nk=\n"), expected);
}

TEST(ReplaceTableFile, RoundTripsThroughAFile)
{
    test::TTempDir dir;
    // Shift-JIS "ソ" ends in 5C and "表" in 5C too: neither may be taken apart.
    const TReplaceTable table{{"a", "\x83\x5C\\n\x95\x5C"}, {"<br>", "p\\r\\nq\\\\"}, {"", "only value"}};
    const std::string path = dir / "table.dat";
    SaveReplaceTable(path, table);
    EXPECT_EQ(test::ReadAll(path), FormatReplaceTable(table));
    EXPECT_EQ(LoadReplaceTable(path), table);
}

TEST(ReplaceTableFile, ReportsTheFileThatCannotBeRead)
{
    test::TTempDir dir;
    try {
        LoadReplaceTable(dir / "missing.dat");
        FAIL() << "no error";
    } catch (const TPictorError& error) {
        EXPECT_EQ(error.File, dir / "missing.dat");
    }
}

TEST(ReplaceTableFile, ChosenNameGetsTheDatExtension)
{
    EXPECT_EQ(ReplaceTableFileName("/home/u/table.txt"), "/home/u/table.dat");
    EXPECT_EQ(ReplaceTableFileName("/home/u/table"), "/home/u/table.dat");
    EXPECT_EQ(ReplaceTableFileName("/home/u.v/table"), "/home/u.v/table.dat");
    EXPECT_EQ(ReplaceTableFileName("/home/u/table.dat"), "/home/u/table.dat");
}

TEST(ReplaceTableRows, CopiesSelectedRowsToTheEndInTableOrder)
{
    TReplaceTable table{{"a", "1"}, {"b", "2"}, {"c", "3"}};
    AppendCopies(table, {2, 0, 2});
    const TReplaceTable expected{{"a", "1"}, {"b", "2"}, {"c", "3"}, {"a", "1"}, {"c", "3"}};
    EXPECT_EQ(table, expected);
}

TEST(ReplaceTableRows, RemovesEverySelectedRow)
{
    TReplaceTable table{{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}};
    RemoveRows(table, {3, 0, 3, 9});
    const TReplaceTable expected{{"b", "2"}, {"c", "3"}};
    EXPECT_EQ(table, expected);
}

TEST(ReplaceTableOptions, StoresTheTableAndTheFlagAndReadsThemBack)
{
    const TOptions saved = Options();
    Options().ReplaceKeys = {"old"};
    Options().ReplaceValues = {"stale"};
    const TReplaceTable table{{"a", "x"}, {"b", "y\\n"}};
    StoreReplaceTable(table, true);
    EXPECT_TRUE(Options().UseReplacer);
    EXPECT_EQ(Options().ReplaceKeys, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(Options().ReplaceValues, (std::vector<std::string>{"x", "y\\n"}));
    EXPECT_EQ(ReplaceTableFromOptions(), table);
    Options() = saved;
}

} // namespace
} // namespace pictor
