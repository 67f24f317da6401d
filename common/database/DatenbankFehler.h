#pragma once
// Failure numbers and texts of the database layer. A failure of the database itself gives the
// database's own message and error number (for SQLite its result code, for a server reached
// through ODBC 3146); failures the layer finds itself use the numbers and German texts that
// users of the energy-data system know from its database engine.

#include <QString>

class QSqlError;

enum DatenbankFehlernummer : int {
    dbFehlerUpdateOhneAddNew = 3020,       // "Update oder CancelUpdate ohne AddNew oder Edit."
    dbFehlerKeinAktuellerDatensatz = 3021, // "Kein aktueller Datensatz."
    dbFehlerDateiNichtGefunden = 3024,     // "Datei '...' nicht gefunden."
    dbFehlerSchreibgeschuetzt = 3027,      // not an updatable recordset
    dbFehlerServer = 3146,                 // a server's failure without a numeric code
    dbFehlerDatensatzGeloescht = 3167,     // the row to update is gone
    dbFehlerElementNichtGefunden = 3265,   // no field of that name
    dbFehlerGeschlossen = 3420,            // connection or recordset closed
    dbFehlerUngueltigerName = 3125,        // a table or field name that is no plain name
    dbFehlerUngueltigerTyp = 3259,         // a field type the layer does not know
};

// Stores the text in FehlerText and returns the number.
int FehlerMerken(int nummer, const QString& text);

// Stores the database's message of the failure in FehlerText and returns its number. A text
// given in ausblenden (a password) is replaced by "***" wherever the message repeats it.
int FehlerMerken(const QSqlError& fehler, const QString& ausblenden = QString());
