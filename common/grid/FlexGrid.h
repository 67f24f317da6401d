#pragma once
// The grid every list of the program goes through, headless or on screen: the operations and
// the numbering of a flexible grid control.
//
// Numbering: rows and columns count from 0. Row 0 is the header row; the first FixedRows()
// rows and FixedCols() columns are fixed (headings, shown greyed on screen); data rows are
// FixedRows() to Rows() - 1. A new grid has 2 rows, 2 columns, one fixed row and one fixed
// column, and its current cell is (1, 1).
//
// Sizes: setRows/setCols keep the texts of every cell that stays; cells that come back after a
// shrink are empty. Rows or columns below the fixed count lower the fixed count with them
// (setRows(0) leaves no fixed row; set FixedRows again after refilling such a grid).
//
// Column widths are in twips, 15 twips a pixel, and are kept in whole pixels: a width below
// 15 twips (one pixel) hides the column and reads back as 0; kStandardBreite restores the
// grid's standard width of kStandardBreiteTwips.
//
// Current cell and selection: Row()/Col() is the current cell, RowSel()/ColSel() the other
// corner of the selected block. Setting Row or Col makes the current cell the whole selection;
// set RowSel/ColSel afterwards to select a block. Clip() gives the selected block as text.
//
// Nothing here crashes on a wrong number. Reading outside the grid gives "" (widths 0). A
// change outside the grid or beyond the size limits is refused: nothing changes, the call
// returns false and letzterFehler() holds the reason, the text an error trap of the caller
// stores in FehlerText. The grid itself never touches FehlerText.

#include <QString>

class FlexGrid
{
public:
    static constexpr int kTwipsJePixel = 15;
    // ColWidth value that restores the standard width.
    static constexpr int kStandardBreite = -1;
    // Standard width of a column (64 pixels).
    static constexpr int kStandardBreiteTwips = 64 * kTwipsJePixel;
    // Size limits: more rows, columns or cells are refused.
    static constexpr int kMaxZeilen = 1'000'000;
    static constexpr int kMaxSpalten = 10'000;
    static constexpr qint64 kMaxZellen = 4'000'000;

    virtual ~FlexGrid() = default;
    FlexGrid(const FlexGrid&) = delete;
    FlexGrid& operator=(const FlexGrid&) = delete;

    int Rows() const;
    bool setRows(int anzahl);
    int Cols() const;
    bool setCols(int anzahl);
    int FixedRows() const;
    // 0 to Rows().
    bool setFixedRows(int anzahl);
    int FixedCols() const;
    // 0 to Cols().
    bool setFixedCols(int anzahl);

    QString TextMatrix(int zeile, int spalte) const;
    bool setTextMatrix(int zeile, int spalte, const QString& text);

    int Row() const { return m_zeile; }
    bool setRow(int zeile);
    int Col() const { return m_spalte; }
    bool setCol(int spalte);
    int RowSel() const { return m_zeileBis; }
    bool setRowSel(int zeile);
    int ColSel() const { return m_spalteBis; }
    bool setColSel(int spalte);

    // Text of the current cell.
    QString Text() const;
    bool setText(const QString& text);
    // The selected block: cells separated by TAB, rows by CR (no CR after the last row).
    QString Clip() const;

    int ColWidth(int spalte) const;
    // Twips; 0 hides the column, kStandardBreite restores the standard width.
    bool setColWidth(int spalte, int twips);

    // Inserts a row at zeile (0 to Rows(); -1 appends). The TAB-separated parts of the text
    // fill its cells from column 0; parts beyond the last column are dropped.
    bool AddItem(const QString& zeilenText, int zeile = -1);
    // Removes a row. Fixed rows and the last non-fixed row cannot be removed.
    bool RemoveItem(int zeile);
    // Empties every cell text, the fixed ones too; sizes, widths and selection stay.
    void Clear();

    // Width of a text in the grid's font, in twips.
    virtual int TextBreiteTwips(const QString& text) const = 0;

    // Reason for the last refused change ("" while nothing was refused).
    const QString& letzterFehler() const { return m_fehler; }

protected:
    FlexGrid() = default;

    // Storage of the implementations. The rules above are checked before these are called:
    // arguments are always inside the grid and sizes within the limits.
    virtual int zeilenAnzahl() const = 0;
    virtual int spaltenAnzahl() const = 0;
    // New rows/columns are empty; the fixed count is never above the new size.
    virtual void zeilenAnzahlAendern(int anzahl) = 0;
    virtual void spaltenAnzahlAendern(int anzahl) = 0;
    virtual int festeZeilen() const = 0;
    virtual int festeSpalten() const = 0;
    virtual void festeZeilenAendern(int anzahl) = 0;
    virtual void festeSpaltenAendern(int anzahl) = 0;
    virtual QString zelle(int zeile, int spalte) const = 0;
    virtual void zelleAendern(int zeile, int spalte, const QString& text) = 0;
    // An empty row at zeile (0 to zeilenAnzahl()).
    virtual void zeileEinfuegen(int zeile) = 0;
    virtual void zeileEntfernen(int zeile) = 0;
    virtual void zellenLeeren() = 0;
    // Width in twips, 0 for a hidden column.
    virtual int spaltenBreite(int spalte) const = 0;
    // Twips >= 0 (below one pixel: hidden) or kStandardBreite.
    virtual void spaltenBreiteAendern(int spalte, int twips) = 0;

    // Called after the current cell or the selection changed through this interface or after
    // the grid's size changed, so that a view can show it.
    virtual void auswahlAnzeigen() {}
    // Called whenever the current cell (Row, Col) changed, whoever changed it.
    virtual void aktuelleZelleGewechselt() {}

    // A view reports the current cell and selection the user chose (no auswahlAnzeigen call).
    void auswahlUebernehmen(int zeile, int spalte, int zeileBis, int spalteBis);

private:
    bool ablehnen(const QString& grund);
    bool groesseErlaubt(qint64 zeilen, qint64 spalten);
    bool zeileGueltig(int zeile) const;
    bool spalteGueltig(int spalte) const;
    // Keeps the current cell and the selection inside the grid after a size change.
    void auswahlBegrenzen();
    void auswahlSetzen(int zeile, int spalte, int zeileBis, int spalteBis);

    int m_zeile = 1;
    int m_spalte = 1;
    int m_zeileBis = 1;
    int m_spalteBis = 1;
    QString m_fehler;
};
