#include "app/model/IniFileCompo.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace pictor {
namespace {

using test::ReadAll;
using test::TTempDir;

// A settings component on a file of the test's own folder.
struct TIniOn {
    explicit TIniOn(const std::string& path)
    {
        Ini.SetDefaultFolder(dfUser);
        Ini.SetFileName(path);
    }
    TIniFileCompo Ini;
};

TEST(IniFileCompo, KeepsOrderAndUnknownEntriesAndMatchesNamesWithoutCase)
{
    TTempDir dir;
    const std::string path = dir.Write("settings.ini",
                                       "[Zeta]\nfirst=1\nOther=keep me\n[alpha]\nB=2\nA=3\n");
    {
        TIniOn file(path);
        EXPECT_EQ(file.Ini.ReadString("ZETA", "OTHER", "-"), "keep me");
        file.Ini.WriteInteger("Alpha", "a", 30);  // the existing entry, whatever its spelling
        file.Ini.WriteString("New", "Key", "v");
    }
    EXPECT_EQ(ReadAll(path), "[Zeta]\nfirst=1\nOther=keep me\n\n\n[alpha]\nB=2\nA=30\n\n\n[New]\nKey=v\n");
}

TEST(IniFileCompo, ReadsDecimalAndHexIntegersAndTheDefaultForAnythingElse)
{
    TTempDir dir;
    TIniOn file(dir.Write("s.ini", "[S]\ndec=-42\nhex=0x1F\nHEX2=0XfF\nword=abc\ntail=12px\nbare=0x\nbig=99999999999\n"));
    const TIniFileCompo& ini = file.Ini;
    EXPECT_EQ(ini.ReadInteger("S", "dec", 7), -42);
    EXPECT_EQ(ini.ReadInteger("S", "hex", 7), 31);
    EXPECT_EQ(ini.ReadInteger("S", "hex2", 7), 255);
    EXPECT_EQ(ini.ReadInteger("S", "word", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "tail", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "bare", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "big", 7), 7);
    EXPECT_EQ(ini.ReadInteger("S", "missing", 7), 7);
}

TEST(IniFileCompo, BooleansAreAnyNonZeroIntegerAndAreWrittenAsOneAndZero)
{
    TTempDir dir;
    const std::string path = dir.Write("s.ini", "[B]\nyes=5\nno=0\nword=true\n");
    {
        TIniOn file(path);
        EXPECT_TRUE(file.Ini.ReadBool("B", "yes", false));
        EXPECT_FALSE(file.Ini.ReadBool("B", "no", true));
        EXPECT_TRUE(file.Ini.ReadBool("B", "word", true));  // not a number: the default
        EXPECT_FALSE(file.Ini.ReadBool("B", "word", false));
        file.Ini.WriteBool("B", "yes", true);
        file.Ini.WriteBool("B", "no", false);
    }
    EXPECT_EQ(ReadAll(path), "[B]\nyes=1\nno=0\nword=true\n");
}

TEST(IniFileCompo, ReachesTheDiskOnDestructionOrAtOnceAsAsked)
{
    TTempDir dir;
    const std::string path = dir / "sub/settings.ini";  // a missing folder is made
    {
        TIniOn file(path);
        file.Ini.AutoUpdate = false;
        file.Ini.WriteString("S", "k", "v");
    }
    EXPECT_FALSE(std::filesystem::exists(path));

    int updates = 0;
    {
        TIniOn file(path);
        file.Ini.AutoUpdate = false;
        file.Ini.UpdateAtOnce = true;
        file.Ini.OnUpdate = [&] { ++updates; };
        file.Ini.WriteString("S", "k", "v");
        EXPECT_EQ(ReadAll(path), "[S]\nk=v\n");
        file.Ini.WriteInteger("S", "n", 1);
    }
    EXPECT_EQ(updates, 2);
}

TEST(IniFileCompo, FolderChoicesAndReloadNotice)
{
    TTempDir dir;
    setenv("XDG_DATA_HOME", dir.Path().c_str(), 1);
    dir.Write("Pictor/settings.ini", "[S]\nk=from data\n");
    TIniFileCompo ini;
    ini.AutoUpdate = false;
    int loads = 0;
    ini.OnLoad = [&] { ++loads; };
    ini.SetFileName("settings.ini");
    ini.SetDefaultFolder(dfAppData);
    EXPECT_EQ(ini.FullPath(), (dir / "Pictor/settings.ini"));
    EXPECT_EQ(ini.ReadString("S", "k", ""), "from data");
    ini.SetDefaultFolder(dfUser);
    EXPECT_EQ(ini.FullPath(), "settings.ini");
    EXPECT_EQ(loads, 3);
    unsetenv("XDG_DATA_HOME");
}

} // namespace
} // namespace pictor
