#include "toolkit/HostVersion.h"

#include <gtest/gtest.h>

namespace {

using th::toolkit::hostVersionFromPacked;

TEST(HostVersion, EachMinorVersionSpansSixteenPackedValues)
{
    EXPECT_EQ(hostVersionFromPacked(0), 10000);
    EXPECT_EQ(hostVersionFromPacked(0x1000), 10000);
    EXPECT_EQ(hostVersionFromPacked(0x100F), 10000);
    EXPECT_EQ(hostVersionFromPacked(0x1010), 10100);
    EXPECT_EQ(hostVersionFromPacked(0x1039), 10300);
    EXPECT_EQ(hostVersionFromPacked(0x106F), 10600);
    EXPECT_EQ(hostVersionFromPacked(0x1070), 10700);
    EXPECT_EQ(hostVersionFromPacked(0x1075), 10700);
    EXPECT_EQ(hostVersionFromPacked(0x107F), 10700);
    EXPECT_EQ(hostVersionFromPacked(0x1080), 10800);
    EXPECT_EQ(hostVersionFromPacked(0x108F), 10800);
    EXPECT_EQ(hostVersionFromPacked(0x1090), 60000);
    EXPECT_EQ(hostVersionFromPacked(0x7FFF), 60000);
}

} // namespace
