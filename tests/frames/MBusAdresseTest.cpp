#include "frames/MBusAdresse.h"

#include <gtest/gtest.h>

namespace {

TEST(MBusAdresse, meterAddressesRunFrom0To250AndSpecialAddressesAreNone)
{
    for (int wert : {-1, 251, 253, 254, 255, 256})
        EXPECT_FALSE(MBusAdresse::IstZaehleradresse(wert)) << wert;
    EXPECT_TRUE(MBusAdresse::IstZaehleradresse(0) && MBusAdresse::IstZaehleradresse(250));
    EXPECT_TRUE(MBusAdresse(254).istRundruf() && MBusAdresse(255).istRundruf());
    EXPECT_FALSE(MBusAdresse(253).istRundruf() || MBusAdresse(5).istRundruf());
}

} // namespace
