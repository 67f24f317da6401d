#pragma once
// Names of the interval files, Windows-style as the energy-data system writes them.

#include <QString>

// Per-meter raw file: DBPath & the id with eight digits & ".15p" for sub-number 0, else
// & "." & the sub-number with three digits ("00001234.15p", "00001234.002").
QString RB_DateiName15p(qint32 id, qint32 unternummer);

// Station file: station -1 gives RB_DateiName15p(meter, interval); an interval above 0 gives
// DatenPath & "S" & station (4 digits) & "\z" & meter (2 digits) & "a" & interval (4 digits)
// & ".dat", otherwise DatenPath & "S" & station & "\z" & meter & "a015p.dat".
QString RB_DateiName(qint32 station, qint32 zaehler, qint32 intervall);

// True when the file name itself (not its folders) holds "15p" or "15P": such files are read
// as 15-minute files.
bool RB_IstDateiName15p(const QString& name);
