#include "base/FileIO.h"
#include "document/Options.h"
#include "base/PictorError.h"
#include "picture/PictureIO.h"
#include "document/SaveDocument.h"
#include "support/SiteBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>

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
    return SaveDocumentAs(doc, out.Path().string(), true, ask);
}

} // namespace

TEST(Save, WritesTextsAndOnlyTickedChangedPictures)
{
    TSavedSite site;
    THtmlStructure doc = site.Open();
    const std::string jpeg = ReadAll(site.Root / "img/b.jpg");
    const std::string png = ReadAll(site.Root / "img/a.png");
    doc.Page.Pics[0].Checked = false;  // a.png: adjusted, then unticked
    Change(doc, TAdjustment::Invert());
    doc.Page.Pics[1].Checked = true;
    doc.Page.Pics[0].Checked = false;
    SaveDocument(doc, true);
    EXPECT_EQ(ReadAll(site.Root / "index.html"),
              "<link rel=\"stylesheet\" href=\"css/s.css\"><body bgcolor=\"#00FFFF\"><img src=\"img/a.png\">"
              "<img src=\"img/b.jpg\">");
    EXPECT_EQ(ReadAll(site.Root / "css/s.css"), "p { color: #FFFFFF; background: url(../img/c.gif) }");
    EXPECT_EQ(ReadAll(site.Root / "img/a.png"), png);
    EXPECT_NE(ReadAll(site.Root / "img/b.jpg"), jpeg);
    EXPECT_EQ(ReadPicture(site.Root / "img/c.gif").ScanLine(0)[0], 0) << "blue inverted";
}

TEST(Save, UnchangedPictureIsNotReencoded)
{
    TSavedSite site;
    THtmlStructure doc = site.Open();
    const std::string jpeg = ReadAll(site.Root / "img/b.jpg");
    Change(doc, TAdjustment::Invert());
    Change(doc, TAdjustment::Invert());  // back to the pixels read
    SaveDocument(doc, true);
    EXPECT_EQ(ReadAll(site.Root / "img/b.jpg"), jpeg);
}

TEST(Save, JpegAndGifAsBitmapsKeepThePage)
{
    TSavedSite site;
    THtmlStructure doc = site.Open();
    Change(doc, TAdjustment::Invert());
    const TOptions saved = Options();
    Options().JpegToBmp = Options().GifToBmp = true;
    SaveDocument(doc, false);
    Options() = saved;
    EXPECT_TRUE(FileExists(site.Root / "img/b.bmp"));
    EXPECT_TRUE(FileExists(site.Root / "img/c.bmp"));
    EXPECT_NE(ReadAll(site.Root / "index.html").find("img/b.jpg"), std::string::npos);
}

TEST(Save, FailureLeavesOriginalsIntact)
{
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    TSavedSite site;
    THtmlStructure doc = site.Open();
    Change(doc, TAdjustment::Invert());
    const std::string page = ReadAll(site.Root / "index.html");
    namespace fs = std::filesystem;
    fs::permissions(site.Root.Path(), fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_THROW(SaveDocument(doc, true), TPictorError);
    fs::permissions(site.Root.Path(), fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(ReadAll(site.Root / "index.html"), page);
}

TEST(SaveAs, IntoAnEmptyFolderMirrorsTheLayout)
{
    TSavedSite site;
    TTempDir out;
    THtmlStructure doc = site.Open();
    doc.Page.Pics[1].Checked = false;
    std::vector<std::string> asked;
    const auto ask = [&](const std::string& p) { return asked.push_back(p), TOverwriteAnswer::Yes; };
    ASSERT_TRUE(SaveDocumentAs(doc, out.Path().string(), true, ask));
    EXPECT_EQ(asked, std::vector<std::string>{});
    EXPECT_EQ(ReadAll(out / "index.html"), ReadAll(site.Root / "index.html"));
    EXPECT_EQ(ReadAll(out / "css/s.css"), ReadAll(site.Root / "css/s.css"));
    EXPECT_EQ(ReadAll(out / "img/a.png"), ReadAll(site.Root / "img/a.png")) << "unchanged: copied byte for byte";
    EXPECT_FALSE(FileExists(out / "img/b.jpg")) << "unticked";
    EXPECT_EQ(doc.FileName, out / "index.html");
    EXPECT_EQ(doc.SheetFiles[0], out / "css/s.css");
    EXPECT_EQ(doc.Page.Pics[1].FullPath, out / "img/b.jpg");
}

TEST(SaveAs, OverwriteAnswers)
{
    TSavedSite site;
    {
        TTempDir out;
        THtmlStructure doc = site.Open();
        std::vector<std::string> asked;
        ASSERT_TRUE(SaveOver(out, doc, [&](const std::string& p) { return asked.push_back(p), TOverwriteAnswer::YesToAll; }));
        EXPECT_EQ(asked, std::vector<std::string>{out / "index.html"});
        EXPECT_NE(ReadAll(out / "img/c.gif"), "old");
    }
    {
        TTempDir out;
        THtmlStructure doc = site.Open();
        int asked = 0;
        ASSERT_TRUE(SaveOver(out, doc, [&](const std::string&) { return ++asked, TOverwriteAnswer::NoToAll; }));
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(ReadAll(out / "css/s.css"), "old");
        EXPECT_EQ(doc.FileName, out / "index.html") << "skipped files still move the document";
    }
    {
        TTempDir out;
        THtmlStructure doc = site.Open();
        const auto pathsBefore = doc.Page.Pics[0].FullPath;
        int asked = 0;
        EXPECT_FALSE(SaveOver(out, doc, [&](const std::string&) {
            return ++asked == 3 ? TOverwriteAnswer::Cancel : TOverwriteAnswer::Yes;
        }));
        EXPECT_NE(ReadAll(out / "index.html"), "old");
        EXPECT_NE(ReadAll(out / "img/a.png"), "old");
        EXPECT_EQ(ReadAll(out / "img/b.jpg"), "old");
        EXPECT_EQ(doc.FileName, site.Root / "index.html");
        EXPECT_EQ(doc.SheetFiles[0], site.Root / "css/s.css");
        EXPECT_EQ(doc.Page.Pics[0].FullPath, pathsBefore);
    }
}

TEST(SaveAs, FailureRestoresPaths)
{
    TSavedSite site;
    TTempDir out;
    out.Write("css", "a file where a folder should be");
    THtmlStructure doc = site.Open();
    EXPECT_THROW(SaveDocumentAs(doc, out.Path().string(), true, [](const std::string&) { return TOverwriteAnswer::Yes; }),
                 TPictorError);
    EXPECT_EQ(doc.FileName, site.Root / "index.html");
    EXPECT_EQ(doc.SheetFiles[0], site.Root / "css/s.css");
}
