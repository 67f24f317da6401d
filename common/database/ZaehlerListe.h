#pragma once
// The list of M-Bus meters of basis.mdb, as the meter and index-export editor shows it.

#include <QList>
#include <QString>
#include <QStringList>

// Columns of a row of the meter list.
constexpr int ZaehlerListeSpalten = 12;

// The query of the meter list (every meter whose source is "M-Bus", in any letter case, by
// COM port and then primary address).
inline const QString ZaehlerListeAbfrage =
    QStringLiteral(" SELECT    zaehler.ZQUELLE, zaehler.LZNR, zaehler.MBAdr, zaehler.MBComP, "
                   "zaehler.MBBaud, ") +
    QStringLiteral(" zaehler.ZNAME, zaehler.MBIndex, zaehler.MBZStand, zaehler.ZNr, "
                   "zaehler.MB_SelectSec ") +
    QStringLiteral(" From zaehler") + QStringLiteral(" Where ((zaehler.ZQUELLE = 'M-Bus'))") +
    QStringLiteral(" Order by zaehler.MBComP, zaehler.MBAdr ");

// The program-wide meter list of the editor.
inline QList<QStringList> ZaehlerListe;

// Loads the M-Bus meters from DBPath & "basis.mdb" into the list: one row per meter in the
// query's order, ZaehlerListeSpalten texts each; columns 1 to 9 are LZNR, MBAdr, MBComP,
// MBBaud, ZNAME, MBIndex, MBZStand, ZNr, MB_SelectSec ("" for an empty field); columns 0, 10
// and 11 stay empty. No meter: the list is one row with one empty text. The database is
// opened for the load and closed again whatever happens. When the database cannot be opened
// or read, the list is left as it was, FehlerText holds the reason and the result is false.
bool ZaehlerListeLaden(QList<QStringList>& feld);

class Verbindung;
// The same from a database that is already open (basis.mdb or a server database with the same
// tables); the connection stays open.
bool ZaehlerListeLaden(Verbindung& verbindung, QList<QStringList>& feld);
