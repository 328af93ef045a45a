#include "adjust/Adjustment.h"
#include "base/PictorError.h"
#include "base/WorkPool.h"
#include "document/SaveDocument.h"
#include "picture/PictureIO.h"
#include "site/SiteDocument.h"
#include "site/SitePages.h"
#include "site/SiteSummary.h"
#include "support/SiteBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include <sys/stat.h>

using namespace pictor;
using namespace pictor::test;

namespace {

// Three pages sharing a linked sheet, the sheet it imports and a picture; the third page also has a
// sheet of its own.
struct TSharedSite : TSite {
    TSharedSite()
    {
        for (const char* page : {"index.html", "a/one.html"})
            Add(page, std::string("<link rel=\"stylesheet\" href=\"") + (page[0] == 'a' ? "../" : "") +
                          "css/site.css\"><body bgcolor=\"#000080\"><img src=\"" + (page[0] == 'a' ? "../" : "") +
                          "logo.png\">");
        Add("b/two.htm", "<link rel=\"stylesheet\" href=\"../css/site.css\"><link rel=\"stylesheet\" href=\"own.css\">"
                         "<font color=\"red\">x</font>");
        Add("b/own.css", "p { color: #00ff00 }");
        Add("css/site.css", "@import \"base.css\";\nh1 { color: red; background: url(../logo.png) }");
        Add("css/base.css", "body { color: #123456; border-color: red }");
        AddPicture("logo.png", 4, 4, 10, 20, 30);
    }
    std::vector<std::string> Pages() const { return {Root / "index.html", Root / "a/one.html", Root / "b/two.htm"}; }
    TSiteDocument Load() const
    {
        TWorkPool pool;
        TSiteDocument site;
        site.Load(Pages(), Root.Path().string(), pool);
        return site;
    }
};

} // namespace

TEST(SiteDocument, AFileReachedFromSeveralPagesIsOneFile)
{
    const TSharedSite files;
    const TSiteDocument site = files.Load();
    ASSERT_EQ(site.FailedCount(), 0);
    std::vector<std::string> paths;
    for (int i = 0; i < site.FileCount(); ++i) paths.push_back(site.FilePath(i));
    EXPECT_EQ(paths, (std::vector<std::string>{files.Root / "index.html", files.Root / "a/one.html",
                                               files.Root / "b/two.htm", files.Root / "css/site.css",
                                               files.Root / "css/base.css", files.Root / "b/own.css"}));
    const THtmlStructure& first = *site.Pages()[0].Document;
    const THtmlStructure& third = *site.Pages()[2].Document;
    EXPECT_EQ(&first.Elements(1), &third.Elements(1)) << "one record set, whichever page reached the sheet";
    EXPECT_EQ(&first.Elements(2), &third.Elements(3)) << "the imported sheet too";
    EXPECT_TRUE(first.Page.Pics[0].Bitmap.SharesPixelsWith(site.Pages()[1].Document->Page.Pics[0].Bitmap));
    EXPECT_TRUE(first.Page.Pics[0].Bitmap.SharesPixelsWith(first.Elements(1).Pics[0].Bitmap))
        << "the picture is decoded once for the pages and the sheet";
}

// Pages loaded side by side that all reach one sheet that cannot be read, linked or imported: each of
// them fails with the sheet's own error, a page that is not there with its own, and the others load
// with their one shared sheet.
TEST(SiteDocument, PagesSharingAnUnreadableSheetFailAlikeAndTheOthersLoad)
{
    for (const char* const shared : std::initializer_list<const char*>{"@import url(pipe.css);", nullptr}) {
        TSite files;
        files.Add("css/good.css", "p { color: red }");
        if (shared) files.Add("css/shared.css", shared);
        const std::string broken = shared ? "css/shared.css" : "css/pipe.css";
        ASSERT_EQ(mkfifo((files.Root / "css/pipe.css").c_str(), 0600), 0);
        std::vector<std::string> pages;
        for (int i = 0; i < 12; ++i) {
            const std::string sheet = i % 3 == 2 ? "css/good.css" : broken;
            pages.push_back(files.Add("p" + std::to_string(i) + ".html",
                                      "<link rel=\"stylesheet\" href=\"" + sheet + "\"><font color=\"red\">x</font>"));
        }
        pages.push_back(files.Root / "nowhere.html");
        TWorkPool pool;
        TSiteDocument site;
        site.Load(pages, files.Root.Path().string(), pool);
        ASSERT_EQ(site.Pages().size(), 13u);
        EXPECT_EQ(site.FailedCount(), 9);
        const std::string error = files.Root / "css/pipe.css" + ": 通常のファイルではありません";
        for (int i = 0; i < 12; ++i) {
            const TSitePage& page = site.Pages()[size_t(i)];
            if (i % 3 != 2) EXPECT_NE(page.ErrorText().find(error), std::string::npos) << i << page.ErrorText();
            else ASSERT_TRUE(page.Loaded()) << i << page.ErrorText();
        }
        EXPECT_NE(site.Pages()[12].ErrorText().find(files.Root / "nowhere.html"), std::string::npos);
        EXPECT_EQ(site.FileCount(), 5) << "four pages and their sheet";
    }
}

// The preview reads every file of the site in its current state: a sheet two pages share is one copy,
// changed once, and Undo and Redo put it back. Saved, each shared file holds that one change.
TEST(SiteDocument, ASharedFileChangesOnceInTheWorkingCopiesAndTheSave)
{
    const TSharedSite files;
    TWorkPool pool;
    TSiteDocument site(WorkFolderCopies(files.WorkFolder()));
    site.Load(files.Pages(), files.Root.Path().string(), pool);
    site.BeginHistory();
    const std::string original = ReadAll(files.Root / "css/base.css");
    const std::string inverted = "body { color: #EDCBA9; border-color: #00FFFF }";
    EXPECT_EQ(site.Pages()[2].Document->WorkFileName(), files.Work / "b/two.htm");
    EXPECT_EQ(ReadAll(files.Work / "logo.png").empty(), false);
    const std::pair<std::string, std::string> steps[] = {
        {"loaded", original}, {"inverted", inverted}, {"undone", original}, {"redone", inverted}};
    for (const auto& [name, sheet] : steps) {
        if (name == "inverted") {
            ApplyToTicked(site, TAdjustment::Invert(), {});
            site.CommitChange();
        }
        if (name == "undone") site.Undo();
        if (name == "redone") site.Redo();
        EXPECT_EQ(ReadAll(files.Work / "css/base.css"), sheet) << name;
        EXPECT_EQ(ReadAll(files.Work / "a/one.html").find("#FFFF7F") != std::string::npos, sheet == inverted) << name;
    }
    EXPECT_EQ(ReadAll(files.Root / "css/base.css"), original) << "nothing saved";
    SaveDocument(site, {});
    EXPECT_EQ(ReadAll(files.Root / "css/base.css"), inverted);
    EXPECT_EQ(ReadAll(files.Root / "css/site.css"),
              "@import \"base.css\";\nh1 { color: #00FFFF; background: url(../logo.png) }");
    EXPECT_EQ(ReadPicture(files.Root / "logo.png").ScanLine(0)[0], 255 - 30) << "blue inverted once";
}

// Cancelling a load: the pages not begun are left and the load ends with the progress's exception.
TEST(SiteDocument, AProgressThatThrowsEndsTheLoad)
{
    const TSharedSite files;
    TWorkPool pool(1);
    TSiteDocument site;
    EXPECT_THROW(site.Load(files.Pages(), {}, pool, [](int, int) { throw std::runtime_error("cancelled"); }),
                 std::runtime_error);
    EXPECT_EQ(std::count_if(site.Pages().begin(), site.Pages().end(), [](const TSitePage& p) { return p.Loaded(); }), 1);
}

TEST(SitePalette, CountsEachOccurrenceOfEachFileOnce)
{
    const TSharedSite files;
    const TSiteDocument site = files.Load();
    std::vector<std::tuple<std::string, int, size_t>> palette;
    for (const TPaletteColor& c : SitePalette(site))
        palette.emplace_back(ColorToUpperCode(c.Value), c.Count, c.Files.size());
    EXPECT_EQ(palette, (std::vector<std::tuple<std::string, int, size_t>>{
                           {"#FF0000", 3, 3}, {"#000080", 2, 2}, {"#00FF00", 1, 1}, {"#123456", 1, 1}}));
    const std::vector<TSitePicture> pictures = SitePictures(site);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].Pages, (std::vector<std::string>{files.Root / "index.html", files.Root / "a/one.html",
                                                           files.Root / "b/two.htm"}))
        << "the third page shows it through the shared sheet";
}

TEST(SitePages, EveryPageBelowTheFolderSortedWithoutLeavingIt)
{
    TSite files;
    for (const char* name : {"b.html", "a/z.HTM", "a/y.shtml", "c.css", "d.txt", "a.htm"}) files.Add(name, "x");
    const TTempDir outside;
    outside.Write("elsewhere/far.html", "x");
    std::filesystem::create_directory_symlink(outside / "elsewhere", files.Root / "linked");
    std::filesystem::create_symlink(outside / "elsewhere/far.html", files.Root / "far.html");
    std::filesystem::create_symlink(files.Root / "b.html", files.Root / "same.html");
    EXPECT_EQ(FindSitePages(files.Root.Path().string()),
              (std::vector<std::string>{files.Root / "a.htm", files.Root / "a/y.shtml", files.Root / "a/z.HTM",
                                        files.Root / "b.html", files.Root / "same.html"}));
    EXPECT_THROW(FindSitePages(files.Root / "b.html"), TPictorError);
}
