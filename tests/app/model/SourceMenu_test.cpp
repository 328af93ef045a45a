#include "app/model/SourceMenu.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

TEST(SourceMenu, OneItemPerFileWithAccessKeysForTheFirstTen)
{
    std::vector<std::string> files{"/site/index.html"};
    for (int i = 0; i < 12; ++i) files.push_back("/site/css/s" + std::to_string(i) + ".css");
    const auto items = SourceMenuItems(files);
    ASSERT_EQ(items.size(), 13u);
    EXPECT_EQ(items[0].Caption, "index.html(&0)");
    EXPECT_EQ(items[1].Caption, "s0.css(&1)");
    EXPECT_EQ(items[9].Caption, "s8.css(&9)");
    EXPECT_EQ(items[10].Caption, "s9.css");
    EXPECT_EQ(items[12].Caption, "s11.css");
    for (size_t k = 0; k < items.size(); ++k) EXPECT_EQ(items[k].Tag, int(k));
}

TEST(SourceMenu, AmpersandInAFileNameIsShownAsItIs)
{
    EXPECT_EQ(SourceMenuItems({"/a&b/x&y.html"})[0].Caption, "x&&y.html(&0)");
}

TEST(SourceMenu, EditorPathIsUsedAsWrittenWithTheFileAsItsOneArgument)
{
    const TEditorCommand command = EditorCommand("/opt/my editor/edit", "/site/a b.css");
    EXPECT_EQ(command.Program, "/opt/my editor/edit");
    EXPECT_EQ(command.Arguments, (std::vector<std::string>{"/site/a b.css"}));
}

} // namespace
} // namespace pictor
