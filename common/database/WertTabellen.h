#pragma once
// The value tables Zaehlerstaende and MBusWerte on MB_Connection, as the master stores each
// meter's values after a read, and recordsets on any query of that connection.
//
// A recordset on a value table only appends: opening it checks the table and its columns but
// reads no row, and each stored value is one INSERT with bound values, so a failed row leaves
// nothing behind and the next row starts empty.

#include "Recordset.h"
#include "Verbindung.h"

#include "text/Zeit.h"

#include <QString>
#include <QVariantList>

#include <memory>

// Opens rs for appending rows lznr, Tm, DT, ZStand, ta to "Zaehlerstaende" on MB_Connection.
// Failure (no open connection, no such table or column): false, FehlerText set and the log line
// "Fehler in MB_ZaehlerstaendeOeffnen : " & FehlerText.
bool MB_ZaehlerstaendeOeffnen(Recordset& rs);

// Opens rs for appending rows lznr, Tm, idx, Wert to "MBusWerte" on MB_Connection. Failure as
// above, with the log line "Fehler in MBIndexlisteOeffnen : " & FehlerText.
bool MBIndexlisteOeffnen(Recordset& rs);

// Opens rs on the query over the connection (a snapshot of its rows that can add and change
// rows as Recordset.h says); values bind in order to the "?" of the text. Failure: false and
// FehlerText set (no log line).
bool MB_RecordsetOeffnen(const std::shared_ptr<Verbindung>& verbindung, Recordset& rs,
                         const QString& sql, const QVariantList& werte = {});

// Adds the row lznr, Tm, DT, ZStand, ta (DT: the wall-clock date and time of Tm, stored
// without any time-zone shift). 0, or -1 with the reason in FehlerText.
int MB_ZaehlerstandSpeichern(Recordset& rs, qint32 lznr, UnixZeit tm, qint32 ta, double zstand);

// Adds the row lznr, Tm, idx, Wert. 0, or -1 with the reason in FehlerText.
int MB_MBusWertSpeichern(Recordset& rs, qint32 lznr, UnixZeit tm, qint32 idx, double wert);
