#pragma once
// The program's one connection to the value database, MB_Connection, shared by every window,
// and how it is opened for each database kind (dbFlag, element 0 of DBParameter):
//
//   1      the meter database file (an SQLite file such as DBPath & "basis.mdb"; the data
//          source names it; user and catalog are not used, and a file password cannot be
//          applied to this file type, so it is ignored)
//   2, 3   a server database through ODBC; a data source that is an ODBC connection string of
//          its own ("DRIVER=..." or "DSN=...") is used as given, else it names the server and
//          the FreeTDS driver is used (DRIVER={FreeTDS};SERVER=<data source>); user, password
//          and catalog go in as UID, PWD and DATABASE
//   4      an Oracle database through ODBC: as 2, with DRIVER={Oracle};DBQ=<data source> and
//          without a catalog
//   5      box "5 ist noch nicht belegt als dbFlag.", not opened
//   other  box "Keine gültige Datenbank!", not opened
//
// A password never appears in FehlerText, a message box or a log line.

#include "Verbindung.h"

#include <QString>

#include <memory>

// The shared connection: empty (no object) until MB_DatenbankVerbinden opens it; whoever
// opened it closes it (MB_ConnectionSchliessen).
inline std::shared_ptr<Verbindung> MB_Connection;

// Opens the connection by dbFlag and stores it as MB_Connection as well. An open connection is
// kept and reported as open, whatever dbFlag is passed then. A failure to open leaves the
// reason in FehlerText (the password replaced by "***"), returns false and shows no box; the
// connection and MB_Connection stay as they were. Only the two dbFlag boxes above are shown.
bool MB_DatenbankVerbinden(std::shared_ptr<Verbindung>& verbindung, const QString& dbFlag,
                           const QString& benutzer, const QString& passwort,
                           const QString& datenquelle, const QString& katalog);

// MB_DatenbankVerbinden on MB_Connection with the credentials of DBParameter: kind (0), user
// (2), password (3), data source (1), catalog (4).
bool MB_DatenbankVerbinden();

// Closes MB_Connection and drops it.
void MB_ConnectionSchliessen();

// The ODBC connection string of dbFlag 2, 3 or 4 for the data source, user, password and
// catalog (see above); "" for any other kind.
QString MB_OdbcVerbindungstext(int dbFlag, const QString& benutzer, const QString& passwort,
                               const QString& datenquelle, const QString& katalog);
