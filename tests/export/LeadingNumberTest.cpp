#include "export/LeadingNumber.h"

#include <gtest/gtest.h>

namespace {

using th::exporting::readLeadingNumber;

TEST(LeadingNumber, ReadsDecimalWithBlanksAndSign)
{
    EXPECT_EQ(readLeadingNumber("5"), 5);
    EXPECT_EQ(readLeadingNumber("  \t 42"), 42);
    EXPECT_EQ(readLeadingNumber("-17"), -17);
    EXPECT_EQ(readLeadingNumber("+17"), 17);
    EXPECT_EQ(readLeadingNumber("007"), 7);
}

TEST(LeadingNumber, StopsAtTheFirstOtherCharacter)
{
    EXPECT_EQ(readLeadingNumber("3passes"), 3);
    EXPECT_EQ(readLeadingNumber("12.9"), 12);
    EXPECT_EQ(readLeadingNumber("1 2"), 1);
    EXPECT_EQ(readLeadingNumber("9a"), 9);
}

TEST(LeadingNumber, ReadsHexadecimalAfterDollarAndBinaryAfterPercent)
{
    EXPECT_EQ(readLeadingNumber("$10"), 16);
    EXPECT_EQ(readLeadingNumber("$fF"), 255);
    EXPECT_EQ(readLeadingNumber("$1g"), 1);
    EXPECT_EQ(readLeadingNumber("-$10"), -16);
    EXPECT_EQ(readLeadingNumber("%101"), 5);
    EXPECT_EQ(readLeadingNumber("%1021"), 2);
    EXPECT_EQ(readLeadingNumber("+%11"), 3);
}

TEST(LeadingNumber, TextWithoutDigitsGivesZero)
{
    EXPECT_EQ(readLeadingNumber(""), 0);
    EXPECT_EQ(readLeadingNumber("th.ImageCount"), 0);
    EXPECT_EQ(readLeadingNumber("-"), 0);
    EXPECT_EQ(readLeadingNumber("- 5"), 0);
    EXPECT_EQ(readLeadingNumber("$"), 0);
    EXPECT_EQ(readLeadingNumber("$-1"), 0);
    EXPECT_EQ(readLeadingNumber("%2"), 0);
    EXPECT_EQ(readLeadingNumber("x12"), 0);
    EXPECT_EQ(readLeadingNumber("\n12"), 0);
}

TEST(LeadingNumber, NumbersBeyondSixtyFourBitsWrapInsteadOfFailing)
{
    EXPECT_EQ(readLeadingNumber("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(readLeadingNumber("18446744073709551617"), 1);
    EXPECT_EQ(readLeadingNumber("$10000000000000002"), 2);
}

} // namespace
