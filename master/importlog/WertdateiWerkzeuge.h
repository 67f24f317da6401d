#pragma once
// The value-file viewer and test tools of the window "Import Log Datei": each works on the value
// file of one meter (LZNR) and one value index under DBPath, with the texts of the window's
// boxes as given. Numbers in the boxes are read as their leading number ("." as decimal point),
// rounded to whole numbers; an empty box gives 0. Every read ends with a status text that names
// its status code ("... rc= 0"), with the reason when it failed; grids are left empty then.

#include <QString>

class FlexGrid;

struct WerkzeugErgebnis
{
    int rc = 0;
    QString status;
};

namespace WertdateiWerkzeuge {

// Column titles of the quarter-hour grid.
extern const QStringList kPeakTitel;

qint32 ZahlAusBox(const QString& text);

// The value-file name for the meter and index boxes.
QString dateiName(const QString& lznr, const QString& index);

// Creates an empty value file of the given block count (a file that holds data stays as it is).
// status: the message "rc= <rc> in <seconds> Sec".
WerkzeugErgebnis testdateiErzeugen(const QString& lznr, const QString& index,
                                   const QString& bloecke);

// Records from the number in the index box up to 10 of the meter's index-1 file.
WerkzeugErgebnis datInfoLesen(const QString& lznr, const QString& index, FlexGrid& grid);

// Records von to bis of the meter's index-1 file.
WerkzeugErgebnis lesen(const QString& lznr, const QString& von, const QString& bis, FlexGrid& grid);

// The records of a period (date texts; a text that is no date stands for the file's start or
// end) as a day table.
WerkzeugErgebnis suchePos(const QString& lznr, const QString& index, const QString& von,
                          const QString& bis, FlexGrid& grid);

// One day: its raw records into tabelle, the quarter-hour grid into peaks (title row only when
// the day cannot be read).
WerkzeugErgebnis leseTag(const QString& lznr, const QString& index, const QString& tag,
                         FlexGrid& peaks, FlexGrid& tabelle);

} // namespace WertdateiWerkzeuge
