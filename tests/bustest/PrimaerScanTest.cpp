// The primary-address scan of the test window end to end against the bus simulator (COM3,
// pacing off), through both driver faces: grid rows, records grid, result lines, stop, the
// program's end during a scan, and addresses without a row of their own.

#include "SimulatorFensterUmgebung.h"

#include "driver/faces/MBusRacX4.h"
#include "platform/Global.h"
#include "platform/Warten.h"
#include "ui/FlexGridWidget.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

enum Gesicht : int { kSchnittstelle = 0, kNamensgebunden = 1 };
// Check1 rows of the rates.
constexpr int k9600 = 0;
constexpr int k4800 = 1;
constexpr int k2400 = 2;

QString Zaehler(int adresse, const QString& id, int baud)
{
    return QStringLiteral("zaehler adresse=%1 id=%2 hersteller=LUG version=07 medium=04 baud=%3\n"
                          "satz 0406 A0860100\nsatz 0C13 45230100\n")
        .arg(adresse)
        .arg(id)
        .arg(baud);
}

class PrimaerScanTest : public SimulatorFensterUmgebung
{
protected:
    // Starts the bus on COM3 and opens the window on it with the driver face of the test.
    frmMBustest& starten(const QString& bus, int gesicht)
    {
        frmMBustest& fenster = simulatorStarten(bus);
        treiberWaehlen(gesicht);
        suchPortSetzen();
        return fenster;
    }

    void rateWaehlen(int zeile, int von, int bis)
    {
        const auto stelle = static_cast<size_t>(zeile);
        m_fenster->ui().Check1[stelle]->setChecked(true);
        m_fenster->ui().Text5[stelle]->setText(QString::number(von));
        m_fenster->ui().Text6[stelle]->setText(QString::number(bis));
    }

    QString zelle(int zeile, int spalte) const
    {
        return m_fenster->ui().MSFlexGrid1->TextMatrix(zeile, spalte);
    }

    QStringList satzIndexe() const
    {
        QStringList indexe;
        const FlexGridWidget* grid = m_fenster->ui().Grid1;
        for (int zeile = 1; zeile < grid->Rows(); ++zeile)
            indexe << grid->TextMatrix(zeile, 0);
        return indexe;
    }

    QString zeile(int rate) const
    {
        return m_fenster->ui().Label4[static_cast<size_t>(rate)]->text();
    }

    void erwarteRuhezustand() const
    {
        const TestfensterElemente& e = m_fenster->ui();
        EXPECT_FALSE(e.cmdSecPrimSuchen->isHidden());
        EXPECT_TRUE(e.cmdSecAdrStop->isHidden());
        for (QPushButton* knopf : {e.cmdSekSuchenAlle, e.Command1, e.Command3, e.Command4})
            EXPECT_TRUE(knopf->isEnabled());
        ASSERT_FALSE(m_meldungen.zeiger_.isEmpty());
        EXPECT_EQ(m_meldungen.zeiger_.last(), vbDefault);
    }
};

// The same behaviour through either driver face.
class PrimaerScanGesichter : public PrimaerScanTest, public ::testing::WithParamInterface<int>
{
};

INSTANTIATE_TEST_SUITE_P(BeideGesichter, PrimaerScanGesichter,
                         ::testing::Values(kSchnittstelle, kNamensgebunden),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param == kNamensgebunden ? std::string("Namensgebunden")
                                                                  : std::string("Schnittstelle");
                         });

TEST_P(PrimaerScanGesichter, twoRatesListEveryMeterAndEveryRateItAnsweredOn)
{
    frmMBustest& fenster = starten(Zaehler(3, "30000003", 2400) + Zaehler(7, "70009600", 9600) +
                                       Zaehler(7, "70002400", 2400),
                                   GetParam());
    rateWaehlen(k9600, 1, 8);
    rateWaehlen(k2400, 1, 8);
    fenster.ui().cmdSecPrimSuchen->click();

    EXPECT_EQ(fenster.ui().MSFlexGrid1->Rows(), 251);
    EXPECT_EQ(zelle(3, 0), "3");
    EXPECT_EQ(zelle(3, 1), "30000003");
    EXPECT_EQ(zelle(3, 2), "LUG");
    // "AnzDat.": the record count through the interface face, the access number through the
    // name-bound one.
    if (GetParam() == kSchnittstelle) {
        EXPECT_EQ(zelle(3, 5), "2");
    }
    EXPECT_EQ(zelle(3, 6), "2400;");
    EXPECT_EQ(zelle(7, 6), "9600;2400;");
    EXPECT_EQ(zelle(7, 1), "70002400"); // the meter heard last
    EXPECT_EQ(zelle(5, 1), "");
    EXPECT_TRUE(zeile(k9600).startsWith("1 Zähler in ")) << qPrintable(zeile(k9600));
    EXPECT_TRUE(zeile(k9600).endsWith(" sec. gefunden. ")) << qPrintable(zeile(k9600));
    EXPECT_TRUE(zeile(k2400).startsWith("2 Zähler in ")) << qPrintable(zeile(k2400));
    EXPECT_EQ(zeile(k4800), "");
    EXPECT_EQ(gesendeteRaten(), QList<int>({9600, 2400}));
    erwarteRuhezustand();
}

TEST_P(PrimaerScanGesichter, recordsGridHoldsTheLastRateNumberedFromOneNewestOnTop)
{
    frmMBustest& fenster = starten(Zaehler(2, "20000002", 9600) + Zaehler(3, "30000003", 2400) +
                                       Zaehler(7, "70002400", 2400),
                                   GetParam());
    rateWaehlen(k9600, 1, 3);
    rateWaehlen(k2400, 1, 8);
    fenster.ui().cmdSecPrimSuchen->click();

    const FlexGridWidget& grid = *fenster.ui().Grid1;
    EXPECT_EQ(grid.TextMatrix(0, 0), GetParam() == kNamensgebunden ? QStringLiteral("Prim/[Index]")
                                                                   : QStringLiteral("Index"));
    EXPECT_EQ(grid.TextMatrix(0, 4), "Einh.");
    EXPECT_EQ(satzIndexe(), QStringList({"72", "71", "32", "31", ""}));
    // The name-bound face's value text goes through a number (decimal comma); the interface
    // face shows its own text.
    EXPECT_EQ(grid.TextMatrix(1, 3), GetParam() == kNamensgebunden ? "12,345" : "12.345");
    EXPECT_EQ(grid.TextMatrix(2, 3), "100000");
}

// Every column of a meter row and of its record rows, as the bus file and the telegram layout
// give them. "AnzDat." is the record count through the interface face and the answer's access
// number through the name-bound one (the simulator numbers its answers from 0). The record rows
// show the data field and the subunit (DIFE 40: subunit 1) through the name-bound face, the
// quantity and its unit through the interface face (VIF 06: kWh; VIF 13: 10^-3 m^3).
TEST_P(PrimaerScanGesichter, everyColumnOfTheMeterRowAndItsRecordRowsComesFromTheTelegram)
{
    frmMBustest& fenster = starten(QStringLiteral("zaehler adresse=6 id=61234567 hersteller=ZRI "
                                                  "version=03 medium=07 baud=9600\n"
                                                  "satz 0406 A0860100\nsatz 8C4013 45230100\n"),
                                   GetParam());
    rateWaehlen(k9600, 5, 6);
    fenster.ui().cmdSecPrimSuchen->click();

    const bool rac = GetParam() == kNamensgebunden;
    const QStringList zeile = {"6", "61234567", "ZRI", "3", "Water", rac ? "0" : "2", "9600;"};
    for (int spalte = 0; spalte < zeile.size(); ++spalte)
        EXPECT_EQ(zelle(6, spalte), zeile[spalte]) << spalte;
    const QList<QStringList> saetze = {
        {"62", "Water", rac ? "8 digit BCD" : "Volume", rac ? "12,345" : "12.345",
         rac ? "1" : "m^3"},
        {"61", "Water", rac ? "32 bit integer" : "Energy", "100000", rac ? "0" : "kWh"},
    };
    const FlexGridWidget& grid = *fenster.ui().Grid1;
    for (int satz = 0; satz < saetze.size(); ++satz)
        for (int spalte = 0; spalte < 5; ++spalte)
            EXPECT_EQ(grid.TextMatrix(satz + 1, spalte), saetze[satz][spalte]) << satz << spalte;
}

TEST_P(PrimaerScanGesichter, stopEndsTheRateAndLeavesTheSlowerRatesUnscanned)
{
    frmMBustest& fenster = starten(Zaehler(1, "10000001", 4800), GetParam());
    rateWaehlen(k9600, 1, 2);
    rateWaehlen(k4800, 1, 30);
    rateWaehlen(k2400, 1, 30);
    sobald([this] { return zeile(k4800).startsWith("Suche Adr.: 4 "); },
           [this] { m_fenster->ui().cmdSecAdrStop->click(); });
    fenster.ui().cmdSecPrimSuchen->click();

    EXPECT_TRUE(zeile(k4800).startsWith("1 Zähler in ")) << qPrintable(zeile(k4800));
    EXPECT_TRUE(zeile(k4800).endsWith(" sec. gefunden. Suche abgebrochen bei Adr. 5"))
        << qPrintable(zeile(k4800));
    EXPECT_EQ(zeile(k2400), "");
    EXPECT_EQ(gesendeteRaten(), QList<int>({9600, 4800}));
    EXPECT_LE(m_sim->empfangeneRahmen().size(), 2 + 4);
    EXPECT_EQ(zelle(1, 6), "4800;");
    erwarteRuhezustand();
}

TEST_P(PrimaerScanGesichter, meterAtAddressZeroGetsARowOfItsOwnAndTheHeaderStays)
{
    frmMBustest& fenster =
        starten(Zaehler(0, "00000077", 9600) + Zaehler(1, "10000001", 9600), GetParam());
    rateWaehlen(k9600, 0, 2);
    fenster.ui().cmdSecPrimSuchen->click();

    const QStringList kopf = {"Primär", "ID", "Herst.", "Vers.", "Medium", "AnzDat.", "Baudrate"};
    for (int spalte = 0; spalte < kopf.size(); ++spalte)
        EXPECT_EQ(zelle(0, spalte), kopf[spalte]);
    ASSERT_EQ(fenster.ui().MSFlexGrid1->Rows(), 252);
    EXPECT_EQ(zelle(251, 0), "0");
    EXPECT_EQ(zelle(251, 1), "00000077");
    EXPECT_EQ(zelle(251, 6), "9600;");
    EXPECT_EQ(zelle(1, 1), "10000001");
    EXPECT_TRUE(zeile(k9600).startsWith("2 Zähler in ")) << qPrintable(zeile(k9600));
    erwarteRuhezustand();
}

TEST_P(PrimaerScanGesichter, meterOnTwoRatesAtAddressZeroKeepsOneAppendedRow)
{
    frmMBustest& fenster =
        starten(Zaehler(0, "00000096", 9600) + Zaehler(0, "00000024", 2400), GetParam());
    rateWaehlen(k9600, 0, 0);
    rateWaehlen(k2400, 0, 0);
    fenster.ui().cmdSecPrimSuchen->click();

    ASSERT_EQ(fenster.ui().MSFlexGrid1->Rows(), 252);
    EXPECT_EQ(zelle(251, 6), "9600;2400;");
    EXPECT_EQ(zelle(0, 0), "Primär");
}

TEST_P(PrimaerScanGesichter, rangeUpTo255EndsNormallyWithBroadcastAnswersInAppendedRows)
{
    frmMBustest& fenster = starten(Zaehler(250, "25000000", 9600), GetParam());
    rateWaehlen(k9600, 249, 255);
    fenster.ui().cmdSecPrimSuchen->click();

    EXPECT_EQ(zelle(250, 1), "25000000");
    EXPECT_EQ(zelle(0, 0), "Primär");
    // Only a meter that answered gets a row beyond 250: here the broadcast address 254.
    ASSERT_EQ(fenster.ui().MSFlexGrid1->Rows(), 252);
    EXPECT_EQ(zelle(251, 0), "254");
    EXPECT_EQ(zelle(251, 1), "25000000");
    EXPECT_TRUE(zeile(k9600).startsWith("2 Zähler in ")) << qPrintable(zeile(k9600));
    erwarteRuhezustand();
}

TEST_P(PrimaerScanGesichter, firstAddressAboveLastSendsNothing)
{
    frmMBustest& fenster = starten(Zaehler(3, "30000003", 9600), GetParam());
    rateWaehlen(k9600, 5, 4);
    fenster.ui().cmdSecPrimSuchen->click();

    EXPECT_TRUE(zeile(k9600).startsWith("0 Zähler in ")) << qPrintable(zeile(k9600));
    EXPECT_TRUE(zeile(k9600).endsWith(" sec. gefunden. "));
    EXPECT_TRUE(m_sim->empfangeneRahmen().isEmpty());
}

TEST_P(PrimaerScanGesichter, endingTheProgramStopsTheScanBeforeItEnds)
{
    frmMBustest& fenster = starten(Zaehler(1, "10000001", 9600), GetParam());
    rateWaehlen(k9600, 1, 40);
    rateWaehlen(k2400, 1, 40);
    sobald([this] { return zeile(k9600).startsWith("Suche Adr.: 3 "); },
           [this] { m_fenster->mnuEnde_Click(); });
    const QString zeile2400 = zeile(k2400);
    fenster.ui().cmdSecPrimSuchen->click();

    EXPECT_EQ(m_programmEnden, 1);
    EXPECT_TRUE(zeile(k9600).contains("Suche abgebrochen bei Adr. ")) << qPrintable(zeile(k9600));
    // The next rate's scan never began (its frames would show on its line). The simulator may
    // file the last request at 2400: it reads the line's rate when it takes the bytes, and the
    // port closes, back to the terminal's 2400, right behind that request.
    EXPECT_EQ(zeile(k2400), zeile2400);
    EXPECT_LE(m_sim->empfangeneRahmen().size(), 4);
    ProgrammEndeZuruecksetzen();
}

// The walk-through's example bus: the meter at 13 ignores the first frame sent to it, so the
// first scan misses it and every later one finds it.
TEST_F(PrimaerScanTest, exampleBusMeterAt13AnswersFromTheSecondScanOn)
{
    QFile datei(QStringLiteral(MBUS_SIM_BEISPIEL));
    ASSERT_TRUE(datei.open(QIODevice::ReadOnly));
    frmMBustest& fenster = starten(QString::fromUtf8(datei.readAll()), kNamensgebunden);
    rateWaehlen(k9600, 12, 13);
    QStringList zeilen;
    for (int scan = 0; scan < 3; ++scan) {
        fenster.ui().cmdSecPrimSuchen->click();
        zeilen << zeile(k9600).section(QLatin1Char(' '), 0, 1) + QLatin1Char('|') + zelle(13, 1);
    }
    EXPECT_EQ(zeilen, QStringList({"1 Zähler|", "2 Zähler|50000013", "2 Zähler|50000013"}));
}

TEST_F(PrimaerScanTest, missingNameBoundDriverIsCreatedForTheScan)
{
    schreiben(QStringLiteral("ZEP.INI"), "[MBus0]\r\nOleProvider=2\r\n");
    SimBus simBus;
    QString fehler;
    ASSERT_TRUE(BusSimulator::busTextLesen(
        QStringLiteral("bus takt=nein\n") + Zaehler(2, "20000002", 9600), simBus, &fehler));
    m_sim = std::make_unique<BusSimulator>(simBus);
    ASSERT_TRUE(m_sim->starten(&fehler));
    schreiben(QStringLiteral("ZEP.INI"),
              QStringLiteral("[MBus0]\r\nOleProvider=2\r\n[COM]\r\nCOM%1=%2\r\n")
                  .arg(kPort)
                  .arg(m_sim->geraet())
                  .toUtf8());
    frmMBustest& fenster = oeffnen();
    ASSERT_EQ(fenster.RacServer(), nullptr);
    treiberWaehlen(kNamensgebunden);
    suchPortSetzen();
    rateWaehlen(k9600, 1, 3);
    fenster.ui().cmdSecPrimSuchen->click();

    EXPECT_NE(fenster.RacServer(), nullptr);
    EXPECT_EQ(zelle(2, 1), "20000002");
    erwarteRuhezustand();
}

// Port 37 is not mapped and /dev/ttyS36 does not exist: no result line that reads "bus empty".
TEST_P(PrimaerScanGesichter, portThatDoesNotOpenIsReportedAndLoggedAndTheNextRateIsTried)
{
    frmMBustest& fenster = starten(Zaehler(2, "20000002", 9600), GetParam());
    fenster.Text4Setzen(QStringLiteral("37"));
    rateWaehlen(k9600, 1, 3);
    rateWaehlen(k2400, 1, 3);
    fenster.ui().cmdSecPrimSuchen->click();

    EXPECT_EQ(m_meldungen.texte, QStringList({"Fehler Open Com 37", "Fehler Open Com 37"}));
    EXPECT_EQ(programmlog().count(portFehlt(QStringLiteral("Fehler Open Com 37"), 37)), 2)
        << qPrintable(programmlog());
    EXPECT_EQ(zeile(k9600), "");
    EXPECT_EQ(zeile(k2400), "");
    EXPECT_TRUE(m_sim->empfangeneRahmen().isEmpty());
    erwarteRuhezustand();
}

} // namespace
