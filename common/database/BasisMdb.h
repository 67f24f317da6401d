#pragma once
// The meter database basis.mdb in the folder DBPath, as the program's services use it: each
// opens it for one operation, keeps it in Datenbank meanwhile and closes it afterwards.

#include "Verbindung.h"

#include <QString>

// File name of the meter database in DBPath.
inline const QString BasisMdbName = QStringLiteral("basis.mdb");

// The open basis.mdb while a service works with it; nullptr otherwise. Only DatenbankOeffnen
// and DatenbankSchliessen set it (they own the object).
inline Verbindung* Datenbank = nullptr;

// DBPath & "basis.mdb" as the file path it names.
QString BasisMdbPfad();

// Datenbank := the open DBPath & "basis.mdb" (a database still open is closed first). A
// missing file is an error and is not created: false, Datenbank nullptr, FehlerText set.
bool DatenbankOeffnen();

// Closes Datenbank (when open) and sets it to nullptr.
void DatenbankSchliessen();

// Opens Datenbank for the time of one operation and closes it on every way out. When a caller
// has Datenbank open already, the operation works on it and leaves it open for that caller.
class DatenbankSitzung
{
public:
    DatenbankSitzung();
    ~DatenbankSitzung();
    DatenbankSitzung(const DatenbankSitzung&) = delete;
    DatenbankSitzung& operator=(const DatenbankSitzung&) = delete;

    bool offen() const { return m_offen; }

private:
    bool m_eigene = false;
    bool m_offen = false;
};
