#include "app/model/EditorPathCheck.h"

#include "document/Options.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pictor {
namespace {

namespace fs = std::filesystem;

class EditorPathCheck : public ::testing::Test {
protected:
    EditorPathCheck()
    {
        editor = dir.Write("bin/my editor", "#!/bin/sh\n");
        fs::permissions(editor, fs::perms::owner_exec, fs::perm_options::add);
        notes = dir.Write("other/notes", "text");
        bin = dir / "bin";
        other = dir / "other";
    }
    test::TTempDir dir;
    std::string editor, notes, bin, other;
};

TEST_F(EditorPathCheck, FindsACommandInTheFirstFolderThatHoldsIt)
{
    EXPECT_EQ(FindExecutable("my editor", other + ":" + bin), bin + "/my editor");
    EXPECT_EQ(FindExecutable("my editor", other), "");
    // Not executable: no command, though the file exists.
    EXPECT_EQ(FindExecutable("notes", other), "");
    // A name with a folder is not looked up.
    EXPECT_EQ(FindExecutable("bin/my editor", dir.Path().string()), "");
    EXPECT_EQ(FindExecutable(editor, ""), editor);
}

TEST_F(EditorPathCheck, AcceptsTheDefaultAnExistingFileOrACommand)
{
    EXPECT_TRUE(IsEditorPathAccepted(TOptions().EditorPath, ""));
    EXPECT_TRUE(IsEditorPathAccepted(notes, ""));
    EXPECT_TRUE(IsEditorPathAccepted("my editor", bin));
}

TEST_F(EditorPathCheck, RefusesWhatNamesNoFile)
{
    EXPECT_FALSE(IsEditorPathAccepted("", bin));
    EXPECT_FALSE(IsEditorPathAccepted(dir / "missing", bin));
    EXPECT_FALSE(IsEditorPathAccepted(bin, bin));  // a folder
    EXPECT_FALSE(IsEditorPathAccepted("my editor", other));
#ifndef _WIN32
    EXPECT_FALSE(IsEditorPathAccepted("notepad.exe", other));
#endif
}

} // namespace
} // namespace pictor
