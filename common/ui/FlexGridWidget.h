#pragma once
// The on-screen grid: a table that keeps the numbering and operations of FlexGrid, so that
// windows and the services they pass it to use one grid interface.
//
// With FixedRows() >= 1, row 0 is the table's column header and stays visible while the rows
// scroll; rows 1 .. Rows() - 1 are the table's rows 0 .. Rows() - 2. With FixedRows() == 0 the
// header is hidden and row 0 is the table's first row. Further fixed rows and the fixed columns
// are shown greyed. Cells are read-only for the user (set the edit triggers to allow editing).
// The current cell and the selection follow the user's clicks and keys; Row()/Col() and
// RowSel()/ColSel() set by the program are shown as the table's current cell and selected block
// (a block that includes row 0 shows from the first table row). Setting them does not scroll.
// A column narrower than one pixel is hidden.

#include "grid/FlexGrid.h"

#include <QRect>
#include <QTableWidget>

class FlexGridWidget : public QTableWidget, public FlexGrid
{
    Q_OBJECT

public:
    explicit FlexGridWidget(QWidget* parent = nullptr);

    // Width of a text in the grid's font, in twips.
    int TextBreiteTwips(const QString& text) const override;

    // The current cell inside this widget, in pixels (row 0: its header section).
    QRect zellenRechteck() const;
    // The same in twips, relative to the grid's left and top edge.
    int CellLeft() const;
    int CellTop() const;
    int CellWidth() const;
    int CellHeight() const;

signals:
    // The current cell (Row, Col) changed, by the user or by the program.
    void zelleBetreten();
    // The user clicked or double-clicked a cell; Row and Col are that cell.
    void geklickt();
    void doppelGeklickt();
    // The table scrolled.
    void gescrollt();

protected:
    int zeilenAnzahl() const override;
    int spaltenAnzahl() const override;
    void zeilenAnzahlAendern(int anzahl) override;
    void spaltenAnzahlAendern(int anzahl) override;
    int festeZeilen() const override { return m_festeZeilen; }
    int festeSpalten() const override { return m_festeSpalten; }
    void festeZeilenAendern(int anzahl) override;
    void festeSpaltenAendern(int anzahl) override;
    QString zelle(int zeile, int spalte) const override;
    void zelleAendern(int zeile, int spalte, const QString& text) override;
    void zeileEinfuegen(int zeile) override;
    void zeileEntfernen(int zeile) override;
    void zellenLeeren() override;
    int spaltenBreite(int spalte) const override;
    void spaltenBreiteAendern(int spalte, int twips) override;
    void auswahlAnzeigen() override;
    void aktuelleZelleGewechselt() override;
    void changeEvent(QEvent* ereignis) override;

private:
    // 1 while row 0 is the column header, else 0: grid row = table row + kopf().
    int kopf() const { return m_festeZeilen > 0 ? 1 : 0; }
    QTableWidgetItem* kopfEintrag(int spalte);
    // Moves the texts of table row 0 into the header (true) or back (false).
    void kopfzeileTauschen(bool inDenKopf);
    void benutzerAuswahlUebernehmen();
    void zeilenHoeheAnpassen();

    int m_festeZeilen = 1;
    int m_festeSpalten = 1;
    bool m_intern = false; // the program is changing the table: not a choice of the user
};
