#include "DatenbankUmgebung.h"

#include "database/BasisMdb.h"
#include "database/ZaehlerListe.h"

#include "platform/Global.h"

#include <QFile>

class ZaehlerListeTest : public DatenbankUmgebung
{
protected:
    QList<QStringList> m_liste{{QStringLiteral("vorher")}};
};

TEST_F(ZaehlerListeTest, missingDatabaseIsAnErrorAndCreatesNoFile)
{
    EXPECT_FALSE(ZaehlerListeLaden(m_liste));
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_FALSE(QFile::exists(basisPfad()));
    EXPECT_EQ(m_liste, (QList<QStringList>{{QStringLiteral("vorher")}}));
    EXPECT_EQ(Datenbank, nullptr);
}

TEST_F(ZaehlerListeTest, onlyBusMetersAreListedInAnyLetterCase)
{
    basisAnlegen();
    zaehlerEinfuegen({1, "M-Bus", 1, 1});
    zaehlerEinfuegen({2, "m-bus", 1, 2});
    zaehlerEinfuegen({3, "M-BUS", 1, 3});
    zaehlerEinfuegen({4, "virtuell", 1, 4});
    zaehlerEinfuegen({5, "S0003", 1, 5});
    zaehlerEinfuegen({6, QVariant(), 1, 6});
    zaehlerEinfuegen({7, "M-Bus2", 1, 7});
    ASSERT_TRUE(ZaehlerListeLaden(m_liste)) << qPrintable(FehlerText);
    QStringList lznr;
    for (const QStringList& zeile : m_liste)
        lznr << zeile.value(1);
    EXPECT_EQ(lznr, (QStringList{"1", "2", "3"}));
}

TEST_F(ZaehlerListeTest, metersComeByPortThenAddress)
{
    basisAnlegen();
    const struct
    {
        int lznr, port, adresse;
    } zaehler[] = {{1, 2, 5}, {2, 1, 9}, {3, 2, 1}, {4, 1, 0}, {5, 10, 3}, {6, 1, 250}};
    for (const auto& z : zaehler)
        zaehlerEinfuegen({z.lznr, "M-Bus", z.port, z.adresse});
    ASSERT_TRUE(ZaehlerListeLaden(m_liste));
    QStringList reihenfolge;
    for (const QStringList& zeile : m_liste)
        reihenfolge << zeile.value(3) + u'/' + zeile.value(2);
    EXPECT_EQ(reihenfolge, (QStringList{"1/0", "1/9", "1/250", "2/1", "2/5", "10/3"}));
}

TEST_F(ZaehlerListeTest, columnsOneToNineHoldTheMeterAndTheOthersStayEmpty)
{
    basisAnlegen();
    ausfuehren(QStringLiteral("INSERT INTO zaehler (LZNR, ZQUELLE, MBAdr, MBComP, MBBaud, ZNAME, "
                              "MBIndex, MBZStand, ZNr, MB_SelectSec) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
               {1234, "M-Bus", 5, 3, 2400, QStringLiteral("Wärme Haus 2"), 2, 1, "12345678",
                "680B0B6853FD52785634121111"});
    zaehlerEinfuegen({99, "M-Bus", 3, 6});
    ASSERT_TRUE(ZaehlerListeLaden(m_liste));
    ASSERT_EQ(m_liste.size(), 2);
    EXPECT_EQ(m_liste[0], (QStringList{"", "1234", "5", "3", "2400", "Wärme Haus 2", "2", "1",
                                       "12345678", "680B0B6853FD52785634121111", "", ""}));
    EXPECT_EQ(m_liste[1], (QStringList{"", "99", "6", "3", "", "", "", "", "", "", "", ""}));
}

TEST_F(ZaehlerListeTest, noBusMeterGivesOneEmptyElementAndClosesTheDatabase)
{
    basisAnlegen();
    zaehlerEinfuegen({1, "virtuell", 1, 1});
    ASSERT_TRUE(ZaehlerListeLaden(m_liste));
    EXPECT_EQ(m_liste, (QList<QStringList>{{QString()}}));
    EXPECT_EQ(Datenbank, nullptr);
    EXPECT_TRUE(Verbindung::offeneVerbindungen().isEmpty());
}

TEST_F(ZaehlerListeTest, databaseIsClosedAfterALoad)
{
    basisAnlegen();
    zaehlerEinfuegen({1, "M-Bus", 1, 1});
    ASSERT_TRUE(ZaehlerListeLaden(m_liste));
    EXPECT_EQ(Datenbank, nullptr);
    EXPECT_TRUE(Verbindung::offeneVerbindungen().isEmpty());
}

TEST_F(ZaehlerListeTest, databaseOpenedByTheCallerStaysOpenForIt)
{
    basisAnlegen();
    zaehlerEinfuegen({1, "M-Bus", 1, 1});
    ASSERT_TRUE(DatenbankOeffnen());
    Verbindung* offen = Datenbank;
    ASSERT_TRUE(ZaehlerListeLaden(m_liste));
    ASSERT_EQ(Datenbank, offen);
    EXPECT_TRUE(Datenbank->offen());
}
