#include "adjust/AdjustPreset.h"
#include "adjust/ParameterRow.h"
#include "support/Errors.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

using Lines = std::vector<std::string>;

// What the dialogs' own test writes and reads back is theirs; here: the odd files and extensions.
TEST(AdjustPreset, LinesExtensionsAndValues)
{
    EXPECT_EQ(WithPresetExtension("SETTINGS.CCH", ".cch"), "SETTINGS.CCH");
    EXPECT_EQ(WithPresetExtension("/tmp/x.ccb", ".cch"), "/tmp/x.ccb.cch");
    EXPECT_EQ(PresetLines("1\r\n2\r3\n4"), (Lines{"1", "2", "3", "4"}));
    EXPECT_EQ(PresetLines("1\n\n2\r\r\n"), (Lines{"1", "", "2", ""}));
    const Lines lines{"300", "+5", "abc", ""};
    EXPECT_EQ(PresetValue(lines, 0, "p.cch"), 300);
    EXPECT_EQ(PresetValue(lines, 1, "p.cch"), 5);
    for (const std::size_t bad : {std::size_t(2), std::size_t(3), std::size_t(4)}) {
        const TPictorError error = test::ErrorOf([&] { PresetValue(lines, bad, "p.cch"); });
        EXPECT_EQ(error.File, "p.cch");
        EXPECT_NE(error.Reason.find(std::to_string(bad + 1)), std::string::npos) << error.Reason;
    }
}

TEST(ParameterRow, OnlySignedDecimalsConvertAndTypedTextAndArrowsStayWithinRange)
{
    for (const char* text : {"", "-", "+-5", "--5", "5a", "1e2", " 5", "5 ", "0x10", "99999999999"})
        EXPECT_FALSE(ParseWholeNumber(text).has_value()) << text;
    EXPECT_EQ(ParseWholeNumber("+7"), 7);
    EXPECT_EQ(RowTextValue("12\r\n34"), 12);

    constexpr TRowRange hue{-180, 180};
    EXPECT_EQ(TypedPosition("abc", hue), 0);
    EXPECT_FALSE(TypedPosition("-181", hue).has_value());
    EXPECT_EQ(SteppedValue("-", -1, hue), -1);
    EXPECT_EQ(SteppedValue("180", 1, hue), 180);
    EXPECT_EQ(SteppedValue("200", -1, hue), 179);
}

} // namespace
} // namespace pictor
