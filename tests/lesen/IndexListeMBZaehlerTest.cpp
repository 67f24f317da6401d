// The index-list save with the master's real meter record on a new basis.mdb.

#include "database/DatenbankUmgebung.h"

#include "database/IndexListeSpeichern.h"
#include "database/MBConnection.h"
#include "lesen/MBZaehler.h"

class IndexListeMBZaehlerTest : public DatenbankUmgebung
{
protected:
    void TearDown() override
    {
        MB_ConnectionSchliessen();
        DatenbankUmgebung::TearDown();
    }
};

TEST_F(IndexListeMBZaehlerTest, savesTheMasterMeterRecord)
{
    basisAnlegen();
    DBParameter = basisParameter();
    MBZaehler zaehler;
    zaehler.LZNR = 42;
    ASSERT_TRUE(MBZaehlerAktualisieren(
        zaehler, {{"Energie", "100", "kWh"}, {"Vorlauftemperatur", "55", "°C"}}, 1000));
    ASSERT_EQ(MB_IndexListeSpeichern(zaehler), 2) << qPrintable(FehlerText);
    EXPECT_EQ(zaehler.Werte[1].Speichern, 255);
    EXPECT_EQ(zaehler.Werte[2].Speichern, 255);
    EXPECT_EQ(zaehler.Werte[3].Speichern, 0);
    EXPECT_EQ(abfragen(QStringLiteral(
                           "SELECT group_concat(z, ';') FROM (SELECT MBIndex || '|' || Art || '|' "
                           "|| Einheit || '|' || MBTyp AS z FROM MB_IndexListe WHERE Lznr = 42 "
                           "ORDER BY MBIndex)"))
                  .toString(),
              QString::fromUtf8("1|Energie        |kWh|0;2|Vorlauftemperat|°C|1"));
}
