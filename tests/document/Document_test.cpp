#include "support/Errors.h"
#include "support/SiteBuilder.h"
#include "base/WorkPool.h"
#include "document/SaveDocument.h"

#include <mutex>

#include <filesystem>

#include <gtest/gtest.h>

using namespace pictor;
using namespace pictor::test;

// The load counts each sheet and picture it reads, from the pool's threads too, and stops where the
// count throws, before any working copy of a picture is made.
TEST(DocumentLoad, CountsWhatItReadsAndStopsWhereTheCountThrows)
{
    TSite site;
    std::string page = "<link rel=\"stylesheet\" href=\"s.css\">";
    for (int i = 0; i < 6; ++i) {
        site.AddPicture("p" + std::to_string(i) + ".png");
        page += "<img src=\"p" + std::to_string(i) + ".png\">";
    }
    site.Add("p.html", page);
    site.Add("s.css", "p { color: red }");
    TWorkPool pool(2);
    std::mutex mutex;
    int lastRead = 0, lastFound = 0;
    THtmlStructure doc(site.WorkFolder());
    doc.LoadFromFile(site.Root / "p.html", {.Pool = &pool}, [&](int read, int found) {
        const std::lock_guard lock(mutex);
        lastRead = std::max(lastRead, read);
        lastFound = std::max(lastFound, found);
    });
    EXPECT_EQ(lastRead, 7);
    EXPECT_EQ(lastFound, 7);

    struct TStop {};
    const TTempDir work;
    THtmlStructure stopped(work.Path().string() + "/");
    EXPECT_THROW(stopped.LoadFromFile(site.Root / "p.html", {.Pool = &pool}, [](int, int) { throw TStop(); }), TStop);
    EXPECT_FALSE(std::filesystem::exists(work / "p0.png"));
}

TEST(DocumentLoad, BaseFolderOfSiblingFolders)
{
    TSite site;
    site.Add("site/html/index.html", "<img src=\"../img/a.bmp\"><img src=\"../imgs/b.bmp\">");
    site.AddPicture("site/img/a.bmp");
    site.AddPicture("site/imgs/b.bmp");
    THtmlStructure doc = site.Open("site/html/index.html");
    EXPECT_EQ(doc.BaseFolder, site.Root / "site/");
    EXPECT_EQ(doc.WorkFileName(), site.WorkFolder() + "html/index.html");
    EXPECT_EQ(doc.Page.Pics[0].WorkPath, site.WorkFolder() + "img/a.bmp");
    EXPECT_EQ(doc.Page.Pics[1].WorkPath, site.WorkFolder() + "imgs/b.bmp");
}

// A picture or sheet that is not there, or a picture that cannot be decoded, is left out of the work
// and named, and the rest of the site loads.
TEST(DocumentLoad, DeadReferencesDoNotStopIt)
{
    TSite site;
    site.Add("bad.png", "not a png");
    site.AddPicture("ok.bmp");
    THtmlStructure doc = site.OpenPage(
        "<link rel=\"stylesheet\" href=\"gone.css\"><img src=\"gone.gif\"><img src=\"bad.png\"><img src=\"ok.bmp\">",
        "@import url(gone2.css);\r\np { color: red; background: url(images/draft.png) }");
    ASSERT_EQ(doc.SheetCount(), 1);
    ASSERT_EQ(doc.Page.Pics.size(), 3u);
    EXPECT_EQ(doc.Page.Pics[0].State, TPicState::Missing);
    EXPECT_EQ(doc.Page.Pics[1].State, TPicState::Unreadable);
    EXPECT_EQ(doc.Page.Pics[2].State, TPicState::Ok);
    EXPECT_EQ(doc.GetSheet(0).Pics[0].State, TPicState::Missing);
    std::vector<std::string> dead;
    for (const TDeadReference& d : doc.DeadReferences()) dead.push_back(d.Path);
    EXPECT_EQ(dead, (std::vector<std::string>{site.Root / "gone.css", site.Root / "gone2.css", site.Root / "gone.gif",
                                              site.Root / "bad.png", site.Root / "images/draft.png"}));
    EXPECT_FALSE(doc.Page.Pics[0].Checked || doc.Page.Pics[1].Checked);

    Change(doc, TAdjustment::Invert());
    EXPECT_EQ(ReadAll(doc.GetSheetWorkFile(0)), "@import url(gone2.css);\r\np { color: #00FFFF; background: url(images/draft.png) }");
    TTempDir out;
    ASSERT_TRUE(SaveDocumentAs(doc, out.Path().string(), {.Use444 = false},
                               [](const std::string&) { return TOverwriteAnswer::Yes; }));
    EXPECT_EQ(ReadAll(out / "bad.png"), "not a png") << "an unreadable picture goes as it is";
    EXPECT_FALSE(std::filesystem::exists(out.Path() / "gone.gif")) << "a missing one, never read, is not written";
}

// A page and its sheet after one change, as each working copy then holds them; Twice: the sheet after
// the same change once more. Each row is a way an older reading corrupted a page or a sheet, or a value
// the change left as it was that still takes a colour code.
TEST(DocumentRewrite, WorkingCopiesAfterAChange)
{
    const TAdjustment invert = TAdjustment::Invert(), grey = TAdjustment::HueSat(90, 0, 0);
    const struct {
        const char* What;
        std::string Page, Sheet;
        TAdjustment Adjustment;
        std::string PageAfter, SheetAfter, Twice;
    } cases[] = {
        {"short alpha hex", "", "a{color:#abcd}", invert, "", "a{color:#554433DD}", "a{color:#AABBCCDD}"},
        {"alpha in rgba()", "", "a{color:rgba(13,110,253,.25)}", invert, "", "a{color:rgba(242, 145, 2, .25)}",
         "a{color:rgba(13, 110, 253, .25)}"},
        {"an alpha the comma form does not take", "", "a{color:rgb(10 20 30 / none)}", invert, "",
         "a{color:rgb(245 235 225 / none)}", "a{color:rgb(10 20 30 / none)}"},
        {"a data: URL holding a \")\" and quotes", "",
         "a{--i:url(\"data:,%3Csvg%3E rotate(0deg) x='red'%3E\")}b{color:#fff}", invert, "",
         "a{--i:url(\"data:,%3Csvg%3E rotate(0deg) x='red'%3E\")}b{color:#000000}",
         "a{--i:url(\"data:,%3Csvg%3E rotate(0deg) x='red'%3E\")}b{color:#FFFFFF}"},
        {"names left grey take a code", "<font color=\"Gray\">", "a{color:Gray}", grey, "<font color=\"#808080\">",
         "a{color:#808080}", ""},
        {"a TAB is a space in a colour attribute, and a value is written over the bytes it covers",
         "<body bgcolor=\"\t#ff0000\" text=\"#00\tff00\t\">x", "", invert,
         "<body bgcolor=\"#00FFFF\" text=\"#FF00FF\">x", "", ""},
        // "あ" before a quote and a "<": the walk must not pair its last byte with them.
        {"a UTF-8 page keeps its characters",
         "<p title=\"\xE3\x81\x82\"><font color=\"red\">\xE3\x81\x82<b>\xE2\x80\x94 black</b>", "", invert,
         "<p title=\"\xE3\x81\x82\"><font color=\"#00FFFF\">\xE3\x81\x82<b>\xE2\x80\x94 black</b>", "", ""},
        {"a comment inside a colour function is white space, wherever style text stands",
         "<style>b{color:rgb(10,/* ) */20,30)}</style><p style=\"color:rgb(10, /* note */ 20, 30)\">",
         "a{color:rgb(10 /* note */ 20 30)}", invert, "<style>b{color:#F5EBE1}</style><p style=\"color:#F5EBE1\">",
         "a{color:#F5EBE1}", ""},
        {"a theme colour is a colour attribute",
         "<head><meta name=\"theme-color\" content=\"#ffffff\">\n<meta content=\" rgb(255 0 0 / 50%)\" "
         "name=\"theme-color\" media=\"(prefers-color-scheme: dark)\">\n<meta name=\"msapplication-TileColor\" "
         "content=\"navy\"><meta name=\"keywords\" content=\"red\">",
         "", invert,
         "<head><meta name=\"theme-color\" content=\"#000000\">\n<meta content=\"rgba(0, 255, 255, 50%)\" "
         "name=\"theme-color\" media=\"(prefers-color-scheme: dark)\">\n<meta name=\"msapplication-TileColor\" "
         "content=\"#FFFF7F\"><meta name=\"keywords\" content=\"red\">",
         "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        TSite site;
        THtmlStructure doc = site.OpenPage(c.Page, c.Sheet);
        Change(doc, c.Adjustment);
        EXPECT_EQ(ReadAll(doc.WorkFileName()), (c.Sheet.empty() ? "" : SheetLink) + c.PageAfter);
        if (c.Sheet.empty()) continue;
        EXPECT_EQ(ReadAll(doc.GetSheetWorkFile(0)), c.SheetAfter);
        if (c.Twice.empty()) continue;
        Change(doc, c.Adjustment);
        EXPECT_EQ(ReadAll(doc.GetSheetWorkFile(0)), c.Twice);
    }
}

// A name is the file of that name where there is one; only then is a query or fragment cut off.
TEST(DocumentLoad, NamesWithQueryAndFragmentCharacters)
{
    TSite site;
    site.AddPicture("a#1.gif", 5, 1);
    site.AddPicture("a.gif", 1, 1);
    site.AddPicture("b?.png", 3, 1);
    site.AddPicture("c.png", 2, 1);
    const THtmlStructure doc = site.OpenPage("<img src=\"a#1.gif\"><img src=\"b?.png\"><img src=\"a#1.gif\">",
                                             "p { background: url(c.png?v=2) } q { background: url(c.png#top) }");
    ASSERT_EQ(doc.Page.Pics.size(), 2u) << "the same reference twice is one picture";
    EXPECT_EQ(doc.Page.Pics[0].FullPath, site.Root / "a#1.gif");
    EXPECT_EQ(doc.Page.Pics[0].Bitmap.Width(), 5);
    EXPECT_EQ(doc.Page.Pics[1].Bitmap.Width(), 3);
    for (const TPicRecord& pic : doc.Elements(1).Pics) EXPECT_EQ(pic.FullPath, site.Root / "c.png") << pic.RefText;

    // No file name holds a NUL byte: the reference names no file, not the one its bytes before the NUL name.
    site.Add("x", PictureBytes("x.png", 2, 2, 0, 0, 0));
    site.Add("nul.html", std::string("<img src=\"x\0.png\">", 18));
    EXPECT_NE(ErrorOf([&] { site.Open("nul.html"); }).File, "");
}

// The rewritten text is held only while it differs from the text as read: a name's spelling counts,
// a colour changed and changed back does not.
TEST(DocumentRewrite, HeldOnlyWhileItDiffers)
{
    TSite site;
    THtmlStructure doc = site.OpenPage("<body text=\"red\"><p style=\"color: RED\">");
    EXPECT_TRUE(doc.Page.Rewritten);
    EXPECT_EQ(doc.Page.CurrentText(), "<body text=\"red\"><p style=\"color: red\">");
    doc.Page.Colors[1].Text = "RED";
    doc.WriteWorkingCopies();
    EXPECT_FALSE(doc.Page.Rewritten);
    EXPECT_TRUE(doc.Page.NewText.empty());
    doc.Page.Colors[0].Text = "#FF0000";
    doc.WriteWorkingCopies();
    EXPECT_EQ(doc.Page.CurrentText(), "<body text=\"#FF0000\"><p style=\"color: RED\">");
    EXPECT_EQ(doc.Page.Colors[1].Pos, 39);
}

// Four changes fill the ring: three steps back reach the first. Undo gives back texts, values, working
// copies and pixels, but not ticks; a change after Undo cuts off Redo; a new load starts afresh. A
// picture no change touches is held once, whatever the number of steps.
TEST(DocumentHistory, UndoRedoRing)
{
    TSite site;
    site.Add("p.html", "<font color=\"red\"><img src=\"a.bmp\"><img src=\"b.bmp\">");
    site.AddPicture("a.bmp", 2, 2, 10, 20, 30);
    site.AddPicture("b.bmp", 8, 8);
    THtmlStructure doc = site.Open("p.html");
    doc.Page.Pics[1].Checked = false;
    const std::string loaded = ReadAll(doc.WorkFileName());
    EXPECT_FALSE(doc.CanUndo());
    Change(doc, TAdjustment::HueSat(10, 0, 0));
    doc.Page.Colors[0].Checked = false;
    doc.Undo();
    EXPECT_EQ(doc.Page.Colors[0].Text, "red");
    EXPECT_EQ(doc.Page.Colors[0].Color, RGB(255, 0, 0));
    EXPECT_FALSE(doc.Page.Colors[0].Checked) << "ticks are not recorded in the history";
    EXPECT_EQ(ReadAll(doc.WorkFileName()), loaded);
    EXPECT_TRUE(doc.Page.Pics[0].Bitmap.SamePixels(doc.Page.Pics[0].Loaded));
    EXPECT_TRUE(doc.CanRedo());
    doc.Page.Colors[0].Checked = true;

    Change(doc, TAdjustment::HueSat(10, 0, 0));
    EXPECT_FALSE(doc.CanRedo());
    const std::string first = doc.Page.Colors[0].Text;
    for (int hue : {20, 30, 40}) Change(doc, TAdjustment::HueSat(hue, 0, 0));
    const std::string last = doc.Page.Colors[0].Text;
    const auto& slots = doc.History.Slots();
    for (const TUndoBuff& slot : slots) EXPECT_TRUE(slot.Files[0].Bitmaps[1].SharesPixelsWith(doc.Page.Pics[1].Bitmap));
    EXPECT_FALSE(slots[0].Files[0].Bitmaps[0].SharesPixelsWith(slots[1].Files[0].Bitmaps[0]));
    for (int step = 0; step < 3; ++step) doc.Undo();
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(doc.Page.Colors[0].Text, first);
    for (int step = 0; step < 3; ++step) doc.Redo();
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_EQ(doc.Page.Colors[0].Text, last);
    doc = site.Open("p.html");
    EXPECT_FALSE(doc.CanUndo());
}

// A colour text a browser drops: listed with the value it reads as, never ticked, never rewritten, and
// the load goes on.
TEST(DocumentLoad, ColourTextsABrowserDropsAreIgnored)
{
    const std::pair<std::string, TColor> cases[] = {
        {"#ff000", 0},                         {"#12345g", RGB(0x12, 0x34, 255)},
        {"rgb(1px,2,3)", 0},                   {"rgb(1,2,3,4,5)", 0},
        {"rgb(a,b,c)", 0},                     {"rgb(1,2)", RGB(1, 0, 2)},
        {"rgb(10 20 30 40)", RGB(0, 0, 160)},  {"rgb(10%,20,30)", RGB(25, 51, 76)},
        {"hsl(1,2,3)", 0},                     {"rgba(10, 20, 30, none)", RGB(255, 0, 0)},
        {"RGB(1, 2, 3em)", 0},                 {"rgb(none,2,3)", 0},
    };
    for (const auto& [colour, value] : cases) {
        TSite site;
        THtmlStructure doc = site.OpenPage("<p style=\"color:" + colour + "\">", "a{color:" + colour + "}b{color:#000}");
        const TColorRecord& record = doc.GetSheet(0).Colors.at(0);
        EXPECT_TRUE(record.Rejected && record.Ignored && !record.Checked) << colour;
        EXPECT_EQ(record.Color, value) << colour;
        EXPECT_TRUE(doc.Page.Colors.at(0).Rejected) << colour;
        Change(doc, TAdjustment::Invert());
        EXPECT_EQ(ReadAll(doc.GetSheetWorkFile(0)), "a{color:" + colour + "}b{color:#FFFFFF}");
        EXPECT_EQ(ReadAll(doc.WorkFileName()), ReadAll(site.Root / "p.html"));
        Change(doc, TAdjustment::NewColorOf(RGB(1, 2, 3)));
        EXPECT_EQ(doc.GetSheet(0).Colors[0].Text, doc.GetSheet(0).Colors[0].OrgText);
        const std::vector<TRejectedColor> rejected = RejectedColors(doc);
        ASSERT_EQ(rejected.size(), 2u) << colour;
        EXPECT_EQ(rejected[0].Path, site.Root / "p.html");
        EXPECT_EQ(rejected[0].Pos, 53u);
        EXPECT_EQ(rejected[1].Path, site.Root / "s.css");
        EXPECT_EQ(rejected[1].Text, colour);
        EXPECT_EQ(rejected[1].Pos, 9u);
    }

    // A colour attribute is read leniently: only a value whose reading fails is ignored.
    TSite site;
    THtmlStructure doc = site.OpenPage("<font color=\"rgb(a,b,c)\"><font color=\"#ff000\"><font color=\"rgb(1px,2,3)\">");
    ASSERT_EQ(doc.Page.Colors.size(), 3u);
    EXPECT_TRUE(doc.Page.Colors[0].Rejected && doc.Page.Colors[2].Rejected);
    EXPECT_FALSE(doc.Page.Colors[1].Ignored);
    Change(doc, TAdjustment::Invert());
    EXPECT_EQ(ReadAll(doc.WorkFileName()), "<font color=\"rgb(a,b,c)\"><font color=\"#FFFFFF\"><font color=\"rgb(1px,2,3)\">");
}
