#pragma once
// New tables and columns in a database, and the index list MB_IndexListe that the meter and
// index-export editor makes sure of at every start.

#include "Verbindung.h"

#include <QString>

// Field types, with the numbers the program's callers use for them.
enum DaoFeldTyp : int {
    dbBoolean = 1, // yes/no: SMALLINT, 0 unless set
    dbByte = 2,
    dbInteger = 3, // 16-bit
    dbLong = 4,    // 32-bit
    dbCurrency = 5,
    dbSingle = 6,
    dbDouble = 7,
    dbDate = 8,
    dbText = 10, // text compared without regard to letter case; the size is not enforced
    dbMemo = 12,
};

// Field attribute: the database numbers new rows (only for a long integer).
constexpr int dbAutoIncrField = 16;

// Creates the table with its first field. Status: 0 created; -1 the field could not be made
// (a name that is no plain name, an unknown type); -2 the table could not be made (it exists
// already, for one). FehlerText holds the reason of -1 and -2.
int DAO_TabelleAnlegen(Verbindung& datenbank, const QString& tabelle, const QString& feld, int typ,
                       int attribute);

// Appends a field to the table; a long integer of size 16 becomes a field the database numbers
// (possible on a server; SQLite can only number the first field of a new table and reports
// that). Returns 0, or the error number with its text in FehlerText (for instance when the
// field exists already).
int DAO_FeldAnfuegen(Verbindung& datenbank, const QString& tabelle, const QString& feld, int typ,
                     int groesse);

// Creates MB_IndexListe in basis.mdb when it is missing, with every column the program reads
// and writes (Lznr, Index, Art, Einheit, Speichern, MBIndex, Anzeigen, Faktor, Farbe, MBTyp,
// TarifNr, Reihenfolge); an existing table stays as it is. The new table is made in one
// transaction, so a failure leaves no half-made table behind. Failing to open the database
// shows "Fehler beim Update Datenbank " & DBPath & "basis.mdb". The database is closed
// afterwards on every way out.
void IndexListeTabelleAnlegen();
