#pragma once
// Where a meter's data lies: the names of its data file and of its own database, and the time
// range its data file covers. Names are Windows-style ("\"), as the energy-data system writes
// them; the file services resolve them.

#include <QDateTime>
#include <QString>
#include <QVariant>

// Path of a meter's data file by the kind of its source:
// - kind negative and a number given: MB_GetDatenDateiName(dbPfad, number, index, kind, index);
// - kind empty: "";
// - otherwise a station file under datenPfad: the station folder is the kind itself when it
//   is a text beginning with "S", else "S" & the kind as 4 digits; then "\z" & the number as 2
//   digits & "a" & the index as 4 digits & ".dat" for an index above 0, else "a015p.dat".
QString MB_GetDatenPfad(const QString& datenPfad, const QString& dbPfad, const QVariant& art,
                        const QVariant& nummer, qint32 index);

// Kind -1: pfad & the meter as 8 digits & ".15p" (index 0) or "." & the index as 3 digits;
// kind -2: the value file RB6_DateiName(pfad, meter, index32); any other kind: "".
QString MB_GetDatenDateiName(const QString& pfad, qint32 lznr, qint32 index, qint32 art,
                             qint32 index32 = 0);

// verzeichnis (a "\" added when it ends in none) & "zaehler\" & the meter as 7 digits & ".mdb";
// "-1" for meter 0. The file is never opened.
QString MB_GetZaehlerMdbPfad(const QString& verzeichnis, const QString& unbenutzt, qint32 lznr);

// The dates of the oldest and the newest value of a data file. A value file (".zep" in any
// case): from its header, 0, or -1 when the header cannot be read. Any other file is read as
// an interval file: 0, or -2 when its range cannot be read. The dates are unchanged on failure.
// No file is created.
int MB_GetDateiZeitraum(const QString& datei, QDateTime& erster, QDateTime& letzter);
