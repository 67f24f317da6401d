#pragma once
// The tables of basis.mdb (db/schema.sql, compiled into the program) and the creation of an
// empty database from them.

#include "Verbindung.h"

#include <QString>
#include <QStringList>

// The statements that create every table and index, in order, for the database's dialect.
// A PostgreSQL database first gets the collation "nocase" (letter case ignored, as on SQLite)
// and afterwards has LZNR of zaehler assigned by the database, as SQLite does.
QStringList SchemaAnweisungen(Dialekt dialekt);

// Creates every table on an empty database in one transaction. False (nothing created, the
// reason in FehlerText) on failure.
bool SchemaAnlegen(Verbindung& verbindung);

// Creates a new basis.mdb (an SQLite file in write-ahead mode, so that readers and one
// writer at a time work side by side) with every table and no rows. Anything already at the
// path is left untouched and reported. False, the reason in FehlerText and no file left
// behind, on failure.
bool DatenbankAnlegen(const QString& pfad);
