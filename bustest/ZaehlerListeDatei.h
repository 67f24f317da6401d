#pragma once
// The meter list files of the test window: the scan grid and the records grid saved side by side
// in the current folder, a saved scan list loaded back into the scan grid (with the index import
// list "MBusImportIndex.txt" beside it), and a grid as clipboard text.
//
// Names: yyMMddhhmm & "MBTestCom" & port & ".txt" (scan grid) and yyMMddhhmm & "MBZählerliste" &
// port & ".txt" (records grid), both from one clock reading. Content as FlexGridExport writes
// it: Windows-1252, one line per row from the header row, each shown cell followed by TAB, lines
// ended by CR LF. Reading takes UTF-8 when the bytes are valid UTF-8, else Windows-1252 (with
// the OEM umlauts of DOS files); a line counts as blank only when it holds nothing but blanks,
// so a row of empty cells comes back as a row.

#include <QDateTime>
#include <QString>
#include <QStringList>

class FlexGrid;

class ZaehlerListeDatei
{
public:
    static inline const QString kIndexListe = QStringLiteral("MBusImportIndex.txt");
    // Files with more lines are not loaded.
    static constexpr int kMaxZeilen = 10000;

    struct Namen
    {
        QString scanListe;
        QString satzListe;
    };

    // The port number of a port box or a name part: the leading whole number, 0 for none.
    static int PortZahl(const QString& text);
    static Namen Dateinamen(const QDateTime& zeit, int port);
    // Upper case, every "O" and "." turned into ";", field 1, its first character dropped, the
    // number of the rest: "2405061130MBTestCom3.txt" gives 3, a records-grid file 0.
    static int PortAusDateiname(const QString& name);

    // Writes both grids (scan grid first) into the current folder. A failure has shown its
    // message already (FlexGridExport); true when both files were written.
    static bool Speichern(FlexGrid& scanGrid, FlexGrid& satzGrid, const QDateTime& zeit, int port,
                          Namen& namen);

    // Reads a list file into rows of cells (trenner between cells; a separator at the end of a
    // line starts no further cell). False with a German message in fehler when the file is
    // missing, holds NUL bytes (no text) or has more than kMaxZeilen lines; rows then is empty.
    static bool Lesen(const QString& datei, const QString& trenner, QList<QStringList>& zeilen,
                      QString& fehler);
    // A saved list (TAB between cells) as Lesen reads it; a file that holds no list is refused
    // as well: an empty one, and one whose first line (the header row) has no TAB, such as a
    // settings file. False with a German message in fehler; rows then is empty.
    static bool ListeLesen(const QString& datei, QList<QStringList>& zeilen, QString& fehler);
    // The rows into the grid: the first is the header row (one fixed row), its cell count the
    // column count (longer rows widen the grid). Without rows the grid is emptied.
    static bool InGrid(FlexGrid& grid, const QList<QStringList>& zeilen);

    // The whole grid as text: cells separated by TAB, rows by "\n". The grid stays selected.
    static QString Zwischenablage(FlexGrid& grid);

    // A fingerprint of the columns 0 to 6 of every row (the meters themselves, not the planned
    // values or marks), to tell whether the grid still holds what was loaded.
    static QByteArray Fingerabdruck(const FlexGrid& grid, int bisSpalte);

private:
    // The lines of a text file that are not blank, without their line ends; the checks of
    // Lesen.
    static bool TextZeilen(const QString& datei, QStringList& zeilen, QString& fehler);
    static QList<QStringList> Zellen(const QStringList& zeilen, const QString& trenner);
};
