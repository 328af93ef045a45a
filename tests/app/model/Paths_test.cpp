#include "app/model/EditorPathCheck.h"
#include "app/model/HelpFile.h"
#include "document/Paths.h"
#include "app/model/SourceMenu.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pictor {
namespace {

TEST(PageNames, TheThreeExtensionsInAnyCaseArePages)
{
    for (const char* page : {"/site/index.html", "page.htm", "/a.b/c.shtml", "/site/INDEX.HTM", "/site/index.Html"})
        EXPECT_TRUE(IsPageName(page)) << page;
    for (const char* other : {"/site/page.shtm", "/site.html/readme", "html", "/site/.html.bak"})
        EXPECT_FALSE(IsPageName(other)) << other;
}

TEST(HelpFile, PrefersTheManualBesideTheProgramThenTheInstalledOne)
{
    test::TTempDir dir;
    const std::string program = dir / "bin/";
    dir.Write("bin/pictor", "");
    EXPECT_EQ(FindHelpFile(program), "");
    const std::string installed = dir.Write("share/pictor/manual/index.html", "<html>");
    EXPECT_EQ(FindHelpFile(program), installed);
    const std::string beside = dir.Write("bin/manual/index.html", "<html>");
    EXPECT_EQ(FindHelpFile(program), beside);
}

TEST(SourceMenu, OneItemPerFileWithAccessKeysForTheFirstTen)
{
    std::vector<std::string> files{"/a&b/x&y.html"};
    for (int i = 0; i < 12; ++i) files.push_back("/site/css/s" + std::to_string(i) + ".css");
    const auto items = SourceMenuItems(files);
    ASSERT_EQ(items.size(), 13u);
    EXPECT_EQ(items[0].Caption, "x&&y.html(&0)");  // an ampersand is shown as it is
    EXPECT_EQ(items[9].Caption, "s8.css(&9)");
    EXPECT_EQ(items[10].Caption, "s9.css");
}

TEST(EditorPathCheck, FindsCommandsAndAcceptsOnlyWhatNamesAFile)
{
    namespace fs = std::filesystem;
    test::TTempDir dir;
    const std::string editor = dir.Write("bin/my editor", "#!/bin/sh\n");
    fs::permissions(editor, fs::perms::owner_exec, fs::perm_options::add);
    const std::string notes = dir.Write("other/notes", "text");
    const std::string bin = dir / "bin", other = dir / "other";

    EXPECT_EQ(FindExecutable("my editor", other + ":" + bin), bin + "/my editor");
    EXPECT_EQ(FindExecutable("notes", other), "");  // not executable
    EXPECT_EQ(FindExecutable("bin/my editor", dir.Path().string()), "");  // a name with a folder is not looked up
    // The default editor and a missing file are the options dialog's test.
    EXPECT_TRUE(IsEditorPathAccepted(notes, ""));
    EXPECT_TRUE(IsEditorPathAccepted("my editor", bin));
    EXPECT_FALSE(IsEditorPathAccepted("", bin));
    EXPECT_FALSE(IsEditorPathAccepted(bin, bin));  // a folder
    EXPECT_FALSE(IsEditorPathAccepted("my editor", other));
}

} // namespace
} // namespace pictor
