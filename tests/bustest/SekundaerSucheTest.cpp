// The secondary-address search of the test window end to end against the bus simulator (COM3,
// pacing off): meters that differ only in the last digit, meters sharing one number, abort, two
// baud rates, a fixed leading part of the mask, acknowledgements that overlap exactly, and one
// bus operation at a time.

#include "SimulatorFensterUmgebung.h"

#include "bustest/SekundaerSuche.h"
#include "bustest/TestfensterRegeln.h"
#include "driver/faces/MBusRacX4.h"
#include "platform/Warten.h"
#include "ui/FlexGridWidget.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Check1 rows of the rates.
constexpr int k9600 = 0;
constexpr int k2400 = 2;

QString Zaehler(const QString& id, int baud, const QString& hersteller = QStringLiteral("LUG"))
{
    return QStringLiteral("zaehler id=%1 hersteller=%2 version=07 medium=04 baud=%3\n"
                          "satz 0406 A0860100\nsatz 0C13 45230100\n")
        .arg(id, hersteller)
        .arg(baud);
}

class SekundaerSucheTest : public SimulatorFensterUmgebung
{
protected:
    // Starts the bus on COM3 and opens the window on it with no rate ticked.
    frmMBustest& starten(const QString& bus,
                         const QString& busZeile = QStringLiteral("bus takt=nein"))
    {
        frmMBustest& fenster = simulatorStarten(bus, busZeile);
        suchPortSetzen();
        return fenster;
    }

    void rateWaehlen(int zeile)
    {
        m_fenster->ui().Check1[static_cast<size_t>(zeile)]->setChecked(true);
    }

    void stellenWaehlen(const QString& stellen)
    {
        QComboBox* box = m_fenster->ui().Combo3;
        const int index = box->findText(stellen);
        ASSERT_GE(index, 0);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }

    // Column 1 (the numbers) of the meter list below the header.
    QStringList ids() const
    {
        QStringList liste;
        const FlexGridWidget* grid = m_fenster->ui().MSFlexGrid1;
        for (int zeile = 1; zeile < grid->Rows(); ++zeile)
            liste << grid->TextMatrix(zeile, 1);
        return liste;
    }

    QString zelle(int zeile, int spalte) const
    {
        return m_fenster->ui().MSFlexGrid1->TextMatrix(zeile, spalte);
    }

    QString ergebnis() const { return m_fenster->ui().Label11->text(); }

    int selects() const { return rahmenZaehlen(IstSelect); }

    void erwarteRuhezustand() const
    {
        const TestfensterElemente& e = m_fenster->ui();
        EXPECT_FALSE(e.cmdSekSuchenAlle->isHidden());
        EXPECT_TRUE(e.cmdSekSuchenAlleAbbrechen->isHidden());
        for (QPushButton* knopf : {e.cmdSecPrimSuchen, e.Command1, e.Command3, e.Command4})
            EXPECT_TRUE(knopf->isEnabled());
        ASSERT_FALSE(m_meldungen.zeiger_.isEmpty());
        EXPECT_EQ(m_meldungen.zeiger_.last(), vbDefault);
        EXPECT_TRUE(m_fenster->RacServer() == nullptr ||
                    m_fenster->RacServer()->APPIsComOpen() != 0);
    }
};

TEST_F(SekundaerSucheTest, digitBoxShowsStartMaskWithLeadingZeros)
{
    starten(QString());
    const std::pair<const char*, const char*> faelle[] = {
        {"8", "ffffffff"}, {"6", "00ffffff"}, {"2", "000000ff"}, {"1", "0000000f"}};
    for (const auto& [stellen, maske] : faelle) {
        stellenWaehlen(QString::fromLatin1(stellen));
        EXPECT_EQ(m_fenster->ui().Label8->text(), QString::fromLatin1(maske)) << stellen;
    }
}

TEST_F(SekundaerSucheTest, emptyBusProbesTenMasksPerRateAndReportsNoMeter)
{
    frmMBustest& fenster = starten(QString());
    rateWaehlen(k9600);
    fenster.ui().cmdSekSuchenAlle->click();

    EXPECT_EQ(selects(), 10);
    EXPECT_TRUE(ergebnis().startsWith("0 Zähler gefunden  in ")) << qPrintable(ergebnis());
    EXPECT_TRUE(ergebnis().endsWith(" Sekunden")) << qPrintable(ergebnis());
    EXPECT_EQ(fenster.ui().MSFlexGrid1->Rows(), 1);
    erwarteRuhezustand();
}

TEST_F(SekundaerSucheTest, metersDifferingOnlyInLastDigitAreBothFoundNineFirst)
{
    frmMBustest& fenster =
        starten(Zaehler("12345678", 9600) + Zaehler("12345679", 9600) + Zaehler("50000000", 9600));
    rateWaehlen(k9600);
    fenster.ui().cmdSekSuchenAlle->click();

    EXPECT_EQ(ids(), QStringList({"50000000", "12345679", "12345678"}));
    // Primary address (none in the bus file: 0), number, manufacturer, version, medium, record
    // count, rate; column 7 stays empty.
    const QStringList zeile = {"0", "12345679", "LUG", "7", "Heat", "2", "9600", ""};
    for (int spalte = 0; spalte < zeile.size(); ++spalte)
        EXPECT_EQ(zelle(2, spalte), zeile[spalte]) << spalte;
    EXPECT_TRUE(ergebnis().startsWith("3 Zähler gefunden in ")) << qPrintable(ergebnis());
    EXPECT_EQ(fenster.ui().Label8->text(), "ffffffff");
    erwarteRuhezustand();
}

// Acknowledgements that collide as garbled bytes, and acknowledgements that overlap exactly.
class GleicheNummer : public SekundaerSucheTest, public ::testing::WithParamInterface<const char*>
{
};

INSTANTIATE_TEST_SUITE_P(Versatz, GleicheNummer, ::testing::Values("3", "0"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string("Bits") + info.param;
                         });

TEST_P(GleicheNummer, twoMetersWithTheSameNumberAreNotEntered)
{
    frmMBustest& fenster = starten(Zaehler("33333333", 9600, "LUG") +
                                       Zaehler("33333333", 9600, "ABB") + Zaehler("70000007", 9600),
                                   QStringLiteral("bus takt=nein kollision_versatz=") +
                                       QString::fromLatin1(GetParam()));
    rateWaehlen(k9600);
    fenster.ui().cmdSekSuchenAlle->click();

    EXPECT_EQ(ids(), QStringList({"70000007"}));
    EXPECT_TRUE(ergebnis().startsWith("1 Zähler gefunden in ")) << qPrintable(ergebnis());
    erwarteRuhezustand();
}

// The telegrams differ in length, so that they always garble: two of one length that differ in a
// single bit of the number can merge into a sound frame, depending on the access number that
// rises with every fresh answer.
TEST_F(SekundaerSucheTest, exactlyOverlappingAcknowledgementsStillFindBothMeters)
{
    frmMBustest& fenster = starten(Zaehler("12345678", 9600) + Zaehler("12345679", 9600) +
                                       QStringLiteral("satz 0C13 00000000\n"),
                                   QStringLiteral("bus takt=nein kollision_versatz=0"));
    rateWaehlen(k9600);
    fenster.ui().cmdSekSuchenAlle->click();

    EXPECT_EQ(ids(), QStringList({"12345679", "12345678"}));
    erwarteRuhezustand();
}

TEST_F(SekundaerSucheTest, sameMeterOnTwoRatesHasOneRowWithBothRates)
{
    frmMBustest& fenster =
        starten(Zaehler("90000001", 9600) + Zaehler("90000001", 2400) + Zaehler("10000002", 2400));
    rateWaehlen(k9600);
    rateWaehlen(k2400);
    fenster.ui().cmdSekSuchenAlle->click();

    EXPECT_EQ(ids(), QStringList({"90000001", "10000002"}));
    EXPECT_EQ(zelle(1, 6), "9600;2400");
    EXPECT_EQ(zelle(2, 6), "2400");
    EXPECT_EQ(gesendeteRaten(), QList<int>({9600, 2400}));
    EXPECT_EQ(selects(), 20);
    EXPECT_TRUE(ergebnis().startsWith("2 Zähler gefunden in ")) << qPrintable(ergebnis());
    erwarteRuhezustand();
}

TEST_F(SekundaerSucheTest, fixedLeadingZerosFindOnlyMetersStartingWithThem)
{
    // The two meters starting with 00 and 11 differ only in the positions the search does not
    // vary: searched with wildcards there, they would collide down to the last digit and be lost.
    frmMBustest& fenster =
        starten(Zaehler("00123456", 9600) + Zaehler("11123456", 9600) + Zaehler("12345678", 9600));
    rateWaehlen(k9600);
    stellenWaehlen(QStringLiteral("6"));
    fenster.ui().cmdSekSuchenAlle->click();

    EXPECT_EQ(ids(), QStringList({"00123456"}));
    EXPECT_EQ(selects(), 10);
    EXPECT_EQ(fenster.ui().Label8->text(), "00ffffff");
    erwarteRuhezustand();
}

TEST_F(SekundaerSucheTest, abortEndsTheSearchAfterTheCurrentProbe)
{
    frmMBustest& fenster = starten(Zaehler("12345678", 9600));
    rateWaehlen(k9600);
    rateWaehlen(k2400);
    int selectsBeimAbbruch = -1;
    sobald([this] { return m_fenster->ui().Label8->text() == "7fffffff"; },
           [this, &selectsBeimAbbruch] {
               selectsBeimAbbruch = selects();
               m_fenster->ui().cmdSekSuchenAlleAbbrechen->click();
           },
           0);
    fenster.ui().cmdSekSuchenAlle->click();

    ASSERT_GE(selectsBeimAbbruch, 2);
    EXPECT_LE(selects(), selectsBeimAbbruch + 1);
    // At most the probe that ran: the 2400 pass never starts. (The rate the simulator notes for
    // that last probe can already be the one the closed port fell back to, so the count of
    // selects says it, not the rates.)
    EXPECT_LE(selects(), 3);
    EXPECT_TRUE(ergebnis().startsWith("0 Zähler gefunden  in ")) << qPrintable(ergebnis());
    EXPECT_TRUE(ergebnis().endsWith(" Sekunden")) << qPrintable(ergebnis());
    erwarteRuhezustand();
}

TEST_F(SekundaerSucheTest, portThatDoesNotOpenIsReportedAndLoggedAtEveryRate)
{
    frmMBustest& fenster = starten(Zaehler("12345678", 9600));
    fenster.Text4Setzen(QStringLiteral("37"));
    rateWaehlen(k9600);
    rateWaehlen(k2400);
    fenster.ui().cmdSekSuchenAlle->click();

    EXPECT_EQ(m_meldungen.texte, QStringList({"Fehler Open Com 37", "Fehler Open Com 37"}));
    EXPECT_EQ(programmlog().count(portFehlt(QStringLiteral("Fehler Open Com 37"), 37)), 2)
        << qPrintable(programmlog());
    EXPECT_EQ(selects(), 0);
    erwarteRuhezustand();
}

// Every start button of a bus operation, while another operation runs: nothing is sent, no
// message box, and the line under the title says why until the running operation has ended.
TEST_F(SekundaerSucheTest, busOperationsAreTurnedAwayWithAStatusLineWhileOneRuns)
{
    frmMBustest& fenster = starten(Zaehler("12345678", 9600));
    const TestfensterElemente& e = fenster.ui();
    const QString titelZeile = e.Label12->text();
    rateWaehlen(k9600);
    fenster.Text1Setzen(0, QStringLiteral("5"));
    fenster.Text1Setzen(1, QString::number(kPort));
    fenster.Text1Setzen(2, QStringLiteral("9600"));
    e.Text2[4]->setText(QStringLiteral("12345678"));
    {
        Programmende::Lauf andererLauf(fenster.programmende());
        ASSERT_TRUE(andererLauf.gueltig());
        // The secondary read first: the primary read clears the box of the secondary address.
        for (QPushButton* knopf : {e.cmdSecLesen, e.cmdSekSuchenAlle, e.cmdSecPrimSuchen,
                                   e.cmdstartAuslesen, e.cmdAuslesen1bis50}) {
            e.Label12->setText(titelZeile);
            knopf->click();
            EXPECT_EQ(e.Label12->text(), kNichtGestartet) << qPrintable(knopf->text());
        }
    }
    EXPECT_EQ(e.Label12->text(), titelZeile);
    EXPECT_TRUE(m_sim->empfangeneRahmen().isEmpty());
    EXPECT_TRUE(m_meldungen.texte.isEmpty()) << qPrintable(m_meldungen.texte.join('|'));
    EXPECT_EQ(ergebnis(), "");
    EXPECT_FALSE(e.cmdSekSuchenAlle->isHidden());

    // A read started while a real search runs.
    QString waehrendDerSuche;
    sobald([this] { return m_fenster->ui().Label8->text() == "7fffffff"; },
           [this, &waehrendDerSuche] {
               m_fenster->ui().cmdstartAuslesen->click();
               waehrendDerSuche = m_fenster->ui().Label12->text();
           });
    e.cmdSekSuchenAlle->click();
    EXPECT_EQ(waehrendDerSuche, kNichtGestartet);
    EXPECT_EQ(e.Label12->text(), titelZeile);
    EXPECT_EQ(ids(), QStringList({"12345678"}));
    EXPECT_EQ(rahmenZaehlen(IstAnforderung), 1); // the search's own data request only
}

} // namespace

TEST_F(SekundaerSucheTest, aMeterFoundIsShownWholeWhileTheSearchGoesOn)
{
    frmMBustest& fenster = starten(Zaehler("12345678", 9600) + Zaehler("50000000", 9600));
    rateWaehlen(k9600);
    int breite = -1;
    int bedarf = 0;
    sobald([this] { return ids().size() == 1; },
           [this, &breite, &bedarf] {
               const FlexGridWidget* grid = m_fenster->ui().MSFlexGrid1;
               breite = grid->columnWidth(1);
               bedarf = grid->fontMetrics().horizontalAdvance(grid->TextMatrix(1, 1));
           },
           0);
    fenster.ui().cmdSekSuchenAlle->click();

    EXPECT_EQ(ids(), QStringList({"50000000", "12345678"}));
    ASSERT_GT(bedarf, 0);
    EXPECT_GT(breite, bedarf);
}
