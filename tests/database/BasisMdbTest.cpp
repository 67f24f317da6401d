// basis.mdb as the services use it: opened for one operation and closed on every way out, never
// created by opening, and the meter list read from it.

#include "DatenbankUmgebung.h"

#include "database/AllesSchliessen.h"
#include "database/DaoTabellen.h"
#include "database/MBConnection.h"
#include "database/ZaehlerListe.h"

#include <QFile>

#include <future>
#include <thread>

class BasisMdbTest : public DatenbankUmgebung
{
protected:
    void TearDown() override
    {
        AlleFormsEntladenSetzen({});
        MB_ConnectionSchliessen();
        DatenbankUmgebung::TearDown();
    }

    QList<QStringList> m_liste{{QStringLiteral("vorher")}};
};

TEST_F(BasisMdbTest, missingBasisMdbIsAnErrorEverywhereAndCreatesNoFile)
{
    const QString nichtGefunden = QStringLiteral("Datei '%1' nicht gefunden.").arg(basisPfad());
    EXPECT_FALSE(Verbindung::OpenDatabase(basisPfad()));
    EXPECT_EQ(FehlerText, nichtGefunden);
    EXPECT_FALSE(
        MB_DatenbankVerbinden(MB_Connection, QStringLiteral("1"), {}, {}, basisPfad(), {}));
    EXPECT_EQ(FehlerText, nichtGefunden);
    EXPECT_FALSE(MB_Connection);

    FehlerText.clear();
    EXPECT_FALSE(ZaehlerListeLaden(m_liste));
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(m_liste, (QList<QStringList>{{QStringLiteral("vorher")}}));
    EXPECT_TRUE(m_meldungen.texte.isEmpty());

    DBPath = QStringLiteral(".\\");
    IndexListeTabelleAnlegen();
    EXPECT_EQ(m_meldungen.texte,
              QStringList{QStringLiteral("Fehler beim Update Datenbank .\\basis.mdb")});
    EXPECT_FALSE(QFile::exists(basisPfad()));
    EXPECT_EQ(Datenbank, nullptr);
}

TEST_F(BasisMdbTest, windowsPathWithOtherLetterCaseFindsTheFile)
{
    QDir().mkdir(pfad(QStringLiteral("db200")));
    ASSERT_TRUE(DatenbankAnlegen(pfad(QStringLiteral("db200/basis.mdb"))));
    EXPECT_TRUE(Verbindung::OpenDatabase(QStringLiteral(".\\DB200\\basis.mdb")));
}

TEST_F(BasisMdbTest, meterListHoldsBusMetersByPortThenAddressAndClosesTheDatabase)
{
    basisAnlegen();
    const struct
    {
        int lznr;
        const char* quelle;
        int port, adresse;
    } zaehler[] = {{7, "virtuell", 1, 4}, {8, "S0003", 1, 5},  {9, "M-Bus2", 1, 7},
                   {1, "M-Bus", 2, 5},    {2, "m-bus", 1, 9},  {3, "M-BUS", 2, 1},
                   {4, "M-Bus", 1, 0},    {5, "M-Bus", 10, 3}, {6, "M-Bus", 1, 250}};
    zaehlerEinfuegen(10, QVariant(), 1, 6);
    for (int i = 0; i < 9; ++i) {
        if (i == 3) { // no bus meter yet: one empty element
            ASSERT_TRUE(ZaehlerListeLaden(m_liste));
            EXPECT_EQ(m_liste, (QList<QStringList>{{QString()}}));
            EXPECT_TRUE(Datenbank == nullptr && Verbindung::offeneVerbindungen().isEmpty());
        }
        zaehlerEinfuegen(zaehler[i].lznr, zaehler[i].quelle, zaehler[i].port, zaehler[i].adresse);
    }
    ausfuehren(
        QStringLiteral("UPDATE zaehler SET MBBaud = ?, ZNAME = ?, MBIndex = ?, MBZStand = ?, "
                       "ZNr = ?, MB_SelectSec = ? WHERE LZNR = 4"),
        {2400, QStringLiteral("Wärme Haus 2"), 2, 1, "12345678", "680B0B6853FD52785634121111"});

    ASSERT_TRUE(ZaehlerListeLaden(m_liste)) << qPrintable(FehlerText);
    QStringList reihenfolge;
    for (const QStringList& zeile : m_liste)
        reihenfolge << zeile.value(1) + u':' + zeile.value(3) + u'/' + zeile.value(2);
    EXPECT_EQ(reihenfolge, (QStringList{"4:1/0", "2:1/9", "6:1/250", "3:2/1", "1:2/5", "5:10/3"}));
    EXPECT_EQ(m_liste[0], (QStringList{"", "4", "0", "1", "2400", "Wärme Haus 2", "2", "1",
                                       "12345678", "680B0B6853FD52785634121111", "", ""}));
    EXPECT_EQ(m_liste[1], (QStringList{"", "2", "9", "1", "", "", "", "", "", "", "", ""}));
    EXPECT_TRUE(Datenbank == nullptr && Verbindung::offeneVerbindungen().isEmpty());

    // a database the caller opened stays open for it
    ASSERT_TRUE(DatenbankOeffnen());
    ASSERT_TRUE(ZaehlerListeLaden(m_liste));
    EXPECT_TRUE(Datenbank && Datenbank->offen());
}

TEST_F(BasisMdbTest, closingEverythingKeepsTheSharedConnectionAndOtherThreads)
{
    basisAnlegen();
    ASSERT_TRUE(DatenbankOeffnen());
    std::unique_ptr<Verbindung> eigene = oeffnen();
    DBParameter = basisParameter();
    ASSERT_TRUE(MB_DatenbankVerbinden());
    std::promise<Verbindung*> geoeffnet;
    std::promise<void> geschlossen;
    bool fremdeOffen = false;
    std::thread faden([&] {
        std::unique_ptr<Verbindung> fremde = Verbindung::OpenDatabase(basisPfad());
        geoeffnet.set_value(fremde.get());
        geschlossen.get_future().wait();
        fremdeOffen = fremde && fremde->offen();
    });
    EXPECT_NE(geoeffnet.get_future().get(), nullptr);

    MB_DAOAllesSchliessen();
    geschlossen.set_value();
    faden.join();
    EXPECT_FALSE(Datenbank->offen());
    EXPECT_FALSE(eigene->offen());
    EXPECT_TRUE(MB_Connection->offen());
    EXPECT_TRUE(fremdeOffen);
    EXPECT_TRUE(DatenbankSitzung().offen()); // a service opens it again
}

TEST_F(BasisMdbTest, windowsUnloadThroughTheRegisteredFunctionOnceACall)
{
    int aufrufe = 0;
    AlleFormsEntladenSetzen([&] {
        ++aufrufe;
        MB_AlleFormsEntladen(); // a window calling it again from its own unload
    });
    MB_AlleFormsEntladen();
    MB_AlleFormsEntladen();
    EXPECT_EQ(aufrufe, 2);
}
