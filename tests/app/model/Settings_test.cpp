#include "app/model/BandLayout.h"
#include "app/model/IniFileCompo.h"
#include "app/model/Settings.h"
#include "app/model/Options.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>


namespace pictor {
namespace {

using test::ReadAll;
using test::TTempDir;

class SettingsTest : public ::testing::Test {
protected:
    TOptions& Options() { return Options_; }

    TWindowSettings Load(const std::string& path)
    {
        TIniFileCompo ini;
        ini.AutoUpdate = false;
        ini.SetDefaultFolder(dfUser);
        ini.SetFileName(path);
        return LoadSettings(ini, Options_, 1920, 1080, "/opt/pictor/");
    }
    void Save(const std::string& path, const TWindowSettings& window)
    {
        TIniFileCompo ini;
        ini.SetDefaultFolder(dfUser);
        ini.SetFileName(path);
        SaveSettings(ini, window, Options_);
    }
    TTempDir Dir;
    TOptions Options_;
};

TEST_F(SettingsTest, WithoutAFileOptionsAreResetAndTheWindowIsCentredOnItsSize)
{
    Options().ShowHint = false;
    const TWindowSettings w = Load(Dir / "none.ini");
    EXPECT_EQ(w.LastOpenedDirectory, "/opt/pictor");
    EXPECT_EQ(w.Left, 560);
    EXPECT_EQ(w.Top, 240);
    EXPECT_TRUE(Options().ShowHint);

    const TWindowSettings sized = Load(Dir.Write("s.ini", "[Window]\nWidth=1001\nHeight=401\n"));
    EXPECT_EQ(sized.Left, 459);  // (1920 - 1001) div 2
    EXPECT_EQ(sized.Top, 339);
}

TEST_F(SettingsTest, RoundTripKeepsUnknownEntriesAndEveryValue)
{
    const std::string path = Dir.Write("s.ini", "; mine\n[Mine]\nX=1\n[Option]\nHintViewBytes=0x191\nFuture=yes\n");
    TWindowSettings w = Load(path);
    w.Left = 10;
    w.Bands[bnEdit] = {false, 54, 200};
    Options().EditorPath = "/usr/bin/gedit";
    Options().UseReplacer = true;
    Save(path, w);

    const std::string text = ReadAll(path);
    EXPECT_EQ(text.rfind("; mine\n", 0), 0u);
    EXPECT_NE(text.find("[Mine]\nX=1\n"), std::string::npos);
    EXPECT_NE(text.find("Future=yes"), std::string::npos);
    Options() = TOptions();
    const TWindowSettings again = Load(path);
    EXPECT_EQ(again.Left, 10);
    EXPECT_FALSE(again.Bands[bnEdit].Visible);
    EXPECT_EQ(again.Bands[bnEdit].Top, 54);
    EXPECT_EQ(Options().HintViewBytes, 401);  // read as hexadecimal, written as decimal
    EXPECT_EQ(Options().EditorPath, "/usr/bin/gedit");
    EXPECT_TRUE(Options().UseReplacer);
}

TEST_F(SettingsTest, AMaximisedWindowKeepsTheStoredGeometry)
{
    const std::string path = Dir.Write("s.ini", "[Window]\nHeight=500\nWidth=700\nTop=5\nLeft=6\nState=1\n");
    TWindowSettings w = Load(path);
    w.State = 2;
    w.Width = 1920;
    w.Top = 0;
    Save(path, w);
    const TWindowSettings again = Load(path);
    EXPECT_EQ(again.State, 2);
    EXPECT_EQ(again.Width, 700);
    EXPECT_EQ(again.Top, 5);
}

// A file the older program wrote: its section and key names in any case.
TEST_F(SettingsTest, ReplacementPairsAreFoundWhateverTheirSpelling)
{
    Load(Dir.Write("s.ini", "[replace]\ncount=2\nKEY0=k0\nvalue0=v0\nKey1=k1\nValue1=v1\n"));
    EXPECT_EQ(Options().ReplaceKeys, (std::vector<std::string>{"k0", "k1"}));
    EXPECT_EQ(Options().ReplaceValues, (std::vector<std::string>{"v0", "v1"}));
}

// Where the window put the bands: the same rows and order as loaded, in its own pixels.
TBandSettings ShownAsLoaded()
{
    TBandSettings shown;
    shown[bnMenu] = {true, 0, 0};
    shown[bnColorPicker] = {true, 0, 300};
    shown[bnFile] = {true, 30, 0};
    shown[bnEdit] = {true, 30, 120};
    shown[bnColorAdjust] = {true, 30, 220};
    shown[bnHelp] = {true, 30, 330};
    return shown;
}

TEST(BandLayout, ArrangesRowsAndStoresLoadedPlacesUnlessABandWasMoved)
{
    const TBandSettings loaded = TWindowSettings().Bands;
    EXPECT_EQ(ArrangeBands(loaded, false),
              (TBandRows{{bnMenu, bnColorPicker}, {bnFile, bnEdit, bnColorAdjust, bnHelp}}));
    TBandSettings shown = ShownAsLoaded();
    shown[bnEdit].Visible = false;  // hiding a band moves nothing
    EXPECT_EQ(ArrangeBands(shown, true), (TBandRows{{bnMenu, bnColorPicker}, {bnFile, bnColorAdjust, bnHelp}}));
    const TBandSettings unmoved = PlaceBands(loaded, shown);
    EXPECT_FALSE(unmoved[bnEdit].Visible);
    EXPECT_EQ(unmoved[bnEdit].Left, 127);
    EXPECT_EQ(unmoved[bnHelp].Left, 352);

    shown = ShownAsLoaded();
    shown[bnHelp] = {true, 0, 150};  // dragged between the menu and the picker
    const TBandSettings placed = PlaceBands(loaded, shown);
    EXPECT_EQ(placed[bnHelp].Top, 2);
    EXPECT_EQ(placed[bnHelp].Left, 161);
    EXPECT_EQ(placed[bnEdit].Top, 28);
    EXPECT_EQ(ArrangeBands(placed, false),
              (TBandRows{{bnMenu, bnHelp, bnColorPicker}, {bnFile, bnEdit, bnColorAdjust}}));
}

TEST(ReplaceTableOptions, StoresTheTableAndTheFlagAndReadsThemBack)
{
    TOptions options;
    options.ReplaceKeys = {"old"};
    options.ReplaceValues = {"stale"};
    const TReplaceTable table{{"a", "x"}, {"b", "y\\n"}};
    StoreReplaceTable(options, table, true);
    EXPECT_TRUE(options.UseReplacer);
    EXPECT_EQ(options.ReplaceValues, (std::vector<std::string>{"x", "y\\n"}));
    EXPECT_EQ(ReplaceTableOf(options), table);  // the stale pair is gone
}

} // namespace
} // namespace pictor
