// The modem link of the test window end to end against the bus simulator's AT modem on COM3:
// dial, search the remote bus, hang up; a busy number; a silent modem against the waits' limits;
// a search after an aborted local search; a hang-up during the search; the remote side hanging
// up during the search; no driver.

#include "SimulatorFensterUmgebung.h"

#include "bustest/ModemVerbindung.h"
#include "bustest/TestfensterRegeln.h"
#include "driver/faces/MBusRacX4.h"
#include "ui/FlexGridWidget.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>

#include <chrono>

namespace {

using namespace std::chrono_literals;

// The remote bus runs at 2400 baud behind a 9600 baud modem line.
const QString kModemBus =
    QStringLiteral("modem waehlzeit=100 schutzzeit=200 connect=9600 busbaud=2400\n"
                   "nummer 0301111 BUSY\n"
                   "zaehler adresse=5 id=12345678 hersteller=LUG version=07 medium=04 baud=2400\n"
                   "satz 0406 A0860100\n"
                   "zaehler adresse=6 id=50000006 hersteller=SEN version=02 medium=07 baud=2400\n"
                   "satz 0C13 45230100\n");

mbus::Modemzeiten KurzeModemzeiten()
{
    mbus::Modemzeiten z;
    z.befehlsfrist = 300ms;
    z.waehlfrist = 1000ms;
    z.schutzzeit = 200ms;
    z.schutzreserve = 50ms;
    z.befehlspause = 20ms;
    z.dtrAbfall = 50ms;
    z.antwortZuschlag = 50ms;
    z.antwortPause = 30ms;
    z.pauseImRahmen = 100ms;
    return z;
}

class ModemVerbindungTest : public SimulatorFensterUmgebung
{
protected:
    frmMBustest& starten(const QString& bus, const QString& nummer = QStringLiteral("0302222"),
                         const mbus::Modemzeiten& zeiten = KurzeModemzeiten())
    {
        frmMBustest& fenster = simulatorStarten(bus);
        fenster.modemVerbindung().setzeModemzeiten(zeiten);
        fenster.Text1Setzen(1, QString::number(kPort));
        fenster.Text1Setzen(2, QStringLiteral("9600"));
        fenster.ui().Text9->setText(QStringLiteral("ATDT") + nummer);
        return fenster;
    }

    QStringList ids() const
    {
        QStringList liste;
        const FlexGridWidget* grid = m_fenster->ui().MSFlexGrid1;
        for (int zeile = 1; zeile < grid->Rows(); ++zeile)
            liste << grid->TextMatrix(zeile, 1);
        return liste;
    }

    QString meldungen() const { return m_meldungen.texte.join('|'); }
};

TEST_F(ModemVerbindungTest, dialSearchTheRemoteBusAndHangUp)
{
    frmMBustest& fenster = starten(kModemBus);
    const auto& e = fenster.ui();
    // A meter found before (by a local search) stays; the remote ones are added.
    e.MSFlexGrid1->AddItem(QStringLiteral("7\t70000007\tABB\t1\tWater\t1\t2400\t"));

    e.cmdMoWaehlen->click();
    EXPECT_EQ(meldungen(), "fertig 4");
    EXPECT_TRUE(m_sim->modemVerbunden());
    EXPECT_EQ(m_sim->modemNummer(), "0302222");
    EXPECT_TRUE(programmlog().contains(
        QStringLiteral(" Modem wählen: fertig 4, Antwort des Modems: CONNECT 9600\r\n")))
        << qPrintable(programmlog());
    ASSERT_NE(fenster.RacServer(), nullptr);

    m_meldungen.zeiger_.clear();
    e.cmdMoLesen->click();
    EXPECT_EQ(ids(), QStringList({"70000007", "50000006", "12345678"}));
    EXPECT_EQ(e.MSFlexGrid1->TextMatrix(2, 0), "6");
    EXPECT_EQ(e.MSFlexGrid1->TextMatrix(2, 2), "SEN");
    EXPECT_EQ(e.MSFlexGrid1->TextMatrix(2, 6), "9600") << "the modem's rate";
    EXPECT_EQ(e.Label10->text(), "Fertig");
    EXPECT_EQ(m_meldungen.zeiger_, QList<int>({vbHourglass, vbDefault}));
    EXPECT_GE(rahmenZaehlen(IstSelect), 10);
    EXPECT_TRUE(m_sim->modemVerbunden());

    e.cmdMoAuflegen->click();
    EXPECT_FALSE(m_sim->modemVerbunden());
    EXPECT_EQ(fenster.modemVerbindung().status(), 3);
    EXPECT_EQ(fenster.RacServer(), nullptr);
    EXPECT_EQ(meldungen(), "fertig 4");

    // Without a driver neither the search nor the hang-up does anything.
    const qsizetype rahmen = m_sim->empfangeneRahmen().size();
    e.cmdMoLesen->click();
    e.cmdMoAuflegen->click();
    EXPECT_EQ(m_sim->empfangeneRahmen().size(), rahmen);
    EXPECT_EQ(ids().size(), 3);
    EXPECT_EQ(meldungen(), "fertig 4");
}

TEST_F(ModemVerbindungTest, busyNumberEndsWithStatus3AndTheSearchDoesNothing)
{
    frmMBustest& fenster = starten(kModemBus, QStringLiteral("0301111"));
    fenster.ui().cmdMoWaehlen->click();
    EXPECT_EQ(meldungen(), "fertig 3");
    EXPECT_FALSE(m_sim->modemVerbunden());
    EXPECT_TRUE(programmlog().contains(
        QStringLiteral(" Modem wählen: fertig 3, Antwort des Modems: BUSY\r\n")))
        << qPrintable(programmlog());

    fenster.ui().Label10->setText(QStringLiteral("vorher"));
    fenster.ui().cmdMoLesen->click();
    EXPECT_TRUE(m_sim->empfangeneRahmen().isEmpty());
    EXPECT_TRUE(ids().isEmpty());
    EXPECT_EQ(fenster.ui().Label10->text(), "vorher");
    EXPECT_EQ(meldungen(), "fertig 3");
}

TEST_F(ModemVerbindungTest, portThatDoesNotOpenOrBoxesWithoutPortAndRateDialNothing)
{
    frmMBustest& fenster = starten(kModemBus);
    fenster.Text1Setzen(1, QStringLiteral("9"));
    fenster.ui().cmdMoWaehlen->click();
    EXPECT_EQ(meldungen(), "Fehler Open Com 9");

    struct Fall
    {
        const char* port;
        const char* baud;
        QString meldung;
    };
    for (const Fall& fall :
         {Fall{"", "9600", kComPortUngueltig}, Fall{"x", "9600", kComPortUngueltig},
          Fall{"3", "", kBaudUngueltig}, Fall{"3", "24x0", kBaudUngueltig}}) {
        m_meldungen.texte.clear();
        fenster.Text1Setzen(1, QString::fromLatin1(fall.port));
        fenster.Text1Setzen(2, QString::fromLatin1(fall.baud));
        fenster.ui().cmdMoWaehlen->click();
        EXPECT_EQ(meldungen(), fall.meldung) << fall.port << " " << fall.baud;
    }
    EXPECT_TRUE(m_sim->modemNummer().isEmpty());
    EXPECT_FALSE(m_sim->modemVerbunden());
}

TEST_F(ModemVerbindungTest, silentModemEndsEachWaitAtItsLimitWithTheMessage)
{
    // A plain bus: nobody answers the AT commands. The modem's own deadlines are longer than
    // the window's limits here, so the limits end the waits.
    mbus::Modemzeiten zeiten = KurzeModemzeiten();
    zeiten.befehlsfrist = 3000ms;
    frmMBustest& fenster =
        starten(QStringLiteral("zaehler adresse=5 id=12345678 hersteller=LUG baud=2400\n"),
                QStringLiteral("0302222"), zeiten);
    fenster.modemVerbindung().setzeFristen({1, 1, 10});
    fenster.ui().cmdMoWaehlen->click();
    EXPECT_EQ(meldungen(), ModemVerbindung::InitialisierungZuLang(1));
    EXPECT_EQ(ModemVerbindung::InitialisierungZuLang(1),
              "Das Modem hat die Initialisierung nicht in 1 Sekunde beendet.");

    // With short command deadlines the initialisation ends unconfirmed (0); the call, whose
    // deadline is the modem's 60 s, ends at the window's limit.
    m_meldungen.texte.clear();
    zeiten = KurzeModemzeiten();
    zeiten.waehlfrist = 60000ms;
    fenster.modemVerbindung().setzeModemzeiten(zeiten);
    fenster.modemVerbindung().setzeFristen({10, 1, 10});
    fenster.ui().cmdMoWaehlen->click();
    EXPECT_EQ(meldungen(), ModemVerbindung::AnrufZuLang(1));

    m_meldungen.texte.clear();
    fenster.ui().cmdMoAuflegen->click();
    EXPECT_EQ(fenster.modemVerbindung().status(), 3);
    EXPECT_EQ(fenster.RacServer(), nullptr);
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(meldungen());
    EXPECT_EQ(ModemVerbindung::AuflegenZuLang(10), "Das Modem hat nicht in 10 Sekunden aufgelegt.");
}

TEST_F(ModemVerbindungTest, searchAfterAnAbortedLocalSearchRunsInFull)
{
    frmMBustest& fenster = starten(kModemBus);
    // A local search aborted: its stop flag stays set.
    fenster.ui().cmdSekSuchenAlleAbbrechen->setVisible(true);
    fenster.cmdSekSuchenAlleAbbrechen_Click();
    fenster.ui().cmdMoWaehlen->click();
    ASSERT_EQ(meldungen(), "fertig 4");
    fenster.ui().cmdMoLesen->click();
    EXPECT_EQ(ids(), QStringList({"50000006", "12345678"}));
}

TEST_F(ModemVerbindungTest, hangUpDuringTheSearchStopsItAndHangsUpAfterwards)
{
    frmMBustest& fenster = starten(kModemBus);
    fenster.ui().cmdMoWaehlen->click();
    ASSERT_EQ(meldungen(), "fertig 4");
    // Hang up while the third mask is probed.
    sobald([this] { return rahmenZaehlen(IstSelect) >= 3; },
           [&fenster] { fenster.ui().cmdMoAuflegen->click(); });
    fenster.ui().cmdMoLesen->click();

    EXPECT_LE(rahmenZaehlen(IstSelect), 4);
    EXPECT_TRUE(ids().isEmpty());
    EXPECT_EQ(fenster.ui().Label10->text(), "Fertig");
    EXPECT_FALSE(m_sim->modemVerbunden());
    EXPECT_EQ(fenster.RacServer(), nullptr);
    EXPECT_EQ(meldungen(), "fertig 4");
}

TEST_F(ModemVerbindungTest, remoteHangUpDuringTheSearchSaysSoWithTheMetersFoundUntilThen)
{
    // The remote side hangs up 2.5 s after CONNECT. The first mask finds the meter 9...; every
    // empty mask after it takes more than a second (the answer window's allowance through the
    // modem), so the line is gone long before the last mask would find the meter 0....
    mbus::Modemzeiten zeiten = KurzeModemzeiten();
    zeiten.antwortZuschlag = 1000ms;
    frmMBustest& fenster =
        starten(QStringLiteral(
                    "modem waehlzeit=100 schutzzeit=200 connect=9600 busbaud=2400 auflegen=2500\n"
                    "zaehler adresse=5 id=91234567 hersteller=LUG version=07 medium=04 baud=2400\n"
                    "satz 0406 A0860100\n"
                    "zaehler adresse=6 id=00000006 hersteller=SEN version=02 medium=07 baud=2400\n"
                    "satz 0C13 45230100\n"),
                QStringLiteral("0302222"), zeiten);
    const auto& e = fenster.ui();
    e.cmdMoWaehlen->click();
    ASSERT_EQ(meldungen(), "fertig 4");
    m_meldungen.texte.clear();
    m_meldungen.zeiger_.clear();

    e.cmdMoLesen->click();
    EXPECT_FALSE(m_sim->modemVerbunden());
    EXPECT_EQ(ids(), QStringList({"91234567"}));
    EXPECT_EQ(e.Label10->text(), "Verbindung beendet (NO CARRIER): 1 Zähler gefunden");
    const QString meldung =
        QStringLiteral("Die Modemverbindung ist während der Suche beendet worden (NO CARRIER). "
                       "Bis dahin wurde 1 Zähler gefunden. Für eine neue Suche bitte auflegen "
                       "und neu wählen.");
    EXPECT_EQ(meldungen(), meldung);
    EXPECT_EQ(m_meldungen.zeiger_, QList<int>({vbHourglass, vbDefault}));
    EXPECT_TRUE(programmlog().contains(QLatin1Char(' ') + meldung + QStringLiteral("\r\n")))
        << qPrintable(programmlog());

    // Without the connection "Suchen" does nothing; "Auflegen" releases the driver.
    const qsizetype rahmen = m_sim->empfangeneRahmen().size();
    e.cmdMoLesen->click();
    EXPECT_EQ(m_sim->empfangeneRahmen().size(), rahmen);
    EXPECT_EQ(meldungen(), meldung);
    e.cmdMoAuflegen->click();
    EXPECT_EQ(fenster.RacServer(), nullptr);
    EXPECT_EQ(fenster.modemVerbindung().status(), 3);
    EXPECT_EQ(meldungen(), meldung);
}

TEST(ModemVerbindungTexte, theEndedConnectionNamesTheResultAndTheCount)
{
    EXPECT_EQ(ModemVerbindung::VerbindungBeendetAnzeige(QString(), 0),
              "Verbindung beendet: 0 Zähler gefunden");
    EXPECT_EQ(ModemVerbindung::VerbindungBeendetMeldung(QStringLiteral("NO CARRIER"), 3),
              "Die Modemverbindung ist während der Suche beendet worden (NO CARRIER). Bis dahin "
              "wurden 3 Zähler gefunden. Für eine neue Suche bitte auflegen und neu wählen.");
    EXPECT_EQ(ModemVerbindung::WahlProtokoll(QStringLiteral("fertig 3"), QString()),
              "Modem wählen: fertig 3, keine Antwort des Modems");
}

TEST_F(ModemVerbindungTest, hangUpDuringTheDialAbortsItAndReleasesTheDriver)
{
    frmMBustest& fenster = starten(kModemBus + QStringLiteral("nummer 0303333 CONNECT nach=5000\n"),
                                   QStringLiteral("0303333"));
    // First while the modem is initialised, then while it dials.
    const std::function<bool()> wann[] = {
        [&fenster] { return fenster.RacServer() && fenster.modemVerbindung().status() == 1; },
        [this] { return !m_sim->modemNummer().isEmpty(); }};
    for (const auto& bedingung : wann) {
        sobald(bedingung, [&fenster] { fenster.ui().cmdMoAuflegen->click(); });
        QElapsedTimer uhr;
        uhr.start();
        fenster.ui().cmdMoWaehlen->click();
        EXPECT_LT(uhr.elapsed(), 4000);
        EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(meldungen());
        EXPECT_FALSE(m_sim->modemVerbunden());
        EXPECT_EQ(fenster.RacServer(), nullptr);
        EXPECT_EQ(fenster.modemVerbindung().status(), 3);
    }
    EXPECT_EQ(m_sim->modemNummer(), "0303333");
}

} // namespace
