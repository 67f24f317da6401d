// The public procedures and handlers of the parts of the test window that are not built yet:
// address and baud-rate writing, list files and database import. Each does nothing so far.

#include "frmMBustest.h"

void frmMBustest::ImportGet(Recordset&, FlexGrid&, const QString&, const QString&)
{
    // Fills the defaults and the index template of a meter row being imported.
}

void frmMBustest::TarifeEinlesen(const QVariant&, FlexGrid&)
{
    // Fills the grid with the tariffs of one meter.
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
