// The RSP_UD a meter builds from its records, and the records' structure.

#include "SimTelegrammBauer.h"
#include "SimDatensatz.h"

#include "Gegenstelle.h"

#include <gtest/gtest.h>

namespace {

SimZaehler zaehler()
{
    SimZaehler z;
    z.id = 12345678;
    z.hersteller = "LUG";
    z.version = 0x07;
    z.medium = 0x04;
    return z;
}

} // namespace

TEST(SimTelegrammBauer, rspUdCarriesHeaderRecordsAndDif1fWhenMoreFollows)
{
    EXPECT_EQ(SimTelegrammBauer::rspUd(zaehler(), 1, 5, {Hex("04 06 A0 86 01 00")}, true),
              Hex("68 16 16 68 08 01 72 78 56 34 12 A7 32 07 04 05 00 00 00 04 06 A0 86 01 00 "
                  "1F C8 16"));
    const QByteArray letztes =
        SimTelegrammBauer::rspUd(zaehler(), 1, 0, {Hex("01 FD 17 00")}, false);
    EXPECT_EQ(letztes.mid(19, 4), Hex("01 FD 17 00"));
    EXPECT_EQ(letztes.size(), 19 + 4 + 2);
    // records ending in DIF 1F of their own get no further one
    EXPECT_EQ(
        SimTelegrammBauer::rspUd(zaehler(), 1, 0, {Hex("01 FD 17 00"), Hex("1F")}, true).size(),
        19 + 5 + 2);
}

TEST(SimDatensatz, valueRisesInBinaryAndInBcdAndHeadersRunThroughExtensions)
{
    EXPECT_EQ(SimDatensatz::erhoeht(Hex("04 06 FF 00 00 00"), 2), Hex("04 06 01 01 00 00"));
    EXPECT_EQ(SimDatensatz::erhoeht(Hex("0C 13 99 99 00 00"), 1), Hex("0C 13 00 00 01 00"));
    EXPECT_EQ(SimDatensatz::erhoeht(Hex("05 13 00 00 80 3F"), 1), Hex("05 13 00 00 80 3F"));
    EXPECT_EQ(SimDatensatz::kopfLaenge(Hex("8C 01 13 00 00 00 00")), 3);
    EXPECT_EQ(SimDatensatz::kopfLaenge(Hex("02 FD 17 00 00")), 3);
    EXPECT_EQ(SimDatensatz::kopfLaenge(Hex("04 7C 03 6B 57 68 01 00 00 00")), 6);
    EXPECT_EQ(SimDatensatz::kopfLaenge(Hex("84")), -1);
    EXPECT_EQ(SimDatensatz::datenLaenge(Hex("0D 13 03 41 42 43"), 2), 4);
}
