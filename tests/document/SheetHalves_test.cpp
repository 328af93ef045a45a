#include "base/WorkPool.h"
#include "document/DocumentText.h"
#include "document/LoadedFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace pictor;

namespace {

// Everything a scan found, as text, so that two scans compare whole.
std::string Dump(const TFileScan& scan)
{
    std::ostringstream out;
    for (const TColorFound& c : scan.Colors)
        out << "c" << c.Pos << "," << c.Length << "," << c.Embed << "," << int(c.Form) << "," << c.NameIndex << ";";
    for (const TPlacedColor& p : scan.Placed)
        out << "p" << p.Index << "," << int(p.Place.Role) << "," << p.Place.Group << "," << p.Place.Declaration << ";";
    for (const TEmbed& e : scan.Embeds) out << "e" << e.Pos << "," << e.Length << "," << int(e.Kind) << ";";
    for (const std::string& ref : scan.Pics) out << "pic " << ref << ";";
    for (const std::string& ref : scan.SvgRefs) out << "svg " << ref << ";";
    for (const TChannelList& l : scan.Channels.Lists) out << "l" << l.Value.Pos << "," << l.Name.Pos << ";";
    for (const TChannelUse& u : scan.Channels.Uses) out << "u" << int(u.Reading) << "," << u.Names[0].Pos << ";";
    for (const TVariableAlias& a : scan.Channels.Aliases) out << "a" << a.Name.Pos << "," << a.Target.Pos << ";";
    return out.str();
}

} // namespace

// A large sheet is walked in two halves side by side. Wherever the second half starts (a rule, a block,
// a comment, a string or a URL spanning it or not), the halves find exactly what one walk finds.
TEST(SheetHalves, EverySplitFindsWhatOneWalkFinds)
{
    const char* const sheets[] = {
        ".a{color:red;background:url(a.png)}\n.b { color: #123; background-color: Navy }\n"
        "@media print{\n  .c{color:rgb(1, 2, 3)}\n}\n.d{background:url(d.png) #fff;color:blue}\n",
        ".a{color:red}/* } .x{color:blue} */.b{content:\"}\";color:#fff}@media print{.c{color:#000}}.e{color:teal}",
        ":root{--c:12 34 56;--d:var(--c)}.a{color:rgb(var(--c))}\n.b{background:url(\"data:image/svg+xml,"
        "<svg fill='red'/>\") lime}\n.c{background:url(s.svg)}\n.d{color:rgb(var(--c));background:hsl(var(--c))}\n",
    };
    TWorkPool pool(2);
    for (const std::string text : sheets) {
        TElements sheet;
        sheet.CharCode = ccUtf8;
        sheet.Text = text;
        const std::string whole = Dump(ScanFile(sheet, false));
        ASSERT_NE(whole, "");
        // Never at the very end: the split is always before a rule.
        for (size_t second = 0; second < text.size(); ++second)
            EXPECT_EQ(Dump(ScanInHalves(sheet, second, pool)), whole) << "split at " << second << " of " << text;
    }
}

// A long sheet's records are read in parts side by side, a data: URL's picture decoded in each part that
// reaches it, and a sheet over a MiB is walked in the halves ScanFile picks: they come out as one pass
// reads them.
TEST(SheetHalves, RecordsReadInPartsAreThoseReadInOne)
{
    std::string text;
    for (int k = 0; text.size() < (size_t(1) << 20) + 100; ++k)
        text += ".a" + std::to_string(k) + "{color:#" + std::to_string(100 + k % 900) + ";background:url(\"data:image/svg+xml,"
                "<svg fill='red' stroke='%23abc'/>\") rgb(1 2 3 / .5)}\n";
    test::TTempDir dir;
    const std::string path = dir.Write("big.css", text);
    TWorkPool pool(2);
    TLoadedFiles inParts(&pool), inOne;
    const TElements& parts = *inParts.Sheet(path).Elements;
    const TElements& one = *inOne.Sheet(path).Elements;
    ASSERT_GT(one.Colors.size(), 4096u * 2);
    ASSERT_EQ(parts.Colors.size(), one.Colors.size());
    for (size_t k = 0; k < one.Colors.size(); ++k) {
        const TColorRecord &a = parts.Colors[k], &b = one.Colors[k];
        ASSERT_TRUE(a.OrgText == b.OrgText && a.Color == b.Color && a.Alpha == b.Alpha && a.SourcePos == b.SourcePos &&
                    a.Embed.Pos == b.Embed.Pos && a.Rejected == b.Rejected && a.Checked == b.Checked)
            << "record " << k << ": " << a.OrgText << " / " << b.OrgText;
    }
}
