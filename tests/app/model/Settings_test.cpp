#include "app/model/IniFileCompo.h"
#include "app/model/Settings.h"
#include "document/Options.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

using test::ReadAll;
using test::TTempDir;

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { Options() = TOptions(); }
    void TearDown() override { Options() = TOptions(); }

    TWindowSettings Load(const std::string& path)
    {
        TIniFileCompo ini;
        ini.AutoUpdate = false;
        ini.SetDefaultFolder(dfUser);
        ini.SetFileName(path);
        return LoadSettings(ini, 1920, 1080, "/opt/pictor/");
    }
    void Save(const std::string& path, const TWindowSettings& window)
    {
        TIniFileCompo ini;
        ini.SetDefaultFolder(dfUser);
        ini.SetFileName(path);
        SaveSettings(ini, window);
    }
    TTempDir Dir;
};

TEST_F(SettingsTest, WithoutAFileEverythingIsDefaultAndTheWindowIsCentred)
{
    Options().ShowHint = false;
    const TWindowSettings w = Load(Dir / "none.ini");
    EXPECT_EQ(w.LastOpenedDirectory, "/opt/pictor");
    EXPECT_EQ(w.Width, 800);
    EXPECT_EQ(w.Height, 600);
    EXPECT_EQ(w.Left, 560);
    EXPECT_EQ(w.Top, 240);
    EXPECT_EQ(w.State, 1);
    EXPECT_EQ(w.SideBarHeight, 211);
    EXPECT_EQ(w.Bands[bnHelp].Left, 352);
    EXPECT_TRUE(Options().ShowHint);
    EXPECT_EQ(Options().HintViewBytes, 400);
    EXPECT_EQ(Options().JpegCompressionQuality, 80);
}

TEST_F(SettingsTest, TheDefaultPositionFollowsTheStoredSize)
{
    const TWindowSettings w = Load(Dir.Write("s.ini", "[Window]\nWidth=1001\nHeight=401\n"));
    EXPECT_EQ(w.Left, 459);  // (1920 - 1001) div 2
    EXPECT_EQ(w.Top, 339);
}

TEST_F(SettingsTest, RoundTripKeepsUnknownEntriesAndEveryValue)
{
    const std::string path = Dir.Write("s.ini", "; mine\n[Mine]\nX=1\n[Option]\nHintViewBytes=401\nFuture=yes\n");
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
    EXPECT_EQ(Options().HintViewBytes, 401);
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

TEST_F(SettingsTest, ReplacementPairsLeaveStaleEntriesBehind)
{
    const std::string path = Dir / "s.ini";
    Options().ReplaceKeys = {"a", "b", "c"};
    Options().ReplaceValues = {"A", "B", "C"};
    Save(path, TWindowSettings());
    Options().ReplaceKeys = {"x"};
    Options().ReplaceValues = {"X"};
    Save(path, TWindowSettings());

    const std::string text = ReadAll(path);
    EXPECT_NE(text.find("[Replace]\nCount=1\nkey0=x\nValue0=X\nkey1=b\nValue1=B\nkey2=c\nValue2=C\n"),
              std::string::npos);
    Load(path);
    EXPECT_EQ(Options().ReplaceKeys, std::vector<std::string>{"x"});
    EXPECT_EQ(Options().ReplaceValues, std::vector<std::string>{"X"});
}

TEST_F(SettingsTest, ReplacementKeysAreFoundWhateverTheirSpelling)
{
    Load(Dir.Write("s.ini", "[replace]\ncount=2\nKEY0=k0\nvalue0=v0\nKey1=k1\nValue1=v1\n"));
    EXPECT_EQ(Options().ReplaceKeys, (std::vector<std::string>{"k0", "k1"}));
    EXPECT_EQ(Options().ReplaceValues, (std::vector<std::string>{"v0", "v1"}));
}

} // namespace
} // namespace pictor
