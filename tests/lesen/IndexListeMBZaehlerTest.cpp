// The index-list save with the master's real meter record on a new basis.mdb.

#include "database/DatenbankUmgebung.h"

#include "database/IndexListeSpeichern.h"
#include "database/MBConnection.h"
#include "lesen/MBZaehler.h"

#include <QSqlDatabase>
#include <QSqlQuery>

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

    QStringList zeilen;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"),
                                                    QStringLiteral("lesen_pruefung"));
        db.setDatabaseName(basisPfad());
        ASSERT_TRUE(db.open());
        QSqlQuery abfrage(db);
        ASSERT_TRUE(abfrage.exec(QStringLiteral(
            "SELECT MBIndex, Art, Einheit, MBTyp FROM MB_IndexListe WHERE Lznr = 42 "
            "ORDER BY MBIndex")));
        while (abfrage.next())
            zeilen << QStringLiteral("%1|%2|%3|%4")
                          .arg(abfrage.value(0).toInt())
                          .arg(abfrage.value(1).toString(), abfrage.value(2).toString())
                          .arg(abfrage.value(3).toInt());
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("lesen_pruefung"));
    EXPECT_EQ(zeilen, QStringList({"1|Energie        |kWh|0",
                                   QString::fromUtf8("2|Vorlauftemperat|°C|1")}));
}
