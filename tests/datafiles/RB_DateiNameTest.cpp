#include "IntervalldateiTest.h"

namespace {

class RB_DateiNameTest : public IntervalldateiTest
{
};

struct NamensFall
{
    qint32 station;
    qint32 zaehler;
    qint32 intervall;
    const char* name;
};

TEST_F(RB_DateiNameTest, namenNachStationZaehlerUndIntervall)
{
    const NamensFall faelle[] = {
        {-1, 1234, 0, "db\\00001234.15p"},
        {-1, 1234, 2, "db\\00001234.002"},
        {-1, 123456789, 0, "db\\123456789.15p"},
        {-1, -5, 0, "db\\-00000005.15p"},
        {3, 2, 15, "daten\\S0003\\z02a0015.dat"},
        {3, 2, 0, "daten\\S0003\\z02a015p.dat"},
        {12345, 7, -1, "daten\\S12345\\z07a015p.dat"},
        {0, 0, 1440, "daten\\S0000\\z00a1440.dat"},
    };
    for (const NamensFall& f : faelle)
        EXPECT_EQ(RB_DateiName(f.station, f.zaehler, f.intervall), QString::fromLatin1(f.name))
            << f.station << " " << f.zaehler << " " << f.intervall;
}

TEST_F(RB_DateiNameTest, perZaehlerNameMitUnternummer)
{
    EXPECT_EQ(RB_DateiName15p(1234, 0), "db\\00001234.15p");
    EXPECT_EQ(RB_DateiName15p(1234, 17), "db\\00001234.017");
}

TEST_F(RB_DateiNameTest, fuenfzehnPZaehltNurImDateinamen)
{
    EXPECT_TRUE(RB_IstDateiName15p("db\\00001234.15p"));
    EXPECT_TRUE(RB_IstDateiName15p("DB/00001234.15P"));
    EXPECT_TRUE(RB_IstDateiName15p("daten\\S0003\\z02a015p.dat"));
    EXPECT_FALSE(RB_IstDateiName15p("daten15p\\S0003\\z02a0015.dat"));
    EXPECT_FALSE(RB_IstDateiName15p("x15p/z02a0015.dat"));
    EXPECT_FALSE(RB_IstDateiName15p("db\\00001234.15q"));
    EXPECT_FALSE(RB_IstDateiName15p(""));
}

} // namespace
