#include "export/LeadingNumber.h"

#include <gtest/gtest.h>

namespace {

TEST(LeadingNumber, ReadsDecimalHexAndBinaryUpToTheFirstOtherCharacter)
{
    const std::pair<const char*, std::int64_t> cases[] = {
        {"5", 5}, {"  \t 42", 42}, {"-17", -17}, {"+17", 17}, {"007", 7},
        {"3passes", 3}, {"12.9", 12}, {"1 2", 1}, {"9a", 9},
        {"$10", 16}, {"$fF", 255}, {"$1g", 1}, {"-$10", -16}, {"%101", 5}, {"%1021", 2}, {"+%11", 3},
        // Without digits: zero.
        {"", 0}, {"th.ImageCount", 0}, {"-", 0}, {"- 5", 0}, {"$", 0}, {"$-1", 0}, {"%2", 0}, {"x12", 0}, {"\n12", 0},
        // Beyond 64 bits the value wraps instead of failing.
        {"9223372036854775807", INT64_MAX}, {"18446744073709551617", 1}, {"$10000000000000002", 2},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(th::exporting::readLeadingNumber(text), value) << '"' << text << '"';
}

} // namespace
