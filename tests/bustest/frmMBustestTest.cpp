#include "TestfensterUmgebung.h"

#include "platform/Global.h"
#include "driver/faces/MBusRacX4.h"
#include "platform/Warten.h"
#include "ui/FlexGridWidget.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

using Testfenster = TestfensterUmgebung;

const QStringList kVorgaben = {QStringLiteral("330"), QStringLiteral("50"), QStringLiteral("4"),
                               QStringLiteral("11")};
const QStringList kSchluessel = {QStringLiteral("COMTimeout"), QStringLiteral("COMTimeoutOffset"),
                                 QStringLiteral("COMTimeoutByte"), QStringLiteral("COMDeadtime")};

QStringList TimingTexte(const frmMBustest& fenster)
{
    QStringList texte;
    for (const QLineEdit* feld : fenster.ui().Text7)
        texte << feld->text();
    return texte;
}

void Tippen(QLineEdit* feld, const QString& text)
{
    feld->setFocus();
    feld->selectAll();
    QTest::keyClick(feld, Qt::Key_Delete);
    QTest::keyClicks(feld, text);
}

void Waehlen(QComboBox* box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

TEST_F(Testfenster, freshSettingsFileShowsTimingDefaultsAndStoresThem)
{
    const frmMBustest& fenster = oeffnen();
    EXPECT_EQ(TimingTexte(fenster), kVorgaben + kVorgaben);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ini(QStringLiteral("MBus"), kSchluessel[i]), kVorgaben[i]);
}

TEST_F(Testfenster, storedTimingValuesAreResetAtEveryStart)
{
    schreiben(QStringLiteral("ZEP.INI"), "[MBus]\r\nCOMTimeout=500\r\nCOMTimeoutOffset=60\r\n"
                                         "COMTimeoutByte=5\r\nCOMDeadtime=12\r\n");
    const frmMBustest& fenster = oeffnen();
    EXPECT_EQ(TimingTexte(fenster), kVorgaben + kVorgaben);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(ini(QStringLiteral("MBus"), kSchluessel[i]), kVorgaben[i]);
}

TEST_F(Testfenster, searchPortBoxTakesTheFirstFreePort)
{
    const frmMBustest& fenster = oeffnen();
    const QString erster = fenster.ui().Combo4->currentText();
    EXPECT_EQ(fenster.ui().Text4->text(), erster);
    // Only a port other than the box's design value "1" is a change that gets stored.
    EXPECT_EQ(ini(QStringLiteral("MBusTest"), QStringLiteral("COMPort")),
              erster == QStringLiteral("1") ? QStringLiteral("<fehlt>") : erster);
}

TEST_F(Testfenster, missingDriverChoiceBecomesNameBoundDriverAndIsStored)
{
    const frmMBustest& fenster = oeffnen();
    EXPECT_EQ(fenster.providerNr(), 1);
    EXPECT_EQ(ini(QStringLiteral("MBus0"), QStringLiteral("OleProvider")), QStringLiteral("1"));
    EXPECT_EQ(fenster.ui().Combo1->currentText(), QStringLiteral("MBus OLE V2"));
    EXPECT_EQ(fenster.ui().Combo2->currentText(), QStringLiteral("MBus OLE V2"));
    ASSERT_NE(fenster.RacServer(), nullptr);
    EXPECT_EQ(fenster.RacServer()->LNGLanguage(), 1);
    EXPECT_EQ(fenster.OleServer(), nullptr);
}

TEST_F(Testfenster, storedThirdChoiceCreatesNoDriver)
{
    schreiben(QStringLiteral("ZEP.INI"), "[MBus0]\r\nOleProvider=2\r\n");
    const frmMBustest& fenster = oeffnen();
    EXPECT_EQ(fenster.providerNr(), 2);
    EXPECT_EQ(fenster.ui().Combo1->currentText(), QStringLiteral("MBus ZEP"));
    EXPECT_EQ(fenster.RacServer(), nullptr);
    EXPECT_EQ(fenster.OleServer(), nullptr);
}

TEST_F(Testfenster, choosingADriverStoresItsNumberAndLoadsItsFace)
{
    frmMBustest& fenster = oeffnen();
    Waehlen(fenster.ui().Combo1, 0);
    EXPECT_EQ(fenster.providerNr(), 0);
    EXPECT_EQ(ini(QStringLiteral("MBus0"), QStringLiteral("OleProvider")), QStringLiteral("0"));
    int nummer = fenster.providerNr();
    fenster.LoadMBusPovider(nummer);
    EXPECT_NE(fenster.OleServer(), nullptr);
}

TEST_F(Testfenster, otherDriverHidesTheTimingFrameForGood)
{
    KommandozeileSetzen(QStringLiteral("vomak"));
    frmMBustest& fenster = oeffnen();
    ASSERT_FALSE(fenster.ui().Frame9->isHidden());
    Waehlen(fenster.ui().Combo1, 2);
    EXPECT_EQ(ini(QStringLiteral("MBus0"), QStringLiteral("OleProvider")), QStringLiteral("2"));
    EXPECT_TRUE(fenster.ui().Frame9->isHidden());
    Waehlen(fenster.ui().Combo1, 1);
    EXPECT_TRUE(fenster.ui().Frame9->isHidden());
    EXPECT_FALSE(fenster.ui().Frame8->isHidden());
    Waehlen(fenster.ui().Combo2, 0);
    EXPECT_TRUE(fenster.ui().Frame8->isHidden());
}

TEST_F(Testfenster, typedTimingValueIsStoredAndShownInItsTwin)
{
    frmMBustest& fenster = oeffnen();
    Tippen(fenster.ui().Text7[2], QStringLiteral("400"));
    EXPECT_EQ(ini(QStringLiteral("MBus"), QStringLiteral("COMTimeoutByte")), QStringLiteral("400"));
    EXPECT_EQ(fenster.ui().Text7[6]->text(), QStringLiteral("400"));
    Tippen(fenster.ui().Text7[4], QStringLiteral("700"));
    EXPECT_EQ(fenster.ui().Text7[0]->text(), QStringLiteral("700"));
    EXPECT_EQ(ini(QStringLiteral("MBus"), QStringLiteral("COMTimeout")), QStringLiteral("700"));
}

TEST_F(Testfenster, timingBoxesRefuseAnythingButDigits)
{
    frmMBustest& fenster = oeffnen();
    Tippen(fenster.ui().Text7[1], QStringLiteral("6x0,5"));
    EXPECT_EQ(fenster.ui().Text7[1]->text(), QStringLiteral("605"));
    EXPECT_EQ(ini(QStringLiteral("MBus"), QStringLiteral("COMTimeoutOffset")),
              QStringLiteral("605"));
}

TEST_F(Testfenster, singleMeterBoxesStoreWhatIsTyped)
{
    frmMBustest& fenster = oeffnen();
    Tippen(fenster.ui().Text1[0], QStringLiteral("17"));
    EXPECT_EQ(ini(QStringLiteral("MBusTest"), QStringLiteral("PrimAdr")), QStringLiteral("17"));
}

TEST_F(Testfenster, portAndBaudListsFillTheirBoxesAndStoreThem)
{
    frmMBustest& fenster = oeffnen();
    fenster.ui().Combo7->addItem(QStringLiteral("7"));
    Waehlen(fenster.ui().Combo7, fenster.ui().Combo7->count() - 1);
    Waehlen(fenster.ui().Combo8, 2);
    EXPECT_EQ(fenster.ui().Text1[1]->text(), QStringLiteral("7"));
    EXPECT_EQ(fenster.ui().Text1[2]->text(), QStringLiteral("2400"));
    EXPECT_EQ(ini(QStringLiteral("MBusTest"), QStringLiteral("ComPort")), QStringLiteral("7"));
    EXPECT_EQ(ini(QStringLiteral("MBusTest"), QStringLiteral("Baud")), QStringLiteral("2400"));
}

TEST_F(Testfenster, searchPortChoiceIsStoredAndCopiesTheTimingValue)
{
    frmMBustest& fenster = oeffnen();
    fenster.ui().Combo4->addItem(QStringLiteral("9"));
    Waehlen(fenster.ui().Combo4, fenster.ui().Combo4->count() - 1);
    EXPECT_EQ(fenster.ui().Text4->text(), QStringLiteral("9"));
    EXPECT_EQ(ini(QStringLiteral("MBusTest"), QStringLiteral("COMPort")), QStringLiteral("9"));
}

TEST_F(Testfenster, highestAddressTogglesOnDoubleClick)
{
    frmMBustest& fenster = oeffnen();
    QLineEdit* feld = fenster.ui().Text6[3];
    ASSERT_EQ(feld->text(), QStringLiteral("250"));
    QTest::mouseDClick(feld, Qt::LeftButton);
    EXPECT_EQ(feld->text(), QStringLiteral("255"));
    QTest::mouseDClick(feld, Qt::LeftButton);
    EXPECT_EQ(feld->text(), QStringLiteral("10"));
}

TEST_F(Testfenster, portParameterComeFromTheSingleMeterBoxes)
{
    frmMBustest& fenster = oeffnen();
    fenster.Text1Setzen(1, QStringLiteral("3"));
    fenster.Text1Setzen(2, QStringLiteral("2400"));
    QVariant port;
    QVariant baud;
    EXPECT_TRUE(fenster.GetPortParameter(port, baud));
    EXPECT_EQ(port.toString(), QStringLiteral("Com 3"));
    EXPECT_EQ(baud.toInt(), 2400);
}

TEST_F(Testfenster, serviceSwitchShowsTheServiceControls)
{
    KommandozeileSetzen(QStringLiteral("-M7 xvomakx"));
    const frmMBustest& fenster = oeffnen();
    const auto& e = fenster.ui();
    for (const QWidget* element :
         {static_cast<const QWidget*>(e.cmd_AutoPrimaer), static_cast<const QWidget*>(e.Frame9),
          static_cast<const QWidget*>(e.Frame10), static_cast<const QWidget*>(e.Command2),
          static_cast<const QWidget*>(e.cmdImporttxt), static_cast<const QWidget*>(e.cmdImport)})
        EXPECT_FALSE(element->isHidden()) << element->objectName().toStdString();
}

TEST_F(Testfenster, serviceSwitchInOtherCaseShowsNothing)
{
    KommandozeileSetzen(QStringLiteral("VOMAK"));
    const frmMBustest& fenster = oeffnen();
    EXPECT_TRUE(fenster.ui().cmd_AutoPrimaer->isHidden());
    EXPECT_TRUE(fenster.ui().Frame9->isHidden());
    EXPECT_TRUE(fenster.ui().cmdImport->isHidden());
}

TEST_F(Testfenster, startsOnTheBusViewWithTheServiceControlsHidden)
{
    const frmMBustest& fenster = oeffnen();
    const auto& e = fenster.ui();
    EXPECT_TRUE(fenster.isVisible());
    EXPECT_EQ(fenster.windowTitle(), QStringLiteral("Telvarin"));
    EXPECT_TRUE(e.Frame4->isVisible());
    for (const QWidget* verborgen : std::initializer_list<const QWidget*>{
             e.Frame6, e.Frame8, e.Frame9, e.Frame10, e.Frame11, e.cmdStop,
             e.cmdSekSuchenAlleAbbrechen, e.cmd_AutoPrimaer, e.cmdImportIndexe,
             e.cmdImportAlleIndexe, e.cmdImport, e.cmdImporttxt, e.cmdDatenbankEintrag,
             e.cmdTabSenden, e.Command2})
        EXPECT_TRUE(verborgen->isHidden());
    EXPECT_TRUE(e.cmdSecPrimSuchen->isVisible());
    EXPECT_TRUE(e.cmdSecAdrStop->isVisible());
}

TEST_F(Testfenster, viewSwitchTwiceReturnsToTheBusView)
{
    frmMBustest& fenster = oeffnen();
    const auto& e = fenster.ui();
    e.mnuZaehlerLesen->trigger();
    EXPECT_TRUE(e.Frame4->isHidden());
    EXPECT_FALSE(e.Frame6->isHidden());
    EXPECT_EQ(e.mnuZaehlerLesen->text(), QStringLiteral("Bus &Scan"));
    e.mnuZaehlerLesen->trigger();
    EXPECT_FALSE(e.Frame4->isHidden());
    EXPECT_TRUE(e.Frame6->isHidden());
    EXPECT_EQ(e.mnuZaehlerLesen->text(), QStringLiteral("Zähler &Scan"));
}

TEST_F(Testfenster, menusStandInOrderWithTheirCaptions)
{
    const frmMBustest& fenster = oeffnen();
    QStringList oben;
    for (const QAction* eintrag : fenster.menuBar()->actions())
        oben << eintrag->text();
    EXPECT_EQ(oben, (QStringList{QStringLiteral("&Datei"), QStringLiteral("Zähler &Scan"),
                                 QStringLiteral("eMail-Formular"), QStringLiteral("I&mport INI"),
                                 QStringLiteral("&?")}));
    EXPECT_EQ(fenster.ui().mnuEnde->text(), QStringLiteral("&Ende [Alt F4]"));
    EXPECT_EQ(fenster.ui().mnu_openhelp->text(), QStringLiteral("&Hilfe"));
    EXPECT_EQ(fenster.ui().mnu_about->text(), QStringLiteral("Ü&ber Telvarin"));
    EXPECT_FALSE(fenster.ui().mnueMail->isEnabled());
}

TEST_F(Testfenster, loadingPreparesGridsListsAndSampleTelegram)
{
    const frmMBustest& fenster = oeffnen();
    const auto& e = fenster.ui();
    EXPECT_EQ(e.MSFlexGrid1->Rows(), 1);
    EXPECT_EQ(e.MSFlexGrid1->Cols(), 9);
    EXPECT_EQ(e.MSFlexGrid1->TextMatrix(0, 7), QStringLiteral("Neue Primäradresse"));
    EXPECT_EQ(e.Combo3->count(), 8);
    EXPECT_EQ(e.Combo3->currentText(), QStringLiteral("8"));
    EXPECT_EQ(e.Combo6->count(), 6);
    EXPECT_EQ(e.Combo6->currentText(), QString());
    EXPECT_EQ(e.Combo8->currentText(), QStringLiteral("2400"));
    EXPECT_EQ(e.Text1[2]->text(), QStringLiteral("9600"));
    EXPECT_TRUE(RohdatenText.startsWith(QStringLiteral("68;38;38;68;8;0;72;")));
    EXPECT_TRUE(RohdatenText.endsWith(QStringLiteral(";CA;16;")));
}

TEST_F(Testfenster, meterListGridGetsItsFiveHeadings)
{
    frmMBustest& fenster = oeffnen();
    FlexGridWidget grid;
    grid.setRows(5);
    fenster.InitZaehlerListe(grid);
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.Cols(), 5);
    QStringList kopf;
    for (int spalte = 0; spalte < 5; ++spalte)
        kopf << grid.TextMatrix(0, spalte);
    EXPECT_EQ(kopf, (QStringList{QStringLiteral("Primär Adr.:"), QStringLiteral("Sekundär Adr.:"),
                                 QStringLiteral("Primär Adr.:"), QStringLiteral("Name"),
                                 QStringLiteral("Ort")}));
}

TEST_F(Testfenster, importIniOpensTheIndexListInTheTextEditor)
{
    frmMBustest& fenster = oeffnen();
    fenster.ui().mnuImportIni->trigger();
    ASSERT_EQ(m_starts.size(), 1);
    EXPECT_TRUE(m_starts[0].startsWith(QStringLiteral("xdg-open ")));
    EXPECT_TRUE(m_starts[0].endsWith(QStringLiteral("MBusImportIndex.txt")));
    EXPECT_TRUE(m_meldungen.texte.isEmpty());
}

TEST_F(Testfenster, importIniSaysSoWhenNoEditorStarts)
{
    m_startGelingt = false;
    frmMBustest& fenster = oeffnen();
    fenster.ui().mnuImportIni->trigger();
    ASSERT_EQ(m_meldungen.texte.size(), 1);
    EXPECT_TRUE(m_meldungen.texte[0].contains(QStringLiteral("MBusImportIndex.txt")));
}

TEST_F(Testfenster, endMenuEndsAtOnceWhenNoLoopRuns)
{
    frmMBustest& fenster = oeffnen();
    fenster.ui().mnuEnde->trigger();
    EXPECT_EQ(m_programmEnden, 1);
    EXPECT_TRUE(ProgrammEndet());
    EXPECT_NE(fenster.RacServer(), nullptr);
}

TEST_F(Testfenster, endingWhileALoopRunsStopsTheLoopFirst)
{
    frmMBustest& fenster = oeffnen();
    QStringList ablauf;
    fenster.programmende().endeAktionSetzen([&ablauf] { ablauf << QStringLiteral("ende"); });
    {
        Programmende::Lauf lauf(fenster.programmende());
        ASSERT_TRUE(lauf.gueltig());
        QTimer::singleShot(0, &fenster, [&fenster] { fenster.ui().mnuEnde->trigger(); });
        int schritte = 0;
        while (Warten(1) && ++schritte < 5000) {
        }
        EXPECT_LT(schritte, 5000);
        ablauf << QStringLiteral("schleife beendet");
    }
    EXPECT_EQ(ablauf, (QStringList{QStringLiteral("schleife beendet"), QStringLiteral("ende")}));
}

TEST_F(Testfenster, closeButtonReleasesTheDriverOnlyAfterTheLoop)
{
    frmMBustest& fenster = oeffnen();
    {
        Programmende::Lauf lauf(fenster.programmende());
        fenster.ui().cmdend->click();
        EXPECT_FALSE(DoEvents());
        EXPECT_NE(fenster.RacServer(), nullptr);
        EXPECT_EQ(m_programmEnden, 0);
    }
    EXPECT_EQ(fenster.RacServer(), nullptr);
    EXPECT_TRUE(fenster.ui().Frame4->isHidden());
    EXPECT_EQ(m_programmEnden, 1);
}

TEST_F(Testfenster, closingTheWindowWaitsForTheRunningLoop)
{
    frmMBustest& fenster = oeffnen();
    {
        Programmende::Lauf lauf(fenster.programmende());
        EXPECT_FALSE(fenster.close());
        EXPECT_TRUE(ProgrammEndet());
        EXPECT_EQ(m_programmEnden, 0);
    }
    EXPECT_EQ(m_programmEnden, 1);
    EXPECT_TRUE(fenster.close());
}

} // namespace
