#include "toolkit/HostVersion.h"

#include <gtest/gtest.h>

namespace {

TEST(HostVersion, EachMinorVersionSpansSixteenPackedValues)
{
    // Each side of both ends of the minor versions, and one step between two.
    const std::pair<int, int> cases[] = {
        {0, 10000},      {0x100F, 10000}, {0x1010, 10100}, {0x107F, 10700},
        {0x1080, 10800}, {0x108F, 10800}, {0x1090, 60000},
    };
    for (const auto& [packed, version] : cases)
        EXPECT_EQ(th::toolkit::hostVersionFromPacked(packed), version) << std::hex << packed;
}

} // namespace
