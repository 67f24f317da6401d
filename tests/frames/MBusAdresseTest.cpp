#include "frames/MBusAdresse.h"

#include <gtest/gtest.h>

namespace {

TEST(MBusAdresseTest, zaehleradressenReichenVonNullBis250)
{
    EXPECT_TRUE(MBusAdresse::IstZaehleradresse(0));
    EXPECT_TRUE(MBusAdresse::IstZaehleradresse(250));
    EXPECT_FALSE(MBusAdresse::IstZaehleradresse(-1));
    for (int wert = 251; wert <= 256; ++wert)
        EXPECT_FALSE(MBusAdresse::IstZaehleradresse(wert)) << wert;
}

TEST(MBusAdresseTest, sonderadressenSindKeineZaehleradressen)
{
    constexpr MBusAdresse ausgewaehlt(MBusAdresse::kNetzwerkschicht);
    static_assert(ausgewaehlt.wert() == 253 && ausgewaehlt.istNetzwerkschicht());
    EXPECT_FALSE(ausgewaehlt.istZaehleradresse());
    EXPECT_FALSE(ausgewaehlt.istRundruf());
    EXPECT_TRUE(MBusAdresse(254).istRundruf());
    EXPECT_TRUE(MBusAdresse(255).istRundruf());
    EXPECT_FALSE(MBusAdresse(254).istZaehleradresse());
    EXPECT_TRUE(MBusAdresse(5).istZaehleradresse());
    EXPECT_FALSE(MBusAdresse(5).istRundruf());
}

} // namespace
