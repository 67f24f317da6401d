#include "serial/SerielleFristen.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(SendeFrist, withoutSendTimeoutIsWireTimeAtElevenBitsPerBytePlusOneSecond)
{
    EXPECT_EQ(SendeFristMs(5, 2400, 0), 23 + 1000); // 55 bits at 2400 baud: 22.9 ms
    EXPECT_EQ(SendeFristMs(261, 300, 0), 9570 + 1000);
    EXPECT_EQ(SendeFristMs(0, 9600, 0), 1000);
}

TEST(SendeFrist, givenSendTimeoutIsTheLimit)
{
    EXPECT_EQ(SendeFristMs(261, 300, 0.25), 250);
    EXPECT_EQ(SendeFristMs(5, 9600, 2), 2000);
}

TEST(SendeFrist, nonsenseSendTimeoutFallsBackToWireTime)
{
    EXPECT_EQ(SendeFristMs(5, 2400, -1), 1023);
    EXPECT_EQ(SendeFristMs(5, 2400, std::numeric_limits<double>::quiet_NaN()), 1023);
    EXPECT_EQ(SendeFristMs(5, 2400, std::numeric_limits<double>::infinity()), 1023);
}

TEST(LeseGesamtfrist, allowsTheLongestFrameTwiceBesideThreeTimeouts)
{
    // 2 x 261 bytes x 11 bits at 9600 baud = 598.1 ms
    EXPECT_EQ(LeseGesamtfristMs(0.8, 9600), 2400 + 1000 + 2 * 300);
    EXPECT_EQ(LeseGesamtfristMs(1e300, 9600), 3000LL * 86400 + 1000 + 2 * 300);
}

} // namespace
