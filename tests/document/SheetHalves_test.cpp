#include "document/DocumentText.h"
#include "document/StyleScanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

using namespace pictor;

namespace {

// Every occurrence with where it stands, and each picture once, as one walk from the start finds them.
struct TWalked : TScanEvents {
    using TOccurrence = std::tuple<size_t, size_t, TColorForm, int, TColorRole, size_t, size_t>;
    std::vector<TOccurrence> Colors;
    std::vector<std::string> Pics;
    void ColorFound(size_t pos, size_t length, TColorForm form, int index, const TColorPlace& place) override
    {
        Colors.emplace_back(pos, length, form, index, place.Role, place.Group, place.Declaration);
    }
    void PictureFound(std::string_view ref) override
    {
        if (std::find(Pics.begin(), Pics.end(), ref) == Pics.end()) Pics.emplace_back(ref);
    }
};

// A large sheet's scan, walked in halves side by side, must find what one walk finds.
void ExpectAsOneWalk(const std::string& text)
{
    ASSERT_GE(text.size(), size_t(1) << 20) << "large enough to be walked in halves";
    TElements sheet;
    sheet.CharCode = ccUtf8;
    sheet.Text = text;
    TWalked walked;
    WalkStyleSheet(sheet.Text, true, walked);
    const TFileScan scan = ScanFile(sheet, false);
    ASSERT_EQ(scan.Colors.size(), walked.Colors.size());
    std::vector<TPlacedColor> placed;
    for (size_t k = 0; k < walked.Colors.size(); ++k) {
        const auto& [pos, length, form, index, role, group, declaration] = walked.Colors[k];
        const TColorFound& found = scan.Colors[k];
        ASSERT_TRUE(found.Pos == pos && found.Length == length && found.Form == form && found.NameIndex == index) << k;
        if (role != TColorRole::Other) placed.push_back({k, {role, group, declaration, {}}, false});
    }
    ASSERT_EQ(scan.Placed.size(), placed.size());
    for (size_t k = 0; k < placed.size(); ++k)
        EXPECT_TRUE(scan.Placed[k].Index == placed[k].Index && scan.Placed[k].Place.Role == placed[k].Place.Role &&
                    scan.Placed[k].Place.Group == placed[k].Place.Group &&
                    scan.Placed[k].Place.Declaration == placed[k].Place.Declaration)
            << k;
    EXPECT_EQ(scan.Pics, walked.Pics);
}

std::string Repeated(const std::string& chunk, size_t bytes)
{
    std::string text;
    while (text.size() < bytes) text += chunk;
    return text;
}

} // namespace

// The second half starts after a "}" (and its line break); the first half's walk either stands there
// outside every rule (the halves join) or not (a block or a comment spans it), laid out or minified.
TEST(SheetHalves, FindWhatOneWalkFinds)
{
    const std::string rules = ".a{color:red;background:url(a.png)}\n.b { color: #123; background-color: Navy }\n"
                              "@media print{\n  .c{color:rgb(1, 2, 3)}\n}\n.d{background:url(d.png) #fff;color:blue}\n";
    ExpectAsOneWalk(Repeated(rules, 1200000));
    ExpectAsOneWalk("@media print{\n" + Repeated(".c{color:red}\n.d{color:blue;background:#eee}\n", 1200000) + "}\n");
    ExpectAsOneWalk(Repeated(rules, 500000) + "/*\n" + Repeated("}\n.x{color:red}\n", 300000) + "*/\n" +
                    Repeated(rules, 500000));
    ExpectAsOneWalk(Repeated(rules, 600000) + ".e{background:url(e.png)}\n" + Repeated(rules, 600000));
    ExpectAsOneWalk(Repeated(".a{color:red}@media print{.b{color:#fff;background:Navy}.c{color:#000}}", 1200000));
}
