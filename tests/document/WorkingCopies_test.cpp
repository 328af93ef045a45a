#include "document/WorkingCopies.h"
#include "picture/PictureIO.h"
#include "picture/PictureSamples.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

namespace pictor {
namespace {

ino_t Inode(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

// Undo and Redo give a picture back pixels it had: its copy is the file copied or written then, put back.
TEST(WorkingCopies, PixelsHeldBeforeArePutBackNotWrittenAgain)
{
    test::TTempDir dir;
    const auto copies = WorkFolderCopies(dir.Path().string());
    const std::string copy = dir / "p.jpg";
    TBitmapEx first = test::FewColours(4, 4);
    TBitmapEx second = first;
    second.Invert();

    copies->CopyPicture(dir.Write("a.jpg", "the original bytes"), copy, first);
    const ino_t firstFile = Inode(copy);
    copies->WritePicture(copy, second, nullptr);
    const ino_t secondFile = Inode(copy);
    EXPECT_NE(secondFile, firstFile);
    EXPECT_EQ(test::ReadAll(copy), EncodeBmp(second));
    copies->WritePicture(copy, first, nullptr);
    EXPECT_EQ(Inode(copy), firstFile);
    EXPECT_EQ(test::ReadAll(copy), "the original bytes");

    // Pixels no bitmap holds any more are forgotten, their file removed.
    first = TBitmapEx();
    copies->WritePicture(copy, second, nullptr);
    EXPECT_EQ(Inode(copy), secondFile);
    EXPECT_FALSE(std::filesystem::exists(copy + "~1"));
    EXPECT_TRUE(std::filesystem::exists(copy + "~2"));
}

// A text written again as it is keeps its file: the preview goes by the files to see what a step changed.
TEST(WorkingCopies, TextWrittenAgainUnchangedKeepsItsFile)
{
    test::TTempDir dir;
    const auto copies = WorkFolderCopies(dir.Path().string());
    const std::string copy = dir / "s.css";
    copies->WriteText(copy, "p { color: red }");
    const ino_t first = Inode(copy);
    copies->WriteText(copy, "p { color: red }");
    EXPECT_EQ(Inode(copy), first);
    copies->WriteText(copy, "p { color: aqua }");
    EXPECT_EQ(test::ReadAll(copy), "p { color: aqua }");
}

} // namespace
} // namespace pictor
