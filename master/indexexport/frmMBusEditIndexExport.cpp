#include "frmMBusEditIndexExport.h"

#include "Zelleneditor.h"
#include "database/DaoTabellen.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "platform/Pfad.h"
#include "settings/Einstellungen.h"
#include "settings/IniDatei.h"
#include "ui/FlexGridWidget.h"
#include "zugang/UserConfig.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>

namespace {

const QString kTitel = QStringLiteral("MBus Indexexport");

void Melden(const QString& text)
{
    MsgBox(text, vbExclamation, kTitel);
}

} // namespace

frmMBusEditIndexExport::frmMBusEditIndexExport(std::unique_ptr<IndexExportDaten> daten,
                                               QWidget* parent)
    : QMainWindow(parent), m_daten(daten ? std::move(daten) : std::make_unique<IndexExportDaten>()),
      m_ui(IndexExportAufbauen(*this))
{
    auto& e = m_ui;
    connect(e.cmdAendern, &QPushButton::clicked, this, &frmMBusEditIndexExport::cmdAendern_Click);
    connect(e.cmdLoeschen, &QPushButton::clicked, this, &frmMBusEditIndexExport::cmdLoeschen_Click);
    connect(e.cmdZwischen, &QPushButton::clicked, this, &frmMBusEditIndexExport::cmdZwischen_Click);
    connect(e.cmdClose, &QPushButton::clicked, this, &frmMBusEditIndexExport::cmdClose_Click);
    connect(e.cmdNeu, &QPushButton::clicked, this, &frmMBusEditIndexExport::cmdNeu_Click);
    connect(e.cmdSpeichern, &QPushButton::clicked, this,
            &frmMBusEditIndexExport::cmdSpeichern_Click);
    connect(e.cmdLoeschenausfuehren, &QPushButton::clicked, this,
            &frmMBusEditIndexExport::cmdLoeschenausfuehren_Click);
    connect(e.cmdAbbrechen, &QPushButton::clicked, this,
            &frmMBusEditIndexExport::cmdAbbrechen_Click);
    connect(e.Text3, &QLineEdit::textChanged, this, &frmMBusEditIndexExport::Text3_Change);
    connect(e.Text4, &QLineEdit::textChanged, this, &frmMBusEditIndexExport::Text4_Change);
    connect(e.MSFlexGrid1, &FlexGridWidget::doppelGeklickt, this,
            &frmMBusEditIndexExport::MSFlexGrid1_DblClick);
    connect(e.MSFlexGrid1, &FlexGridWidget::geklickt, this,
            &frmMBusEditIndexExport::MSFlexGrid1_SelChange);
    connect(e.MSFlexGrid2, &FlexGridWidget::zelleBetreten, this,
            &frmMBusEditIndexExport::MSFlexGrid2_EnterCell);
    connect(e.MSFlexGrid2, &FlexGridWidget::geklickt, this,
            &frmMBusEditIndexExport::MSFlexGrid2_EnterCell);
    connect(e.MSFlexGrid2, &FlexGridWidget::gescrollt, this,
            &frmMBusEditIndexExport::MSFlexGrid2_Scroll);
    connect(e.Text2, &Zelleneditor::tasteGedrueckt, this, &frmMBusEditIndexExport::Text2_KeyDown);
    connect(e.Text2, &Zelleneditor::verlassen, this, &frmMBusEditIndexExport::Text2_LostFocus);
    Form_Load();
}

frmMBusEditIndexExport::~frmMBusEditIndexExport() = default;

void frmMBusEditIndexExport::InitGridIndex(FlexGrid& grid)
{
    ::InitGridIndex(grid);
}

void frmMBusEditIndexExport::InitGrid(FlexGrid& grid)
{
    ::InitGrid(grid);
}

bool frmMBusEditIndexExport::MBusIndexListeLaden(qint32 lznr)
{
    auto& e = m_ui;
    for (QLineEdit* box : e.Text1)
        box->clear();
    editorSchliessen();
    ZaehlerKopf kopf;
    QList<IndexExportZeile> zeilen;
    const bool ok = m_daten->ZaehlerLaden(lznr, kopf, zeilen);
    e.Text1[0]->setText(kopf.znr);
    e.Text1[1]->setText(kopf.zname);
    e.Text1[2]->setText(kopf.mbAdr);
    IndexZeilenZeigen(*e.MSFlexGrid2, zeilen);
    if (!ok)
        Melden(QStringLiteral("Der Zähler %1 konnte nicht aus der Datenbank %2 gelesen werden:\n")
                   .arg(lznr)
                   .arg(m_daten->DatenbankName()) +
               FehlerText);
    return ok;
}

void frmMBusEditIndexExport::ListeLaden()
{
    QList<QStringList> liste;
    if (!m_daten->ZaehlerListeLaden(liste)) {
        Melden(QStringLiteral("Die Zählerliste konnte nicht aus der Datenbank %1 gelesen werden:\n")
                   .arg(m_daten->DatenbankName()) +
               FehlerText);
        liste.clear();
    }
    ZaehlerListeZeigen(*m_ui.MSFlexGrid1, liste);
}

bool frmMBusEditIndexExport::IndexSpeichern(qint32 lznr, FlexGrid& grid)
{
    const QList<IndexExportZeile> zeilen = IndexZeilenAusGrid(grid);
    // A row without a usable index would lose its text without a word.
    const QStringList ungueltig = UngueltigeIndexe(zeilen);
    if (!ungueltig.isEmpty()) {
        Melden(QStringLiteral("Die Indexliste des Zählers %1 wurde nicht gespeichert, ein Index "
                              "muss eine ganze Zahl ab 0 sein und eine Zeile mit Text braucht "
                              "einen Index (eine ganz leere Zeile entfällt):\n")
                   .arg(lznr) +
               ungueltig.join(u'\n'));
        return false;
    }
    if (m_daten->IndexSpeichern(lznr, zeilen) < 0) {
        Melden(QStringLiteral("Die Indexliste des Zählers %1 wurde nicht gespeichert, die "
                              "gespeicherte Liste bleibt unverändert:\n")
                   .arg(lznr) +
               FehlerText);
        return false;
    }
    bearbeitungZeigen(false);
    return true;
}

void frmMBusEditIndexExport::Form_Load()
{
    auto& e = m_ui;
    Sanduhr sanduhr;
    show();
    DBPath = Programmordner() + u'/';
    KommandozeileAuswerten();
    ZEPIniLesen(QStringLiteral(".\\zep.ini"));
    e.Label4[0]->setText(m_daten->DatenbankName());
    e.Label4[1]->setText(DatenPath + QStringLiteral("yymmddmb.txt"));
    e.Text3->setText(IniLesen(Mandant, QStringLiteral("MBusExportIndexDatei"), kZepIni));
    e.Text4->setText(IniLesen(Mandant, QStringLiteral("VorWert"), kZepIni));
    if (e.Text3->text().isEmpty())
        e.Text3->setText(DatenPath);
    ListeLaden();
    InitGridIndex(*e.MSFlexGrid2);
    e.MSFlexGrid1->setRow(1);
    MSFlexGrid1_SelChange();
    if (m_daten->istBasisMdb())
        IndexListeTabelleAnlegen();
    // An older database lacks the editor's own table; a failure shows when a meter is opened.
    m_daten->TabelleSicherstellen();
}

bool frmMBusEditIndexExport::zaehlerOeffnen()
{
    const FlexGridWidget& liste = *m_ui.MSFlexGrid1;
    // a list without meters has no number to open
    const std::optional<int> lznr = ZaehlerNummer(liste, liste.Row());
    if (!lznr)
        return false;
    m_zaehler = *lznr;
    m_ui.MSFlexGrid2->setRow(1);
    m_ui.MSFlexGrid2->setCol(kIndexSpalte);
    if (!MBusIndexListeLaden(*lznr)) {
        // nothing half-loaded may be saved over the meter's rows
        bearbeitungZeigen(false);
        return false;
    }
    m_ui.Label5->setText(QString::number(*lznr));
    bearbeitungZeigen(true);
    return true;
}

void frmMBusEditIndexExport::cmdAendern_Click()
{
    m_ui.cmdSpeichern->show();
    m_ui.cmdLoeschenausfuehren->hide();
    if (!zaehlerOeffnen())
        return;
    m_letzteZeile = -1;
    MSFlexGrid2_EnterCell();
}

void frmMBusEditIndexExport::MSFlexGrid1_DblClick()
{
    cmdAendern_Click();
}

void frmMBusEditIndexExport::MSFlexGrid1_SelChange()
{
    ZeileMarkieren(*m_ui.MSFlexGrid1);
}

// The edit frame shows the selected meter itself, so that a save after "Löschen" can only
// store what was shown for that meter.
void frmMBusEditIndexExport::cmdLoeschen_Click()
{
    if (!zaehlerOeffnen())
        return;
    m_ui.cmdSpeichern->hide();
    m_ui.cmdLoeschenausfuehren->show();
}

// Deleting a meter is not settled: the button only leads back to saving.
void frmMBusEditIndexExport::cmdLoeschenausfuehren_Click()
{
    m_ui.cmdSpeichern->show();
    m_ui.cmdLoeschenausfuehren->hide();
}

void frmMBusEditIndexExport::cmdAbbrechen_Click()
{
    editorSchliessen();
    bearbeitungZeigen(false);
    m_ui.cmdSpeichern->show();
    m_ui.cmdLoeschenausfuehren->hide();
}

void frmMBusEditIndexExport::cmdSpeichern_Click()
{
    if (!m_zaehler || !bearbeitungSichtbar())
        return;
    Sanduhr sanduhr;
    editorUebernehmen();
    if (IndexSpeichern(*m_zaehler, *m_ui.MSFlexGrid2))
        editorSchliessen();
}

void frmMBusEditIndexExport::cmdNeu_Click()
{
    FlexGridWidget& grid = *m_ui.MSFlexGrid2;
    grid.setRows(grid.Rows() + 1);
}

void frmMBusEditIndexExport::cmdZwischen_Click()
{
    FlexGridWidget& grid = *m_ui.MSFlexGrid1;
    grid.setRow(0);
    grid.setCol(0);
    grid.setRowSel(grid.Rows() - 1);
    grid.setColSel(grid.Cols() - 1);
    QGuiApplication::clipboard()->setText(ZwischenablageText(grid));
}

void frmMBusEditIndexExport::cmdClose_Click()
{
    close();
}

void frmMBusEditIndexExport::Text3_Change()
{
    einstellungSchreiben(QStringLiteral("MBusExportIndexDatei"), m_ui.Text3->text());
}

void frmMBusEditIndexExport::Text4_Change()
{
    einstellungSchreiben(QStringLiteral("VorWert"), m_ui.Text4->text());
}

// Without a client number there is no section to write to (the start-up said so already). A
// file that cannot be written is reported once, not on every keystroke, until writing works.
void frmMBusEditIndexExport::einstellungSchreiben(const QString& schluessel, const QString& wert)
{
    if (Mandant.isEmpty())
        return;
    if (ProfilSchreiben(Mandant, schluessel, wert, kZepIni)) {
        m_einstellungFehlerGemeldet = false;
        return;
    }
    if (m_einstellungFehlerGemeldet)
        return;
    m_einstellungFehlerGemeldet = true;
    Melden(QStringLiteral("Die Einstellung %1 konnte nicht gespeichert werden (%2).")
               .arg(schluessel, PfadAufloesen(kZepIni)));
}

void frmMBusEditIndexExport::MSFlexGrid2_EnterCell()
{
    if (m_beschaeftigt || !bearbeitungSichtbar())
        return;
    m_beschaeftigt = true;
    const FlexGridWidget& grid = *m_ui.MSFlexGrid2;
    const bool verschoben = grid.Row() != m_letzteZeile || grid.Col() != m_letzteSpalte;
    if ((verschoben || !m_editorZelle) && grid.Row() >= 1 && grid.Col() >= 1) {
        editorUebernehmen();
        m_letzteZeile = grid.Row();
        m_letzteSpalte = grid.Col();
        PlaceCellEditor();
        m_ui.Text2->show();
        m_ui.Text2->setFocus();
    }
    m_beschaeftigt = false;
}

void frmMBusEditIndexExport::MSFlexGrid2_Scroll()
{
    if (m_beschaeftigt || !m_editorZelle)
        return;
    editorUebernehmen();
    FlexGridWidget& grid = *m_ui.MSFlexGrid2;
    m_ui.Text2->ueberZelleLegen(grid);
    // a cell scrolled out of sight takes its editor with it (its text is in the cell)
    if (!grid.viewport()->geometry().intersects(grid.zellenRechteck()))
        m_ui.Text2->hide();
}

void frmMBusEditIndexExport::Text2_KeyDown(EditorTaste taste)
{
    FlexGridWidget& grid = *m_ui.MSFlexGrid2;
    editorUebernehmen();
    const Zelle von = m_editorZelle.value_or(Zelle{grid.Row(), grid.Col()});
    const Zelle nach = NaechsteZelle(taste, von, grid.Rows(), grid.Cols());
    m_beschaeftigt = true; // one move, not a row step and a column step
    grid.setRow(nach.zeile);
    grid.setCol(nach.spalte);
    m_beschaeftigt = false;
    MSFlexGrid2_EnterCell();
}

void frmMBusEditIndexExport::Text2_LostFocus()
{
    if (!m_editorZelle)
        return;
    editorUebernehmen();
    MSFlexGrid2_EnterCell();
    editorSchliessen();
}

bool frmMBusEditIndexExport::bearbeitungSichtbar() const
{
    return m_ui.rahmen->currentWidget() == m_ui.Frame2;
}

void frmMBusEditIndexExport::PlaceCellEditor()
{
    FlexGridWidget& grid = *m_ui.MSFlexGrid2;
    // rows scroll into view; a column already in view stays where it is, even when it reaches
    // past the right edge
    QScrollBar& waagerecht = *grid.horizontalScrollBar();
    const int vorher = waagerecht.value();
    grid.scrollTo(grid.currentIndex());
    const int nachher = waagerecht.value();
    waagerecht.setValue(vorher);
    const int links = grid.columnViewportPosition(grid.Col());
    if (links < 0 || links >= grid.viewport()->width())
        waagerecht.setValue(nachher);
    m_editorZelle = Zelle{grid.Row(), grid.Col()};
    m_ui.Text2->setText(grid.Text());
    m_ui.Text2->ueberZelleLegen(grid);
    m_ui.Text2->raise();
}

void frmMBusEditIndexExport::editorUebernehmen()
{
    if (m_editorZelle)
        m_ui.MSFlexGrid2->setTextMatrix(m_editorZelle->zeile, m_editorZelle->spalte,
                                        m_ui.Text2->text());
}

void frmMBusEditIndexExport::editorSchliessen()
{
    m_editorZelle.reset();
    m_letzteZeile = -1;
    m_letzteSpalte = -1;
    m_ui.Text2->hide();
}

void frmMBusEditIndexExport::bearbeitungZeigen(bool zeigen)
{
    if (!zeigen)
        editorSchliessen();
    m_ui.rahmen->setCurrentWidget(zeigen ? m_ui.Frame2 : m_ui.Frame1);
}
