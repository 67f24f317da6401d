#include "serial/LeseErgebnis.h"

#include <gtest/gtest.h>

namespace {

TEST(LeseErgebnis, timeoutTextComparesGreaterThanEveryNumber)
{
    const auto r = LeseErgebnis::Zeitueberschreitung(QStringLiteral("Timeout :   0,8"));
    EXPECT_FALSE(r == 1);
    EXPECT_TRUE(r != 1);
    EXPECT_TRUE(r > 0);
    EXPECT_TRUE(r > 1000000);
    EXPECT_FALSE(r < 0);
    EXPECT_FALSE(r == -1);
    EXPECT_TRUE(0 < r);
    EXPECT_EQ(r.text(), QStringLiteral("Timeout :   0,8"));
}

TEST(LeseErgebnis, numberComparesAsNumber)
{
    const LeseErgebnis r(9);
    EXPECT_TRUE(r == 9);
    EXPECT_TRUE(r > 0);
    EXPECT_FALSE(r == 1);
    EXPECT_TRUE(LeseErgebnis(-1) < 0);
    EXPECT_FALSE(LeseErgebnis(-1) > 0);
    EXPECT_EQ(r.text(), QStringLiteral("9"));
}

} // namespace
