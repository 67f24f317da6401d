// Public procedures of the test window in slot order, and the handlers whose work the scan,
// read-out, search, writing, telegram, modem, list-file and import parts of the window add.

#include "frmMBustest.h"

#include "PrimaerScan.h"
#include "driver/faces/IMBusOLEAutoServer.h"
#include "driver/faces/MBusObjektErzeugen.h"
#include "driver/faces/MBusRacX4.h"
#include "grid/FlexGrid.h"
#include "grid/GridHilfen.h"
#include "lesen/Zaehlerlesen.h"
#include "log/Log.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "platform/Warten.h"
#include "ui/FlexGridWidget.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The number a box or argument holds (0 when it holds none).
int Zahl(const QVariant& wert)
{
    return wert.toString().trimmed().toInt();
}

} // namespace

// Scans one address range at one baud rate through the name-bound driver (created when the
// window has none). A failure is left in m_scanFehler for the scan's end.
void frmMBustest::M_Bus_SuchenVonBisRac(const QVariant& port, const QVariant& baud,
                                        const QVariant& von, const QVariant& bis, QLabel*,
                                        int baudZeile)
{
    if (!RacServer()) {
        int nummer = 1;
        m_treiber.LoadMBusPovider(nummer);
    }
    MBusRacX4* rac = RacServer();
    if (!rac) {
        m_scanFehler =
            FehlerText.isEmpty() ? QStringLiteral("Kein Treiber ") + kTreiberRacX4 : FehlerText;
        return;
    }
    rac->setCOMTimeout(Zahl(m_ui.Text7[0]->text()));
    rac->setCOMTimeoutOffset(Zahl(m_ui.Text7[1]->text()));
    rac->setCOMTimeoutByte(Zahl(m_ui.Text7[2]->text()));
    rac->setCOMDeadtime(Zahl(m_ui.Text7[3]->text()));
    PrimaerScan scan(*m_ui.MSFlexGrid1, *m_ui.Grid1, scanAnzeige(baudZeile));
    const PrimaerScan::Ergebnis ergebnis =
        scan.ueberRac(*rac, Zahl(port), Zahl(baud), Zahl(von), Zahl(bis));
    if (!ergebnis.fehler.isEmpty())
        m_scanFehler = ergebnis.fehler;
}

// Scans one address range at one baud rate through the chosen driver: the name-bound one, or a
// new interface driver object of its own for this rate.
void frmMBustest::M_Bus_SuchenVonBis(const QVariant& port, const QVariant& baud,
                                     const QVariant& von, const QVariant& bis, QLabel*,
                                     int baudZeile)
{
    if (ProviderNr == 1) {
        M_Bus_SuchenVonBisRac(port, baud, von, bis, m_ui.Label3, baudZeile);
        return;
    }
    const std::unique_ptr<MBusTreiber> objekt = MBusObjektErzeugen(kTreiberOleAutoServer);
    IMBusOLEAutoServer* ole = objekt ? objekt->alsOleAutoServer() : nullptr;
    if (!ole) {
        m_scanFehler = FehlerText.isEmpty()
                           ? QStringLiteral("Kein Treiber ") + kTreiberOleAutoServer
                           : FehlerText;
        return;
    }
    // The scan's own port and rate; a port that does not open leaves every address silent.
    PortOk =
        MBusComPortSetzen(*ole, QStringLiteral("Com ") + QString::number(Zahl(port)), Zahl(baud));
    PrimaerScan scan(*m_ui.MSFlexGrid1, *m_ui.Grid1, scanAnzeige(baudZeile));
    const PrimaerScan::Ergebnis ergebnis = scan.ueberOle(*ole, Zahl(baud), Zahl(von), Zahl(bis));
    if (!ergebnis.fehler.isEmpty())
        m_scanFehler = ergebnis.fehler;
}

PrimaerScan::Anzeige frmMBustest::scanAnzeige(int baudZeile)
{
    QLabel* zeile = m_ui.Label4[static_cast<size_t>(qBound(1, baudZeile, 6) - 1)];
    QLabel* sekunden = m_ui.Label2[1];
    PrimaerScan::Anzeige anzeige;
    anzeige.zeile = [zeile](const QString& text) { zeile->setText(text); };
    anzeige.sekunden = [sekunden](const QString& text) { sekunden->setText(text); };
    anzeige.sucheStop = [this] { return SucheStop != 0; };
    anzeige.lesenLaeuft = [this] { return LesenLaeuft.toInt() != 0; };
    return anzeige;
}

void frmMBustest::scanKnoepfeSperren(bool sperren)
{
    for (QPushButton* knopf : {m_ui.cmdSekSuchenAlle, m_ui.Command1, m_ui.Command3, m_ui.Command4})
        knopf->setEnabled(!sperren);
}

void frmMBustest::M_Bus_AuslesenVonBis(const QVariant&, const QVariant&, const QVariant&,
                                       const QVariant&)
{
    // Speed test: reads the same meter again and again and counts the answers.
}

void frmMBustest::M_Bus_AuslesenRac(const QVariant&, const QVariant&, const QVariant&)
{
    // Reads one meter by primary address through the name-bound driver.
}

void frmMBustest::M_Bus_Auslesen(const QVariant&, const QVariant&, const QVariant&)
{
    // Reads one meter by primary address through the interface driver.
}

void frmMBustest::ImportGet(Recordset&, FlexGrid&, const QString&, const QString&)
{
    // Fills the defaults and the index template of a meter row being imported.
}

void frmMBustest::InitFlex3() {}

// Builds one ";"-joined line per row; nothing uses the lines.
void frmMBustest::ListeInGrid(const QList<QStringList>& feld)
{
    for (const QStringList& zeile : feld)
        [[maybe_unused]] const QString text = zeile.join(QLatin1Char(';'));
}

void frmMBustest::TarifeEinlesen(const QVariant&, FlexGrid&)
{
    // Fills the grid with the tariffs of one meter.
}

void frmMBustest::ErzeugeHexStream(const QString&, QString&)
{
    // Turns text into the display hex text of its character codes.
}

void frmMBustest::InitZaehlerListe(FlexGrid& grid)
{
    grid.AddItem(QString(), 1);
    grid.AddItem(QString(), 1);
    grid.setRows(2);
    grid.setCols(5);
    grid.setRow(0);
    grid.setCol(0);
    static const char* const kopf[] = {"Primär Adr.:", "Sekundär Adr.:", "Primär Adr.:", "Name",
                                       "Ort"};
    for (int spalte = 0; spalte < 5; ++spalte) {
        grid.setCol(spalte);
        grid.setText(QString::fromUtf8(kopf[spalte]));
    }
}

int frmMBustest::MBRac_SucheSekAdr(MBusRacX4*&, const QString&)
{
    // Probes one secondary-address mask: nobody, a collision, one meter read, or failure.
    return 0;
}

void frmMBustest::MBRacZaehlerInListeEintragen(MBusRacX4*&, FlexGrid&, const QVariant&)
{
    // Enters the meter read last into the scan grid, or adds the baud rate to its row.
}

void frmMBustest::MBRac_SucheSekAdrAlle(MBusRacX4*&, const QString&, int, QLabel*, const QVariant&)
{
    // Recursive secondary-address search from a mask and level.
}

void frmMBustest::MB_GetSuchstring(QString&, int, int)
{
    // Puts a digit into the search mask at the position of the level.
}

int frmMBustest::LeereMethode(const QVariant&, const QVariant&, const QVariant&, const QVariant&)
{
    return 0;
}

void frmMBustest::Combo3_Click()
{
    // Sets the search mask of the secondary search from the chosen level.
}

// Primary scan over the ticked baud rates, fastest first. However it ends (done, stopped, failed,
// program ending), the buttons and the mouse pointer come back; a failure goes to the log.
void frmMBustest::cmdSecPrimSuchen_Click()
{
    Programmende::Lauf lauf(m_ende);
    if (!lauf.gueltig())
        return;
    m_scanFehler.clear();
    m_ui.cmdSecPrimSuchen->setVisible(false);
    m_ui.cmdSecAdrStop->setVisible(true);
    scanKnoepfeSperren(true);
    SucheStop = 0;
    MauszeigerSetzen(vbArrowHourglass);
    PrimaerScan::ScanGridVorbereiten(*m_ui.MSFlexGrid1);
    FlexGridSpaltenbreiten(*m_ui.MSFlexGrid1);

    for (int i = 0; i < 6; ++i) {
        const auto stelle = static_cast<size_t>(i);
        m_ui.Label4[stelle]->setText(QString());
        if (!m_ui.Check1[stelle]->isChecked())
            continue;
        M_Bus_SuchenVonBis(m_ui.Text4->text(), m_ui.Check1[stelle]->text(),
                           m_ui.Text5[stelle]->text(), m_ui.Text6[stelle]->text(), m_ui.Label3,
                           i + 1);
        if (SucheStop != 0 || !m_scanFehler.isEmpty() || ProgrammEndet())
            break;
    }

    MauszeigerSetzen(vbDefault);
    if (MBusRacX4* rac = RacServer())
        rac->APPCloseCom();
    if (!m_scanFehler.isEmpty())
        LogSchreiben(m_scanFehler);
    cmdSecAdrStop_Click();
    FlexGridSpaltenbreiten(*m_ui.MSFlexGrid1);
    scanKnoepfeSperren(false);
}

void frmMBustest::cmdSecAdrStop_Click()
{
    m_ui.cmdSecPrimSuchen->setVisible(true);
    m_ui.cmdSecAdrStop->setVisible(false);
    SucheStop = 1;
}

void frmMBustest::cmdstartAuslesen_Click()
{
    // Reads one meter by primary address.
}

void frmMBustest::cmdSecLesen_Click()
{
    // Reads one meter by secondary address.
}

void frmMBustest::cmdAuslesen1bis50_Click()
{
    // Starts the speed test.
}

void frmMBustest::cmdStop_Click()
{
    // Stops the speed test.
}

void frmMBustest::cmdSekSuchenAlle_Click()
{
    // Secondary-address search over the ticked baud rates.
}

void frmMBustest::cmdSekSuchenAlleAbbrechen_Click()
{
    // Stops the secondary-address search.
}

void frmMBustest::cmd_AutoPrimaer_Click()
{
    // Gives every meter found a free primary address.
}

void frmMBustest::cmd_SetPrimSingle_Click()
{
    // Writes a new primary address into the single meter.
}

void frmMBustest::Command3_Click()
{
    // Enters the new address and baud rate into the picked row.
}

void frmMBustest::Command4_Click()
{
    // Writes the planned addresses and baud rates into the meters.
}

void frmMBustest::MSFlexGrid1_Click()
{
    // Offers the free primary addresses for the picked row.
}

void frmMBustest::Command2_Click()
{
    // Interprets the typed telegram.
}

void frmMBustest::MSFlexGrid1_DblClick()
{
    // Shows the telegram of the picked meter.
}

void frmMBustest::Text8_Change(int)
{
    // Computes the checksum of the short frame.
}

void frmMBustest::cmdMoWaehlen_Click()
{
    // Dials the modem.
}

void frmMBustest::cmdMoLesen_Click()
{
    // Searches the bus behind the modem by secondary address.
}

void frmMBustest::cmdMoAuflegen_Click()
{
    // Hangs up the modem.
}

void frmMBustest::cmdSpeichern_Click()
{
    // Saves the meters found to a list file.
}

void frmMBustest::cmdImporttxt_Click()
{
    // Loads a list file into the scan grid.
}

void frmMBustest::cmdImportListeAbbrechen_Click()
{
    // Closes the list of test files.
}

void frmMBustest::cmdZwischen_Click()
{
    // Copies the records grid to the clipboard.
}

void frmMBustest::Command1_Click()
{
    // Copies the scan grid to the clipboard.
}

void frmMBustest::File1_Click()
{
    // Loads the picked test file.
}

void frmMBustest::File1_DblClick() {}

void frmMBustest::cmdImport_Click()
{
    // Imports the meters of the scan grid into the meter database.
}

void frmMBustest::cmdImportIndexe_Click()
{
    // Imports the index list of the meter read.
}

void frmMBustest::cmdImportAlleIndexe_Click()
{
    // Imports the index lists of every meter listed.
}

void frmMBustest::cmdDatenbankEintrag_Click()
{
    // Stores the meter read in the meter database.
}
