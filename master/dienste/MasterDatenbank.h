#pragma once
// Which database the master works on, and opening it.
//
// Every client but "1450" works on DBPath & "basis.mdb" (kind 1); "1450" uses the database
// that obrak.conf names, unless that file names kind 0 (or could not be read), when it falls
// back to basis.mdb too.

#include <QString>

// Fills DBParameter from obrak.conf (ReadUserConfig) and applies the rule above; DBParameter
// always has its seven elements afterwards. Returns the database line of the window:
// "DB : " & data source & "  User: " & user.
QString MasterDatenbankWaehlen();

// Opens MB_Connection with DBParameter: kind, user, password, data source, catalog. True when
// it is open.
bool MBOpenDatenbank();

// The text of the box shown when the database does not open: "Fehler beim öffnen der
// Datenbank " & data source & CR & connection string & CR, every password shown as "***".
QString DatenbankFehlerText();
