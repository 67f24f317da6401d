#pragma once
// "MBus Indexexport": the client's M-Bus meters and, per meter, the list of data-record indexes
// to export with a free text each (table MBusIndexListe), and the two settings of the index
// export in the client's section of ZEP.INI. The list frame and the edit frame share one
// place; the index list is edited in its grid through a text box laid over the current cell.

#include "IndexExportDaten.h"
#include "IndexExportRaster.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <optional>

class FlexGrid;
class FlexGridWidget;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class Zelleneditor;

// The controls of the window, by their names.
struct IndexExportElemente
{
    QStackedWidget* rahmen = nullptr; // Frame1 and Frame2 in one place
    QWidget* Frame1 = nullptr;
    QWidget* Frame2 = nullptr;

    FlexGridWidget* MSFlexGrid1 = nullptr;
    QPushButton* cmdAendern = nullptr;
    QPushButton* cmdLoeschen = nullptr;
    QPushButton* cmdZwischen = nullptr;
    QPushButton* cmdClose = nullptr;
    QLabel* Label2 = nullptr;
    std::array<QLabel*, 2> Label4{};
    std::array<QLabel*, 2> Label3{};
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text4 = nullptr;

    std::array<QLabel*, 6> Label1{}; // 0, 1 and 5 are used
    std::array<QLineEdit*, 3> Text1{};
    QLabel* Label5 = nullptr;
    FlexGridWidget* MSFlexGrid2 = nullptr;
    Zelleneditor* Text2 = nullptr;
    QPushButton* cmdNeu = nullptr;
    QPushButton* cmdSpeichern = nullptr;
    QPushButton* cmdLoeschenausfuehren = nullptr;
    QPushButton* cmdAbbrechen = nullptr;
};

// Builds the controls into the window (IndexExportAufbau.cpp).
IndexExportElemente IndexExportAufbauen(QMainWindow& fenster);

class frmMBusEditIndexExport : public QMainWindow
{
    Q_OBJECT

public:
    // Builds the window on basis.mdb in DBPath, or on the given data (a server database), and
    // runs its loading step, which shows it.
    explicit frmMBusEditIndexExport(std::unique_ptr<IndexExportDaten> daten = nullptr,
                                    QWidget* parent = nullptr);
    ~frmMBusEditIndexExport() override;

    // Public operations, in their order.
    void InitGridIndex(FlexGrid& grid);
    void InitGrid(FlexGrid& grid);
    // Loads one meter into the edit frame; false (and a message) when the database failed.
    bool MBusIndexListeLaden(qint32 lznr);
    void ListeLaden();
    // Stores the grid's index list of the meter and hides the edit frame; an index typed that is
    // no whole number stores nothing (its rows are named). On failure a message,
    // the meter keeps its stored rows and the edit frame stays.
    bool IndexSpeichern(qint32 lznr, FlexGrid& grid);

    // Handlers.
    void Form_Load();
    void cmdAendern_Click();
    void MSFlexGrid1_DblClick();
    void MSFlexGrid1_SelChange();
    void cmdLoeschen_Click();
    void cmdLoeschenausfuehren_Click();
    void cmdAbbrechen_Click();
    void cmdSpeichern_Click();
    void cmdNeu_Click();
    void cmdZwischen_Click();
    void cmdClose_Click();
    void Text3_Change();
    void Text4_Change();
    void MSFlexGrid2_EnterCell();
    void MSFlexGrid2_Scroll();
    void Text2_KeyDown(EditorTaste taste);
    void Text2_LostFocus();

    const IndexExportElemente& ui() const { return m_ui; }
    // The meter the edit frame works on (none before the first choice).
    std::optional<qint32> aktuellerZaehler() const { return m_zaehler; }
    bool bearbeitungSichtbar() const;
    // The cell the editor was opened on (none while it is closed).
    std::optional<Zelle> editorZelle() const { return m_editorZelle; }

private:
    void PlaceCellEditor();
    // The editor's text into the cell it was opened on.
    void editorUebernehmen();
    void editorSchliessen();
    void bearbeitungZeigen(bool zeigen);
    // Edit frame for the meter of the list's current row; false when the row holds none or
    // the meter could not be loaded.
    bool zaehlerOeffnen();
    void einstellungSchreiben(const QString& schluessel, const QString& wert);

    std::unique_ptr<IndexExportDaten> m_daten;
    IndexExportElemente m_ui;
    std::optional<qint32> m_zaehler;
    std::optional<Zelle> m_editorZelle;
    int m_letzteZeile = -1;
    int m_letzteSpalte = -1;
    bool m_beschaeftigt = false;
    bool m_einstellungFehlerGemeldet = false;
};
