#include "adjust/AdjustPreset.h"
#include "adjust/ParameterRow.h"
#include "base/PictorError.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

using Lines = std::vector<std::string>;

TEST(AdjustPreset, WritesCrLfLinesAndAppendsTheExtensionOnlyWhenMissing)
{
    EXPECT_EQ(FormatPreset({-30, 15, 0}), "-30\r\n15\r\n0\r\n");
    EXPECT_EQ(WithPresetExtension("SETTINGS.CCH", ".cch"), "SETTINGS.CCH");
    EXPECT_EQ(WithPresetExtension("/tmp/x.ccb", ".cch"), "/tmp/x.ccb.cch");
    EXPECT_EQ(WithPresetExtension("a.cc", ".ccb"), "a.cc.ccb");
    EXPECT_EQ(WithPresetExtension("", ".ccb"), ".ccb");
}

TEST(AdjustPreset, SplitsAtEveryKindOfLineBreak)
{
    EXPECT_EQ(PresetLines("1\r\n2\r3\n4"), (Lines{"1", "2", "3", "4"}));
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

TEST(ParameterRow, OnlySignedDecimalsConvertAndTheTextBoxReadsItsFirstLine)
{
    EXPECT_EQ(ParseWholeNumber("-255"), -255);
    EXPECT_EQ(ParseWholeNumber("+7"), 7);
    for (const char* text : {"", "-", "+-5", "--5", "5a", "1e2", " 5", "5 ", "0x10", "99999999999"})
        EXPECT_FALSE(ParseWholeNumber(text).has_value()) << text;

    EXPECT_EQ(RowTextValue("12\r\n34"), 12);
    EXPECT_EQ(RowTextValue("\n5"), 0);
    EXPECT_EQ(RowTextValue("-"), 0);
}

TEST(ParameterRow, TypedTextAndArrowsStayWithinRange)
{
    constexpr TRowRange hue{-180, 180};
    EXPECT_EQ(TypedPosition("180", hue), 180);
    EXPECT_EQ(TypedPosition("abc", hue), 0);
    EXPECT_FALSE(TypedPosition("200", hue).has_value());
    EXPECT_FALSE(TypedPosition("-181", hue).has_value());

    EXPECT_EQ(SteppedValue("5", 1, hue), 6);
    EXPECT_EQ(SteppedValue("-", -1, hue), -1);
    EXPECT_EQ(SteppedValue("180", 1, hue), 180);
    EXPECT_EQ(SteppedValue("-180", -1, hue), -180);
    EXPECT_EQ(SteppedValue("200", -1, hue), 179);
}

} // namespace
} // namespace pictor
