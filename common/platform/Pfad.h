#pragma once
// Windows-style paths of the settings and the database (".\ZEP.INI", ".\DB200\", "D:\Daten\")
// on a Linux file system.

#include <QString>

// "\" becomes "/"; every component that exists is matched without regard to letter case, so
// ".\ZEP.INI" and ".\zep.ini" name one file. Relative paths stay relative to the current
// directory. A drive letter "X:" is replaced by the folder in the environment variable
// TELVARIN_LAUFWERK_X when it is set, else by the root folder. Components that do not exist
// (yet) are kept as written, so the result can be used to create them.
QString PfadAufloesen(const QString& pfad);

// Parent folder of a path as PfadAufloesen returns it ("" for a plain file name).
QString OrdnerVon(const QString& aufgeloesterPfad);
