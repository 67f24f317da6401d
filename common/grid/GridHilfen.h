#pragma once
// Grids to and from text files, from a two-dimensional list, and column widths that fit the
// texts. Every grid of the program, headless or on screen, goes through the FlexGrid interface.

#include "FlexGrid.h"

#include <QList>
#include <QString>
#include <QStringList>

// Fills the grid from a text file (Windows-1252; CR LF or LF lines). FehlerText is cleared and
// the grid emptied to 0 rows and 0 columns, so it ends without fixed rows or columns: set them
// again after loading. Blank lines are skipped; OEM umlauts of DOS files become Windows
// characters; each line is split at the separator (double quotes protect a separator and are
// removed). The first line gives the column count: spaltenAnzahl when it is at least 1, else
// the line's field count. With kopfzeile the first line is row 0; without it row 0 holds
// "Feld 1" to "Feld n" and the first line is row 1. Every line is one more row; a line with
// more fields than the grid has columns widens the grid (without kopfzeile the new columns get
// their "Feld n" heading too). A file that cannot be read, or a line the grid cannot take,
// leaves the reason in FehlerText; the rows read before stay. Returns true when the whole file
// was read.
bool DateiInFlexGrid(FlexGrid& grid, const QString& datei, bool kopfzeile, const QString& trenner,
                     int spaltenAnzahl = 0);

// Writes the grid to a text file, replacing it (Windows-1252, lines ended by CR LF); a
// failure keeps the old file. FehlerText is cleared; an empty separator becomes TAB, also in
// the caller's variable. One line per row from row 0; of each row the cells of the columns
// that are at least 2 twips wide (hidden columns are skipped), each followed by the separator,
// so every line ends with it. Field c of the ";"-separated format list, when not empty,
// formats the cells of column c (see ZellenFormat.h). A failure leaves its reason in
// FehlerText and shows "Fehler beim speichern der Datei " & datei & CR &
// "Bitte versuchen Sie es erneut". Returns true when the file was written.
bool FlexGridExport(FlexGrid& grid, const QString& datei, QString& trenner, QString& formate);

// Each column's width := the widest text "AA" & cell over all rows, in the grid's font.
// Every column gets a width, so hidden columns show again: hide them after this call. A grid
// without rows gets the width of "AA".
void FlexGridSpaltenbreiten(FlexGrid& grid);

// Fills the grid from a two-dimensional list (outer list: rows from 0; inner: columns from 0,
// as many as the longest row). The grid keeps its header row 0: two empty rows are inserted at
// row 1, the grid cut to 2 rows, and its column count set to the list's upper column bound,
// i.e. one less than the list's columns: the last column is not shown. The meter lists this
// shows carry an empty last column. Each list row is appended as a row; at the end the empty
// row 1 is removed when the grid has at least 3 rows, so list row r is grid row r + 1.
// A failure (an empty list, a grid without rows, a grid that cannot take the rows) stores its
// reason in FehlerText and ends the filling; FehlerText is not cleared otherwise. Returns true
// when every row was taken.
bool ArrayInFlexGrid(FlexGrid& grid, const QList<QStringList>& feld);
