#include "base/FileIO.h"
#include "base/PictorError.h"
#include "picture/PictureIO.h"
#include "document/SaveDocument.h"
#include "support/Errors.h"
#include "support/SiteBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

using namespace pictor;
using namespace pictor::test;

namespace {

struct TSavedSite : TSite {
    TSavedSite()
    {
        Add("index.html", "<link rel=\"stylesheet\" href=\"css/s.css\"><body bgcolor=\"red\"><img src=\"img/a.png\">"
                          "<img src=\"img/b.jpg\">");
        Add("css/s.css", "p { color: #000; background: url(../img/c.gif) }");
        AddPicture("img/a.png", 3, 3, 10, 20, 30);
        AddPicture("img/b.jpg", 16, 16, 200, 10, 10);
        AddPicture("img/c.gif", 2, 2, 0, 0, 255);
    }
    THtmlStructure Open() const { return TSite::Open("index.html"); }
};

// Save As into out, where every file of the site exists already.
bool SaveOver(const TTempDir& out, THtmlStructure& doc, const TOverwriteQuestion& ask)
{
    for (const char* f : {"index.html", "img/a.png", "img/b.jpg", "css/s.css", "img/c.gif"}) out.Write(f, "old");
    return SaveDocumentAs(doc, out.Path().string(), {}, ask);
}

} // namespace

// Only what a change touched is written: the page whose colour was unticked keeps its very file, and
// of the pictures only the ticked ones whose pixels changed are encoded again.
TEST(Save, WritesOnlyWhatAChangeTouched)
{
    TSavedSite site;
    THtmlStructure doc = site.Open();
    const std::string jpeg = ReadAll(site.Root / "img/b.jpg");
    const std::string png = ReadAll(site.Root / "img/a.png");
    const auto inode = [&](const char* name) {
        struct stat st {};
        ::stat((site.Root / name).c_str(), &st);
        return st.st_ino;
    };
    const ino_t page = inode("index.html");
    doc.Page.Colors[0].Checked = false;
    doc.Page.Pics[0].Checked = false;
    Change(doc, TAdjustment::Invert());
    SaveDocument(doc, {});
    EXPECT_EQ(inode("index.html"), page) << "the page is not written again";
    EXPECT_EQ(ReadAll(site.Root / "css/s.css"), "p { color: #FFFFFF; background: url(../img/c.gif) }");
    EXPECT_EQ(ReadAll(site.Root / "img/a.png"), png);
    EXPECT_NE(ReadAll(site.Root / "img/b.jpg"), jpeg);
    EXPECT_EQ(ReadPicture(site.Root / "img/c.gif").ScanLine(0)[0], 0) << "blue inverted";
    doc.Undo(); // back to the text as read, which the file no longer holds
    SaveDocument(doc, {});
    EXPECT_EQ(ReadAll(site.Root / "css/s.css"), "p { color: #000; background: url(../img/c.gif) }");
}

TEST(Save, UnchangedPictureIsNotReencoded)
{
    TSavedSite site;
    THtmlStructure doc = site.Open();
    const std::string jpeg = ReadAll(site.Root / "img/b.jpg");
    Change(doc, TAdjustment::Invert());
    Change(doc, TAdjustment::Invert());  // back to the pixels read
    SaveDocument(doc, {});
    EXPECT_EQ(ReadAll(site.Root / "img/b.jpg"), jpeg);
}

TEST(Save, JpegAndGifAsBitmapsKeepThePage)
{
    TSavedSite site;
    THtmlStructure doc = site.Open();
    Change(doc, TAdjustment::Invert());
    SaveDocument(doc, {80, false, true, true});
    EXPECT_TRUE(FileExists(site.Root / "img/b.bmp"));
    EXPECT_TRUE(FileExists(site.Root / "img/c.bmp"));
    EXPECT_NE(ReadAll(site.Root / "index.html").find("img/b.jpg"), std::string::npos);
}

// The temporary could not be given the group of a user who is not its member: the saved file would
// silently change hands. Root may give any group, so what the process may give is passed in.
TEST(Save, AFileWhoseGroupCannotBeKeptIsRefusedBeforeAnythingIsWritten)
{
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a file a group of no member";
    TSavedSite site;
    THtmlStructure doc = site.Open();
    Change(doc, TAdjustment::Invert());
    const std::string sheet = site.Root / "css/s.css";
    ASSERT_EQ(::chown(sheet.c_str(), ::geteuid(), 4242), 0);
    const auto before = FilesBelow(site.Root.Path());
    const TOwnerRights notMember{::geteuid(), {::getegid()}, false};
    const TPictorError error = test::ErrorOf([&] { SaveDocument(doc, {}, notMember); });
    EXPECT_EQ(error.File, sheet);
    EXPECT_NE(error.Reason.find("4242"), std::string::npos) << error.Reason;
    EXPECT_NE(error.Reason.find("名前を付けて保存"), std::string::npos) << error.Reason;
    EXPECT_EQ(FilesBelow(site.Root.Path()), before) << "nothing written, not even a temporary";

    const TOwnerRights member{::geteuid(), {::getegid(), 4242}, false};
    SaveDocument(doc, {}, member);
    struct stat st {};
    ::stat(sheet.c_str(), &st);
    EXPECT_EQ(st.st_gid, 4242u) << "a member keeps the group";
    EXPECT_EQ(ReadAll(sheet), "p { color: #FFFFFF; background: url(../img/c.gif) }");
}

// The site's layout below the folder, whatever the answers; a failure or a cancel leaves the paths as they were.
TEST(SaveAs, MirrorsTheLayoutAfterEachOverwriteAnswer)
{
    TSavedSite site;
    {
        TTempDir out;
        THtmlStructure doc = site.Open();
        doc.Page.Pics[1].Checked = false;
        std::vector<std::string> asked;
        ASSERT_TRUE(SaveOver(out, doc, [&](const std::string& p) { return asked.push_back(p), TOverwriteAnswer::YesToAll; }));
        EXPECT_EQ(asked, std::vector<std::string>{out / "index.html"});
        for (const char* f : {"index.html", "css/s.css", "img/a.png"})
            EXPECT_EQ(ReadAll(out / f), ReadAll(site.Root / f)) << f << ": unchanged, copied byte for byte";
        EXPECT_EQ(ReadAll(out / "img/b.jpg"), "old") << "unticked";
        EXPECT_NE(ReadAll(out / "img/c.gif"), "old");
        EXPECT_EQ(doc.GetSheetFile(0), out / "css/s.css");
        EXPECT_EQ(doc.Page.Pics[1].FullPath, out / "img/b.jpg");
    }
    {
        TTempDir out;
        THtmlStructure doc = site.Open();
        int asked = 0;
        ASSERT_TRUE(SaveOver(out, doc, [&](const std::string&) { return ++asked, TOverwriteAnswer::NoToAll; }));
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(ReadAll(out / "css/s.css"), "old");
        EXPECT_EQ(doc.FileName(), out / "index.html") << "skipped files still move the document";
    }
    {
        TTempDir out;
        THtmlStructure doc = site.Open();
        const auto pathsBefore = doc.Page.Pics[0].FullPath;
        int asked = 0;
        EXPECT_FALSE(SaveOver(out, doc, [&](const std::string&) {
            return ++asked == 3 ? TOverwriteAnswer::Cancel : TOverwriteAnswer::Yes;
        }));
        for (const char* f : {"index.html", "img/a.png", "img/b.jpg"})
            EXPECT_EQ(ReadAll(out / f), "old") << f << ": every question comes before the first write";
        EXPECT_EQ(doc.FileName(), site.Root / "index.html");
        EXPECT_EQ(doc.GetSheetFile(0), site.Root / "css/s.css");
        EXPECT_EQ(doc.Page.Pics[0].FullPath, pathsBefore);
    }
    TTempDir out;
    out.Write("css", "a file where a folder should be");
    THtmlStructure doc = site.Open();
    EXPECT_THROW(SaveDocumentAs(doc, out.Path().string(), {}, [](const std::string&) { return TOverwriteAnswer::Yes; }),
                 TPictorError);
    EXPECT_EQ(doc.FileName(), site.Root / "index.html") << "a failed save leaves the paths as they were";
    EXPECT_EQ(doc.GetSheetFile(0), site.Root / "css/s.css");
}

TEST(SaveAs, AFileNamedTwiceIsOneFileWrittenOnceWithItsChange)
{
    TSite site;
    site.Add("index.html", "<link rel=\"stylesheet\" href=\"css/s.css\"><img src=\"img/a.png\"><img src=\"./img/a.png\">");
    site.Add("css/s.css", "p { background: url(../img/a.png) }");
    site.AddPicture("img/a.png", 2, 2, 10, 20, 30);
    THtmlStructure doc = site.Open("index.html");
    doc.Page.Pics[0].Checked = false;  // the other two names tick it
    Change(doc, TAdjustment::Invert());
    for (const TPicRecord* pic : {&doc.Page.Pics[0], &doc.Page.Pics[1], &doc.GetSheet(0).Pics[0]})
        EXPECT_EQ(pic->Bitmap.ScanLine(0)[0], 255 - 30) << pic->RefText << ": in step, inverted once";

    doc.Page.Pics[0].Checked = true;
    TTempDir out;
    for (const char* f : {"index.html", "css/s.css", "img/a.png"}) out.Write(f, "old");
    std::vector<std::string> asked;
    ASSERT_TRUE(SaveDocumentAs(doc, out.Path().string(), {},
                               [&](const std::string& p) { return asked.push_back(p), TOverwriteAnswer::Yes; }));
    EXPECT_EQ(asked, (std::vector<std::string>{out / "index.html", out / "img/a.png", out / "css/s.css"}));
    EXPECT_EQ(ReadPicture(out / "img/a.png").ScanLine(0)[0], 255 - 30);
}

TEST(SaveAs, AMissingSourceFailsBeforeAnyWrite)
{
    TSite site;
    site.Add("index.html", "<div style=\"background: url(missing.woff2)\"><img src=\"a.png\"></div>");
    site.AddPicture("a.png");
    THtmlStructure doc = site.Open("index.html");
    std::filesystem::remove(site.Root / "a.png");  // the unchanged picture is copied from here
    TTempDir out;
    EXPECT_EQ(test::ErrorOf([&] { SaveDocumentAs(doc, (out / "site"), {}, [](const std::string&) {
                  return TOverwriteAnswer::Yes; }); }).File, site.Root / "a.png");
    EXPECT_TRUE(std::filesystem::is_empty(out.Path())) << "not even the page, nor its folder";
}

TEST(Save, APageLinkedAsItsOwnSheetIsOneFile)
{
    TSite site;
    site.Add("index.html", "<link rel=\"stylesheet\" href=\"index.html#.css\"><body bgcolor=\"red\">");
    THtmlStructure doc = site.Open("index.html");
    EXPECT_EQ(doc.SheetCount(), 0);
    Change(doc, TAdjustment::Invert());
    SaveDocument(doc, {});
    EXPECT_EQ(ReadAll(site.Root / "index.html"), "<link rel=\"stylesheet\" href=\"index.html#.css\"><body bgcolor=\"#00FFFF\">");
}
