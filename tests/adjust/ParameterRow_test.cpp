#include "adjust/ParameterRow.h"

#include <gtest/gtest.h>

namespace pictor {
namespace {

constexpr TRowRange HueRange{-180, 180};

TEST(ParameterRow, OnlySignedDecimalsConvert)
{
    EXPECT_EQ(ParseWholeNumber("-255"), -255);
    EXPECT_EQ(ParseWholeNumber("+7"), 7);
    EXPECT_EQ(ParseWholeNumber("-0"), 0);
    for (const char* text : {"", "-", "+", "+-5", "--5", "5a", "1e2", " 5", "5 ", "0x10", "99999999999"})
        EXPECT_FALSE(ParseWholeNumber(text).has_value()) << text;
}

TEST(ParameterRow, TextBoxReadsItsFirstLineAndNonNumbersAsZero)
{
    EXPECT_EQ(RowTextValue("12\r\n34"), 12);
    EXPECT_EQ(RowTextValue("-8\n"), -8);
    EXPECT_EQ(RowTextValue("\n5"), 0);
    EXPECT_EQ(RowTextValue("-"), 0);
}

TEST(ParameterRow, TypedTextMovesTheBarOnlyWithinRange)
{
    EXPECT_EQ(TypedPosition("180", HueRange), 180);
    EXPECT_EQ(TypedPosition("-", HueRange), 0);
    EXPECT_EQ(TypedPosition("abc", HueRange), 0);
    EXPECT_FALSE(TypedPosition("200", HueRange).has_value());
    EXPECT_FALSE(TypedPosition("-181", HueRange).has_value());
}

TEST(ParameterRow, ArrowsStepTheShownNumberWithoutWrapping)
{
    EXPECT_EQ(SteppedValue("5", 1, HueRange), 6);
    EXPECT_EQ(SteppedValue("-", -1, HueRange), -1);
    EXPECT_EQ(SteppedValue("180", 1, HueRange), 180);
    EXPECT_EQ(SteppedValue("-180", -1, HueRange), -180);
    EXPECT_EQ(SteppedValue("200", -1, HueRange), 179);
}

} // namespace
} // namespace pictor
