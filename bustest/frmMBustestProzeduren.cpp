// Public procedures of the test window in slot order, and the handlers whose work the scan,
// read-out, search, writing, telegram, modem, list-file and import parts of the window add.

#include "frmMBustest.h"

#include "grid/FlexGrid.h"

void frmMBustest::M_Bus_SuchenVonBisRac(const QVariant&, const QVariant&, const QVariant&,
                                        const QVariant&, QLabel*, int)
{
    // Scans one address range at one baud rate through the name-bound driver.
}

void frmMBustest::M_Bus_SuchenVonBis(const QVariant&, const QVariant&, const QVariant&,
                                     const QVariant&, QLabel*, int)
{
    // Scans one address range at one baud rate through the chosen driver.
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

void frmMBustest::cmdSecPrimSuchen_Click()
{
    // Primary scan over the ticked baud rates.
}

void frmMBustest::cmdSecAdrStop_Click()
{
    // Stops the primary scan.
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
