#pragma once
// Start-up settings: the client number from the command line, and the client number, the
// database folder and the data folder from ZEP.INI.
//
// A window that works on the database starts with: DBPath := the program's folder;
// KommandozeileAuswerten(); ZEPIniLesen(".\zep.ini"); then its own keys.

#include <QString>

// The shared settings file, relative to the current directory.
inline const QString kZepIni = QStringLiteral(".\\ZEP.INI");

// The value of the key in the section of the file, "" when the file, the section or the key is
// missing; at most 254 characters.
QString IniLesen(const QString& abschnitt, const QString& schluessel, const QString& datei);

// The program's arguments after its name, joined by single blanks ("Auto -M200 -C3"), or the
// text set with KommandozeileSetzen.
QString Kommandozeile();
// Replaces the command line (tests, and windows that act as if started with other arguments).
void KommandozeileSetzen(const QString& zeile);
// Back to the program's own arguments.
void KommandozeileZuruecksetzen();

// When the command line holds "-M" (case-sensitive, the first one), Mandant becomes the leading
// number of the text behind it up to the next blank, with at least three digits ("-M7" gives
// "007", "-M" or "-Mx" gives "000"), and the program log gets "Suche Mandant " & Mandant.
// Without "-M" nothing changes and nothing is logged.
void KommandozeileAuswerten();

// Sets Mandant (only when it is empty) from [ZEP] ZEPMandant of ZEP.INI, DBPath from [ZEP]
// "DBPATH" & Mandant of the file given ("$MANDANT$" replaced by the client number; ".\DB" &
// Mandant when the key is missing; always ending in "\") and DatenPath from [Mandant] DatenPath
// of ZEP.INI (as written; ".\" when missing). A missing client number is shown in a message box
// and the steps go on with "". The program log gets the DatenPath line.
void ZEPIniLesen(const QString& datei);
