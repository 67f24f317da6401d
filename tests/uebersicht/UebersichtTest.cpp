// The overview's work without its window: counts and cycle estimate on SQLite and on the server
// database, the cycle-time settings, and the start of one master per port.

#include "database/ZielUmgebung.h"

#include "datafiles/RB6Wertdatei.h"
#include "grid/GridModell.h"
#include "master/dienste/MasterPortSperre.h"
#include "master/dienste/MasterTreiber.h"
#include "master/uebersicht/PortZaehlung.h"
#include "master/uebersicht/Uebersicht.h"
#include "settings/Einstellungen.h"
#include "settings/IniDatei.h"

#include <map>

namespace {

// Port, baud rate (0: NULL) and number of meters.
struct Gruppe
{
    QVariant port;
    QVariant baud;
    int anzahl;
};

// Ports 10, 1 and 2 entered out of order; port 1: 10 meters at 2400 and 2 at 300; port 2 only at
// rates without a column, and one without a rate; meters without a port count nowhere.
const QList<Gruppe> kZaehler = {
    {10, 9600, 1}, {1, 2400, 10},      {2, 600, 2},           {1, 300, 2},
    {2, 19200, 1}, {2, QVariant(), 1}, {QVariant(), 2400, 3},
};

// The grid the meters above give with the default settings: one row a port, cells 0 to 7.
const QList<QStringList> kErwartet = {
    {"Com", "Anz Zähler", "300 Baud", "1200 Baud", "2400 Baud", "4800 Baud", "9600 Baud",
     "Zyk.Zeit [s]"},
    {"1", "12", "2", "", "10", "", "", "5,15"},
    {"2", "4", "", "", "", "", "", ""},
    {"10", "1", "", "", "", "", "1", "0,315"},
};

QList<QStringList> GridText(const FlexGrid& grid)
{
    QList<QStringList> zeilen;
    for (int z = 0; z < grid.Rows(); ++z) {
        QStringList zellen;
        for (int s = 0; s < grid.Cols(); ++s)
            zellen << grid.TextMatrix(z, s);
        zeilen << zellen;
    }
    return zeilen;
}

Zykluszeiten Vorgaben()
{
    Zykluszeiten z;
    z.MBTime = QStringLiteral("0,24");
    z.Time = {QStringLiteral("2"), QStringLiteral("1"), QStringLiteral("0,27"),
              QStringLiteral("0,15"), QStringLiteral("0,075")};
    return z;
}

} // namespace

template <class Ziel> class PortZaehlungTest : public ZielUmgebung<Ziel>
{
protected:
    void zaehlerEintragen(const QList<Gruppe>& gruppen)
    {
        int lznr = 0;
        for (const Gruppe& g : gruppen)
            for (int i = 0; i < g.anzahl; ++i)
                this->pruefAusfuehren(
                    QStringLiteral("INSERT INTO zaehler (LZNR, MBComP, MBBaud) VALUES (?, ?, ?)"),
                    {++lznr, g.port, g.baud});
    }
};
TYPED_TEST_SUITE(PortZaehlungTest, DatenbankZiele, ZielName);

TYPED_TEST(PortZaehlungTest, countsPortsAndRatesAndEstimatesTheCycleInNumericOrder)
{
    this->zaehlerEintragen(kZaehler);
    const auto ports = PortsZaehlen(this->m_ziel.pruefung(), Vorgaben());
    ASSERT_TRUE(ports) << qPrintable(FehlerText);
    GridModell grid;
    EXPECT_EQ(PortsInGrid(*ports, grid), 4);
    EXPECT_EQ(GridText(grid), kErwartet);
    ASSERT_EQ(ports->size(), 3);
    EXPECT_DOUBLE_EQ(*ports->first().zykluszeit, 10 * 0.24 + 0.27 + 2 * 0.24 + 2);
}

TYPED_TEST(PortZaehlungTest, noMeterWithAPortGivesNoRow)
{
    this->zaehlerEintragen({{QVariant(), 2400, 2}});
    const auto ports = PortsZaehlen(this->m_ziel.pruefung(), Vorgaben());
    ASSERT_TRUE(ports) << qPrintable(FehlerText);
    GridModell grid;
    EXPECT_EQ(PortsInGrid(*ports, grid), 0);
    EXPECT_EQ(grid.TextMatrix(0, 7), QStringLiteral("Zyk.Zeit [s]"));
}

// --- basis.mdb in DBPath -----------------------------------------------------------------------

class UebersichtTest : public DatenbankUmgebung
{
protected:
    void SetUp() override
    {
        DatenbankUmgebung::SetUp();
        CPortListe = QStringLiteral(";");
        Mandant = QStringLiteral("200");
    }
    void TearDown() override
    {
        CPortListe.clear();
        DatenbankUmgebung::TearDown();
    }
    QString ini(const QString& schluessel) const
    {
        return ProfilLesen(QStringLiteral("200MBus"), schluessel, QStringLiteral("<fehlt>"),
                           kZepIni);
    }
    QString programmlog() const { return Cp1252ZuText(lesen(QStringLiteral("261205ed.log"))); }
};

TEST_F(UebersichtTest, countsFromBasisMdbAndReportsADatabaseThatFails)
{
    Uebersicht uebersicht;
    GridModell grid;
    // Missing file.
    EXPECT_EQ(uebersicht.MB_ComPortGetAnz(grid), 0);
    EXPECT_FALSE(FehlerText.isEmpty());

    basisOeffnen();
    ASSERT_TRUE(m_db->Execute(QStringLiteral(
        "INSERT INTO zaehler (LZNR, MBComP, MBBaud) VALUES (1, 3, 2400), (2, 3, 2400)")));
    uebersicht.init();
    EXPECT_EQ(uebersicht.MB_ComPortGetAnz(grid), 2);
    EXPECT_EQ(grid.TextMatrix(1, 7), QStringLiteral("0,75"));
    EXPECT_EQ(Datenbank, nullptr);

    // A database that does not answer the count.
    ASSERT_TRUE(m_db->Execute(QStringLiteral("DROP TABLE zaehler")));
    EXPECT_EQ(uebersicht.MB_ComPortGetAnz(grid), 0);
    EXPECT_TRUE(FehlerText.contains(QStringLiteral("zaehler"))) << qPrintable(FehlerText);
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.TextMatrix(1, 0), QString());
}

TEST_F(UebersichtTest, settingsThatReadAsZeroTakeTheirDefaultWrittenWithTheDecimalComma)
{
    struct Fall
    {
        const char* wert; // nullptr: key missing
        const char* gelesen;
    };
    const std::map<QString, Fall> faelle = {
        {QStringLiteral("MBTime"), {"", "0,24"}},
        {QStringLiteral("Time300"), {"0", "2"}},
        {QStringLiteral("Time1200"), {"0,0", "1"}},
        {QStringLiteral("Time2400"), {"0,5", "0,5"}},
        {QStringLiteral("Time4800"), {"0.5", "0.5"}},
        {QStringLiteral("Time9600"), {nullptr, "0,075"}},
    };
    QByteArray datei = "[200MBus]\r\nRB6_StandardGroesse=0\r\n";
    for (const auto& [schluessel, fall] : faelle)
        if (fall.wert)
            datei += schluessel.toLatin1() + '=' + fall.wert + "\r\n";
    schreiben(QStringLiteral("ZEP.INI"), datei);
    RB6_StandardGroesse = 1;

    Uebersicht uebersicht;
    uebersicht.init();
    const Zykluszeiten& z = uebersicht.zeiten();
    EXPECT_EQ(z.MBTime, QStringLiteral("0,24"));
    for (size_t i = 0; i < z.Time.size(); ++i) {
        const QString schluessel =
            QStringLiteral("Time") + QString::number(Zykluszeiten::kBaudraten[i]);
        EXPECT_EQ(z.Time[i], QString::fromLatin1(faelle.at(schluessel).gelesen))
            << qPrintable(schluessel);
    }
    for (const auto& [schluessel, fall] : faelle)
        EXPECT_EQ(ini(schluessel), QString::fromLatin1(fall.gelesen)) << qPrintable(schluessel);
    EXPECT_DOUBLE_EQ(*z.gruppenSekunden(4800), 0.5);
    EXPECT_FALSE(z.gruppenSekunden(600));
    EXPECT_EQ(RB6_StandardGroesse, 6000);
    EXPECT_EQ(ini(QStringLiteral("RB6_StandardGroesse")), QStringLiteral("0"));
}

// --- Starting the masters -----------------------------------------------------------------------

class StarterTest : public UebersichtTest
{
protected:
    MasterStarter starter()
    {
        return MasterStarter(
            [this](const QString& programm, const QStringList& argumente, qint64& pid,
                   QString& fehler) {
                aufrufe << QStringList{programm} + argumente;
                if (scheitern) {
                    fehler = QStringLiteral("Programm fehlt");
                    return false;
                }
                pid = 1000 + aufrufe.size();
                lebend.insert(pid);
                return true;
            },
            [this](int port) { return gesperrt.contains(port); },
            [this](qint64 pid) { return lebend.contains(pid); });
    }

    QList<QStringList> aufrufe;
    QSet<int> gesperrt;
    QSet<qint64> lebend;
    bool scheitern = false;
};

TEST_F(StarterTest, startsOneMasterPerPortAndNeverASecond)
{
    MasterStarter s = starter();
    s.programmSetzen(QStringLiteral("/opt/pollex"));
    using E = MasterStarter::Ergebnis;
    // A master running for port 10 does not block port 1; one running for port 1 does.
    gesperrt = {10};
    EXPECT_EQ(s.starten(1), E::Gestartet);
    EXPECT_EQ(s.starten(10), E::LaeuftSchon);
    EXPECT_EQ(s.starten(0), E::KeinPort);
    // Started but not yet holding its lock: not started again.
    EXPECT_EQ(s.starten(1), E::LaeuftSchon);
    gesperrt = {1, 10};
    EXPECT_EQ(s.starten(1), E::LaeuftSchon);
    EXPECT_EQ(aufrufe, (QList<QStringList>{{"/opt/pollex", "Auto", "-M200", "-C1"}}));
    EXPECT_EQ(CPortListe, QStringLiteral(";CPort1;"));

    // Its master ended: the port starts again, listed once.
    gesperrt = {10};
    lebend.clear();
    EXPECT_EQ(s.starten(1), E::Gestartet);
    EXPECT_EQ(aufrufe.size(), 2);
    EXPECT_EQ(CPortListe, QStringLiteral(";CPort1;"));
    EXPECT_TRUE(programmlog().contains(
        QStringLiteral("Master Com1 gestartet: /opt/pollex Auto -M200 -C1 (Prozess 1002)")));
}

TEST_F(StarterTest, aFailedStartLeavesThePortFreeForTheNextTry)
{
    MasterStarter s = starter();
    s.programmSetzen(QStringLiteral("/fehlt/pollex"));
    scheitern = true;
    EXPECT_EQ(s.starten(12), MasterStarter::Ergebnis::Fehler);
    EXPECT_EQ(FehlerText, QStringLiteral("Programm fehlt  /fehlt/pollex Auto -M200 -C12"));
    EXPECT_EQ(CPortListe, QStringLiteral(";"));
    EXPECT_EQ(programmlog().count(QStringLiteral("Master Com12 nicht gestartet: Programm fehlt")),
              1);
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
    scheitern = false;
    EXPECT_EQ(s.starten(12), MasterStarter::Ergebnis::Gestartet);
    EXPECT_EQ(CPortListe, QStringLiteral(";CPort12;"));
}

TEST_F(StarterTest, anEmptyClientGivesNoClientSwitch)
{
    Mandant.clear();
    EXPECT_EQ(MasterStarter::argumente(4), (QStringList{"Auto", "-C4"}));
    Mandant = QStringLiteral("007");
    EXPECT_EQ(MasterStarter::argumente(4), (QStringList{"Auto", "-M007", "-C4"}));
}

TEST_F(StarterTest, allPortsStartInRowOrderReadWithVal)
{
    Uebersicht uebersicht(starter());
    GridModell grid;
    grid.setRows(5);
    grid.setTextMatrix(1, 0, QStringLiteral("2"));
    grid.setTextMatrix(2, 0, QStringLiteral("10"));
    grid.setTextMatrix(3, 0, QStringLiteral("x"));
    grid.setTextMatrix(4, 0, QStringLiteral("3 "));
    uebersicht.alleStarten(grid);
    QStringList ports;
    for (const QStringList& aufruf : aufrufe)
        ports << aufruf.last();
    EXPECT_EQ(ports, (QStringList{"-C2", "-C10", "-C3"}));
}

TEST_F(StarterTest, theRealStarterReportsAProgramThatDoesNotStart)
{
    qputenv("TELVARIN_SPERREN", pfad(QStringLiteral("sperren")).toLocal8Bit());
    MasterStarter s;
    s.programmSetzen(pfad(QStringLiteral("fehlt/pollex")));
    EXPECT_EQ(s.starten(5), MasterStarter::Ergebnis::Fehler);
    EXPECT_TRUE(FehlerText.endsWith(QStringLiteral("  ") + pfad(QStringLiteral("fehlt/pollex")) +
                                    QStringLiteral(" Auto -M200 -C5")))
        << qPrintable(FehlerText);
    EXPECT_GT(FehlerText.indexOf(QStringLiteral("  ")), 0);
    qunsetenv("TELVARIN_SPERREN");
}
