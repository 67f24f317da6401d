#pragma once
// The two grids of the meter and index-export editor, headless: the meter list and a meter's
// index list, the copy of the list for the clipboard, and the keys that move the cell editor.

#include "IndexExportDaten.h"

#include <QList>
#include <QString>
#include <QStringList>

class FlexGrid;

// Columns of the index grid: 0 the meter number (hidden), 1 the index, 2 the text.
constexpr int kIndexSpalte = 1;
constexpr int kTextSpalte = 2;
// Column of the list grid that holds the meter number.
constexpr int kLznrSpalte = 1;

// 2 rows, 3 columns of width 0, 1000 and 5000 twips, titles "", "Index", "Text"; cell (1, 1)
// holds "hhh" until a meter is loaded.
void InitGridIndex(FlexGrid& grid);
// 2 rows, current row 0; the nine titles of the meter list in columns 0 to 8, then 9 columns
// with the first two hidden.
void InitGrid(FlexGrid& grid);
// Header and one empty row.
void GridLeeren(FlexGrid& grid);

// The meter list into the list grid: header and one empty row, and when the list holds at least
// one meter, one row per meter with columns fitted to their texts (ZQUELLE, LZNR, Index and
// MBZStand hidden) and row 1 marked. Returns whether a meter is shown.
bool ZaehlerListeZeigen(FlexGrid& grid, const QList<QStringList>& liste);
// Marks the current row of the list grid from its first to its last column.
void ZeileMarkieren(FlexGrid& grid);
// The meter number of a row of the list grid, none when the cell holds no whole number.
std::optional<int> ZaehlerNummer(const FlexGrid& grid, int zeile);

// A meter's index rows into the index grid from row 1 (header and one empty row when none).
void IndexZeilenZeigen(FlexGrid& grid, const QList<IndexExportZeile>& zeilen);
// Rows 1 to the last of the index grid.
QList<IndexExportZeile> IndexZeilenAusGrid(const FlexGrid& grid);
// The rows that cannot be saved as they stand, each as "Zeile " & grid row & ": " & what is
// wrong: an index that is no whole number from 0 ("3.0", "2,0", "abc", "-1"), and a text
// without an index (saving would lose it). A row whose index and text are both empty is none of
// them (it is dropped on saving: that is how a row is removed).
QStringList UngueltigeIndexe(const QList<IndexExportZeile>& zeilen);

// Every cell of the grid, header row and hidden columns included: TAB between the cells of a
// row, each row ended by "\n".
QString ZwischenablageText(const FlexGrid& grid);

// Keys of the cell editor.
enum class EditorTaste { Rechts, Links, Hoch, Runter, Eingabe, Tab };

struct Zelle
{
    int zeile = 1;
    int spalte = 1;
    bool operator==(const Zelle&) const = default;
};

// Where a key moves the cell editor in a grid of the given size (header row 0 and column 0 are
// never reached). Right and Tab go on to column 1 of the next row after the last column, Left
// back to the last column of the previous row from column 1; Up stops at row 1, Down and Enter
// at the last row.
Zelle NaechsteZelle(EditorTaste taste, Zelle von, int zeilen, int spalten);
