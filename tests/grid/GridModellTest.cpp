#include "FlexGridVerhalten.h"

#include "grid/GridModell.h"

INSTANTIATE_TYPED_TEST_SUITE_P(Modell, FlexGridVerhalten, GridModell);

TEST(GridModellTest, textbreiteSchaetztSiebenPixelJeZeichen)
{
    const GridModell grid;
    EXPECT_EQ(grid.TextBreiteTwips(QStringLiteral("AAMeßart")), 8 * 7 * 15);
}
