// The commissioning part of the test window: writing addresses and baud rates, loading a list
// file, and the imports into the meter database. The work is done by ParameterSchreiben,
// ZaehlerListeDatei and DatenbankImport; this file connects them with the controls.

#include "frmMBustest.h"

#include "Auslesen.h"
#include "DatenbankImport.h"
#include "ParameterSchreiben.h"
#include "TestfensterRegeln.h"
#include "ZaehlerListeDatei.h"
#include "database/BasisMdb.h"
#include "database/Recordset.h"
#include "driver/ProviderListe.h"
#include "driver/faces/MBusObjektErzeugen.h"
#include "driver/faces/MBusRacX4.h"
#include "grid/GridHilfen.h"
#include "log/Log.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "platform/Pfad.h"
#include "platform/Uhr.h"
#include "platform/Warten.h"
#include "serial/ComZuordnung.h"
#include "text/Texte.h"
#include "ui/FlexGridWidget.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>

namespace {

// The port or rate a box holds: its first digits, also in a taken port's "(3)"; 0 for none.
int Zahl(const QString& text)
{
    static const QRegularExpression kZiffern(QStringLiteral("[0-9]{1,6}"));
    return kZiffern.match(text).captured().toInt();
}

} // namespace

// Writes the address box's primary address into the meter of the ID box, through a name-bound
// driver of its own on the single-meter port and rate. Boxes without a port or a rate send
// nothing and say which is missing.
void frmMBustest::primaerAdresseEinzelnSchreiben()
{
    int adresse = 0;
    if (!ParameterSchreiben::AdresseGueltig(m_ui.Text1[0]->text(), adresse)) {
        MsgBox(ParameterSchreiben::kWertUngueltig);
        return;
    }
    const int port = Zahl(m_ui.Combo7->currentText());
    const int baud = Zahl(m_ui.Combo8->currentText());
    const bool portGueltig = port >= kErsterComPort && port <= kLetzterComPort;
    if (!portGueltig || baud == 0) {
        MsgBox(portGueltig ? kBaudUngueltig : kComPortUngueltig);
        return;
    }
    Programmende::Lauf lauf(m_ende);
    if (!lauf.gueltig())
        return;
    MauszeigerSetzen(vbArrowHourglass);
    const std::unique_ptr<MBusTreiber> objekt = MBusObjektErzeugen(kTreiberRacX4);
    MBusRacX4* rac = objekt ? objekt->alsRacX4() : nullptr;
    const int ergebnis = rac ? ParameterSchreiben::Einzeln(*rac, port, baud, m_ui.Text2[4]->text(),
                                                           m_ui.Text1[0]->text())
                             : ParameterSchreiben::kAbgewiesen;
    MauszeigerSetzen(vbDefault);
    // A write cut short by the end of the program has no outcome to show.
    if (!ProgrammEndet())
        MsgBox(ergebnis == 0 ? QStringLiteral("Erfolgreich gesendet!")
                             : QStringLiteral("Nicht erfolgreich gesendet!"));
}

// "Parameter schreiben" writes the planned values of the list; while it runs the button reads
// "Abbrechen" and stops the writing after the part running. Without a port in the port box
// nothing is written, so that the planned values stay for a second try.
void frmMBustest::parameterListeSchreiben()
{
    const QString schreiben = QStringLiteral("Parameter schreiben");
    if (m_ui.Command4->text() != schreiben) {
        m_ui.Command4->setText(schreiben);
        ParameterStop = 1;
        return;
    }
    Programmende::Lauf lauf(m_ende);
    if (!lauf.gueltig())
        return;
    const int port = Zahl(m_ui.Combo4->currentText());
    if (port < kErsterComPort || port > kLetzterComPort) {
        MsgBox(kComPortUngueltig);
        return;
    }
    ParameterStop = 0;
    m_ui.Command4->setText(QStringLiteral("Abbrechen"));
    MauszeigerSetzen(vbArrowHourglass);
    const std::unique_ptr<MBusTreiber> objekt = MBusObjektErzeugen(kTreiberRacX4);
    if (MBusRacX4* rac = objekt ? objekt->alsRacX4() : nullptr) {
        ParameterSchreiben schreiber(*m_ui.MSFlexGrid1, [this] { return ParameterStop != 0; });
        schreiber.Liste(*rac, port);
    } else {
        LogSchreiben(FehlerText.isEmpty() ? QStringLiteral("Kein Treiber ") + kTreiberRacX4
                                          : FehlerText);
    }
    m_ui.Command4->setText(schreiben);
    MauszeigerSetzen(vbDefault);
}

// Loads the picked list file into the scan grid and the index import list beside it; the port
// box takes the port of the file's name. A file that cannot be loaded or holds no list (an empty
// file, a settings file) changes nothing and says why: grid, index import list and port box
// stay, so that a following import stores the grid it shows under the port it belongs to. An
// index import list that is there but cannot be read is named; the list loads without it.
// While a loop of the window works through the scan grid (writing, batch import, search) the
// grid is not replaced under it.
void frmMBustest::listeLaden()
{
    const QListWidgetItem* eintrag = m_ui.File1->currentItem();
    if (!eintrag)
        return;
    const QString datei = eintrag->text();
    QString fehler;
    {
        const Programmende::Lauf lauf(m_ende);
        if (!lauf.gueltig())
            return;
        MauszeigerSetzen(vbHourglass);
        QList<QStringList> zeilen;
        if (ZaehlerListeDatei::ListeLesen(datei, zeilen, fehler)) {
            ZaehlerListeDatei::InGrid(*m_ui.MSFlexGrid1, zeilen);
            FlexGridSpaltenbreiten(*m_ui.MSFlexGrid1);
            m_listenDatei = datei;
            m_listenAbdruck = ZaehlerListeDatei::Fingerabdruck(*m_ui.MSFlexGrid1, 6);
            QList<QStringList> vorlage;
            QString ohneVorlage;
            if (!ZaehlerListeDatei::Lesen(ZaehlerListeDatei::kIndexListe, QStringLiteral(";"),
                                          vorlage, ohneVorlage) &&
                QFileInfo::exists(PfadAufloesen(ZaehlerListeDatei::kIndexListe)))
                fehler = ohneVorlage +
                         QStringLiteral(" Die Zählerliste wurde ohne Index-Importliste geladen "
                                        "(der Import setzt dann nur die Vorgabewerte).");
            ZaehlerListeDatei::InGrid(*m_ui.MSFlexGrid3, vorlage);
            Text4Setzen(QString::number(ZaehlerListeDatei::PortAusDateiname(datei)));
        }
        MauszeigerSetzen(vbDefault);
    }
    if (!fehler.isEmpty())
        MsgBox(fehler);
}

// Imports the scan list into the meter database, for the port of the list file while the grid
// still holds that file, else for the port box's port. Rows whose address was not stored,
// addresses shared by several meters of the list and rows of the index import list that cannot
// serve as a template are named afterwards (the meters they would match keep defaults).
void frmMBustest::listeImportieren()
{
    QString fehler;
    DatenbankImport::ListenBericht bericht;
    {
        // Not while a scan or search is still filling the grid.
        const Programmende::Lauf lauf(m_ende);
        if (!lauf.gueltig())
            return;
        const bool dateiListe =
            !m_listenAbdruck.isEmpty() &&
            m_listenAbdruck == ZaehlerListeDatei::Fingerabdruck(*m_ui.MSFlexGrid1, 6);
        int port = dateiListe ? ZaehlerListeDatei::PortAusDateiname(m_listenDatei) : 0;
        if (port != 0)
            Text4Setzen(QString::number(port));
        else
            port = ZaehlerListeDatei::PortZahl(m_ui.Text4->text());
        if (port == 0)
            return;
        MauszeigerSetzen(vbHourglass);
        DoEvents();
        const DatenbankSitzung sitzung;
        if (!sitzung.offen() ||
            DatenbankImport::ListeImportieren(*Datenbank, *m_ui.MSFlexGrid1, *m_ui.MSFlexGrid3,
                                              port, fehler, &bericht) < 0)
            fehler = QStringLiteral("Import Liste: ") + (sitzung.offen() ? fehler : FehlerText);
        MauszeigerSetzen(vbDefault);
    }
    // An import cut short by the end of the program has nothing to show.
    if (ProgrammEndet())
        return;
    if (fehler.isEmpty()) {
        QStringList hinweise = {bericht.Meldung(),
                                DatenbankImport::VorlageMaengel(*m_ui.MSFlexGrid3)};
        hinweise.removeAll(QString());
        fehler = hinweise.join(u'\n');
    }
    if (!fehler.isEmpty())
        MsgBox(fehler);
}

// Reads every listed meter once (port box, first rate of its row) and imports its records; the
// run's own "Imp Idx" column shows "Ok" or "Fehler". The scan's stop button ends it. Without a
// port in the port box or without the meter database nothing is read (the read boxes would keep
// an earlier port); a port that does not open ends the run after its message, instead of
// repeating it for every meter.
void frmMBustest::alleIndexeImportieren()
{
    Programmende::Lauf lauf(m_ende);
    if (!lauf.gueltig())
        return;
    QVariant port;
    QVariant rate;
    if (BlanksTrimmen(m_ui.Text4->text()).isEmpty() ||
        !PortParameterLesen(m_ui.Text4->text(), QString(), port, rate)) {
        MsgBox(kComPortUngueltig);
        return;
    }
    // Every import of the run needs the meter database: without it no meter is read.
    if (!DatenbankSitzung().offen()) {
        MsgBox(QStringLiteral("Import Idx ") + FehlerText);
        return;
    }
    FlexGridWidget& grid = *m_ui.MSFlexGrid1;
    if (!grid.setCols(grid.Cols() + 1))
        return;
    const int spalte = grid.Cols() - 1;
    grid.setTextMatrix(0, spalte, QStringLiteral("Imp Idx"));
    SucheStop = 0;
    m_ui.cmdSecPrimSuchen->setVisible(false);
    m_ui.cmdSecAdrStop->setVisible(true);
    for (int zeile = 1; zeile < grid.Rows() && SucheStop == 0 && !ProgrammEndet(); ++zeile) {
        if (grid.TextMatrix(zeile, 1).isEmpty() || grid.TextMatrix(zeile, 0).isEmpty())
            continue;
        grid.setRow(zeile);
        Text1Setzen(0, grid.TextMatrix(zeile, 0).trimmed());
        Text1Setzen(1, m_ui.Text4->text());
        Text1Setzen(2, ParameterSchreiben::ErsteBaud(grid.TextMatrix(zeile, 6)));
        grid.setTextMatrix(zeile, spalte, QStringLiteral("Fehler"));
        int adresse = 0;
        m_ui.Text2[0]->clear();
        PortOk = Auslesen::PrimaerAdresseGueltig(m_ui.Text1[0]->text(), adresse) &&
                 adresse != 253 && GetPortParameter(PortWert, BaudWert);
        if (PortOk) {
            ZaehlerPrimAdr = static_cast<qint16>(adresse);
            M_Bus_Auslesen(ZaehlerPrimAdr, PortWert, BaudWert);
            if (!PortOk || !m_leseErgebnis.portOffen)
                break;
        }
        einzelLeseMerken();
        indexeImportieren(spalte, zeile);
    }
    cmdSecAdrStop_Click();
}

// The records grid holds one meter's records only right after its read by primary address.
void frmMBustest::einzelLeseMerken()
{
    const bool gelesen = !m_ui.Text2[0]->text().isEmpty();
    m_gelesenAbdruck = gelesen ? ZaehlerListeDatei::Fingerabdruck(*m_ui.Grid1, 4) : QByteArray();
    m_gelesenAdresse = m_ui.Text1[0]->text().trimmed();
    m_gelesenPort = ZaehlerListeDatei::PortZahl(m_ui.Text1[1]->text());
    m_ui.cmdImportIndexe->setVisible(gelesen);
}

// The records of the meter read last become its index list; with a mark column (the batch) the
// row's cell there gets "Ok" once the list is stored.
void frmMBustest::indexeImportieren(int markeSpalte, int zeile)
{
    const int port = ZaehlerListeDatei::PortZahl(m_ui.Text1[1]->text());
    const QString adresse = m_ui.Text1[0]->text().trimmed();
    if (port == 0 || m_ui.Text2[0]->text().isEmpty() || adresse == QStringLiteral("253") ||
        m_gelesenAbdruck.isEmpty() || adresse != m_gelesenAdresse || port != m_gelesenPort ||
        m_gelesenAbdruck != ZaehlerListeDatei::Fingerabdruck(*m_ui.Grid1, 4))
        return;
    MauszeigerSetzen(vbHourglass);
    QString meldung;
    auto ergebnis = DatenbankImport::Ergebnis::Fehler;
    {
        const DatenbankSitzung sitzung;
        if (!sitzung.offen())
            meldung = QStringLiteral("Import Idx ") + FehlerText;
        else
            ergebnis = DatenbankImport::IndexeImportieren(*Datenbank, *m_ui.Grid1, port, adresse,
                                                          zeile, meldung);
    }
    MauszeigerSetzen(vbDefault);
    if (ergebnis == DatenbankImport::Ergebnis::Ok && markeSpalte >= 0)
        m_ui.MSFlexGrid1->setTextMatrix(zeile, markeSpalte, QStringLiteral("Ok"));
    else if (ergebnis == DatenbankImport::Ergebnis::NichtGefunden)
        MsgBox(DatenbankImport::kNichtGefunden);
    else if (ergebnis == DatenbankImport::Ergebnis::Fehler)
        MsgBox(meldung);
}

// Without a current row the recordset is taken to be adding one.
void frmMBustest::ImportGet(Recordset& zaehler, FlexGrid& grid, const QString& hersteller,
                            const QString& medium)
{
    DatenbankImport::ImportGet(zaehler, zaehler.Bof() || zaehler.Eof(), grid, hersteller, medium);
}

void frmMBustest::TarifeEinlesen(const QVariant& lznr, FlexGrid& grid)
{
    const DatenbankSitzung sitzung;
    if (sitzung.offen())
        DatenbankImport::TarifeEinlesen(*Datenbank, lznr.toLongLong(), grid);
}

void frmMBustest::cmd_AutoPrimaer_Click()
{
    const Programmende::Lauf lauf(m_ende);
    if (lauf.gueltig())
        ParameterSchreiben::AutoPrimaer(*m_ui.MSFlexGrid1);
}

void frmMBustest::cmd_SetPrimSingle_Click()
{
    primaerAdresseEinzelnSchreiben();
}

// Plans the combos' values for the picked row; an address another listed meter has or is to
// get is refused with its name, and nothing is planned.
void frmMBustest::Command3_Click()
{
    FlexGrid& grid = *m_ui.MSFlexGrid1;
    const QString belegt =
        ParameterSchreiben::AdresseBelegt(grid, grid.Row(), m_ui.Combo5->currentText());
    if (!belegt.isEmpty()) {
        MsgBox(belegt);
        return;
    }
    ParameterSchreiben::Eintragen(grid, grid.Row(), m_ui.Combo5->currentText(),
                                  m_ui.Combo6->currentText());
}

void frmMBustest::Command4_Click()
{
    parameterListeSchreiben();
}

void frmMBustest::MSFlexGrid1_Click()
{
    FlexGrid& grid = *m_ui.MSFlexGrid1;
    const int zeile = grid.Row();
    const QString aktuell = grid.TextMatrix(zeile, ParameterSchreiben::kSpalteAdresse);
    if (!ParameterSchreiben::IstZahl(aktuell)) {
        m_ui.Combo5->clear();
        return;
    }
    ParameterSchreiben::FreiePrimAdrInCombo(
        *m_ui.Combo5, aktuell, grid, *m_ui.Combo6,
        grid.TextMatrix(zeile, ParameterSchreiben::kSpalteBaud));
}

// Saves the scan grid and the records grid as list files into the current folder; not while a
// scan, search or read is still filling them.
void frmMBustest::cmdSpeichern_Click()
{
    ZaehlerListeDatei::Namen namen;
    bool gespeichert = false;
    {
        const Programmende::Lauf lauf(m_ende);
        if (!lauf.gueltig())
            return;
        gespeichert =
            ZaehlerListeDatei::Speichern(*m_ui.MSFlexGrid1, *m_ui.Grid1, Jetzt(),
                                         ZaehlerListeDatei::PortZahl(m_ui.Text4->text()), namen);
    }
    if (gespeichert)
        MsgBox(QDir::currentPath() + QStringLiteral("/Tabelle wurde gespeichert : ") +
               namen.satzListe);
}

void frmMBustest::cmdImporttxt_Click()
{
    m_ui.Frame11->setVisible(true);
    m_ui.Frame11->raise();
    m_ui.File1->clear();
    m_ui.File1->addItems(QDir::current().entryList(QDir::Files, QDir::Name));
}

void frmMBustest::cmdImportListeAbbrechen_Click()
{
    m_ui.Frame11->setVisible(false);
}

// The records grid to the clipboard; not while a scan or read is still filling it.
void frmMBustest::cmdZwischen_Click()
{
    const Programmende::Lauf lauf(m_ende);
    if (!lauf.gueltig())
        return;
    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setText(ZaehlerListeDatei::Zwischenablage(*m_ui.Grid1));
}

void frmMBustest::Command1_Click()
{
    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setText(ZaehlerListeDatei::Zwischenablage(*m_ui.MSFlexGrid1));
}

void frmMBustest::File1_Click()
{
    listeLaden();
}

void frmMBustest::File1_DblClick() {}

void frmMBustest::cmdImport_Click()
{
    listeImportieren();
}

void frmMBustest::cmdImportIndexe_Click()
{
    indexeImportieren(-1, m_ui.MSFlexGrid1->Row());
}

void frmMBustest::cmdImportAlleIndexe_Click()
{
    alleIndexeImportieren();
}

void frmMBustest::cmdDatenbankEintrag_Click()
{
    // Without function: the button is never shown. The scan list goes into the meter database
    // through "Import Liste in DB", a read meter's records through "Import Index".
}
