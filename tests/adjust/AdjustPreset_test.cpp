#include "adjust/AdjustPreset.h"
#include "document/PictorError.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

using Lines = std::vector<std::string>;

TEST(AdjustPreset, WritesOneDecimalLinePerRowEndedByCrLf)
{
    EXPECT_EQ(FormatPreset({-30, 15, 0}), "-30\r\n15\r\n0\r\n");
    EXPECT_EQ(FormatPreset({-30, 15, 0}).size(), 12u);
    EXPECT_EQ(FormatPreset({255, -100}), "255\r\n-100\r\n");
}

TEST(AdjustPreset, AppendsTheExtensionOnlyWhenMissing)
{
    EXPECT_EQ(WithPresetExtension("settings", ".cch"), "settings.cch");
    EXPECT_EQ(WithPresetExtension("SETTINGS.CCH", ".cch"), "SETTINGS.CCH");
    EXPECT_EQ(WithPresetExtension("/tmp/x.ccb", ".cch"), "/tmp/x.ccb.cch");
    EXPECT_EQ(WithPresetExtension("a.cc", ".ccb"), "a.cc.ccb");
    EXPECT_EQ(WithPresetExtension("", ".ccb"), ".ccb");
}

TEST(AdjustPreset, SplitsAtEveryKindOfLineBreak)
{
    EXPECT_EQ(PresetLines("1\r\n2\r3\n4"), (Lines{"1", "2", "3", "4"}));
    EXPECT_EQ(PresetLines("10\r\n-10\r\n0\r\n"), (Lines{"10", "-10", "0"}));
    EXPECT_EQ(PresetLines("1\n\n2\r\r\n"), (Lines{"1", "", "2", ""}));
    EXPECT_EQ(PresetLines(""), Lines{});
}

TEST(AdjustPreset, ValuesAreWholeNumbersOrAnErrorNamingTheFile)
{
    const Lines lines{"300", "+5", "abc", ""};
    EXPECT_EQ(PresetValue(lines, 0, "p.cch"), 300);
    EXPECT_EQ(PresetValue(lines, 1, "p.cch"), 5);
    for (const std::size_t bad : {std::size_t(2), std::size_t(3), std::size_t(4)}) {
        try {
            PresetValue(lines, bad, "p.cch");
            ADD_FAILURE() << "line " << bad << " was read";
        } catch (const TPictorError& error) {
            EXPECT_EQ(error.File, "p.cch");
            EXPECT_NE(error.Reason.find(std::to_string(bad + 1)), std::string::npos) << error.Reason;
        }
    }
}

} // namespace
} // namespace pictor
