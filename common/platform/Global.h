#pragma once
// Program-wide state shared by every window and service.

#include <QString>
#include <QStringList>

// Client number as text ("" until the start-up steps set it).
inline QString Mandant;
// Folder of basis.mdb, the program log and the MBusLog folder; ends in "\" once set.
inline QString DBPath;
// Data folder of the interval files and the customer window's output.
inline QString DatenPath;
// Text of the last error a common service met; services clear it on entry.
inline QString FehlerText;
// Database parameters from obrak.conf: (0) database kind, (1) data source, (2) user,
// (3) password, (4) catalog, (5) account name, then one empty element. Empty until read.
inline QStringList DBParameter;

// Text of the last raw telegram: bytes as hexadecimal numbers without leading zeros, each
// followed by ";". The test window sets a sample when it loads; its read-out and the
// decoded-telegram display write it, the telegram tools read it.
inline QString RohdatenText;

// Empties every program-wide value (tests start from a fresh program state).
void GlobalZuruecksetzen();
