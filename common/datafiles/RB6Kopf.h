#pragma once
// The header of a value file (records 1 to 9) and the part of it the services hold in memory.
//
// record 1: (1, 1.0), the mark of a value file
// record 2: (Tm of the newest value, number of the last used record); (0, 9.0) while empty
// record 3: (0, creation parameter 1)     record 4: (0, creation parameter 2)
// record 5: (capacity, creation parameter 3); the capacity is raised whenever the last used
//           record passes it
// record 6: (0, creation parameter 4)     records 7 to 9: zero

#include "datafiles/RB6Satz.h"

#include <QByteArray>
#include <QString>

struct RB6_Kopf
{
    qint32 Tm1 = 0;
    double Wert1 = 0.0;
    qint32 Tm2 = 0;
    double Wert2 = 0.0;
    qint32 Tm3 = 0;
    double Wert3 = 0.0;
    qint32 Tm4 = 0;
    double Wert4 = 0.0;
    qint32 Tm5 = 0;
    double Wert5 = 0.0;
    double Wert6 = 0.0;
    // The oldest value (record 10): the start of the file's time range.
    qint32 Tm10 = 0;
    double Wert10 = 0.0;

    bool operator==(const RB6_Kopf&) const = default;
};

// Bytes of the header records 1 to 9 (108 bytes): the held fields in place, record 6's time
// and records 7 to 9 zero. Record 10 is a value and never part of these bytes.
QByteArray RB6_KopfBytes(const RB6_Kopf& kopf);

// The header from the first bytes of a file (at least 9 records; record 10 is taken when the
// bytes hold it, else it stays zero).
RB6_Kopf RB6_KopfAusBytes(const QByteArray& bytes);

// The header of a new file of the given number of blocks.
RB6_Kopf RB6_NeuerKopf(qint32 bloecke, double parameter1, double parameter2, double parameter3,
                       double parameter4);

// The number of the last used record (record 2's value) when it is a whole number, else -1.
qint64 RB6_LetzterSatz(const RB6_Kopf& kopf);

// True when the header can be trusted for a file of saetzeInDatei whole records: record 1 is
// (1, 1.0), the newest time is not negative, and the last used record is a whole number from 9
// to the number of records in the file. Otherwise false with the reason in grund.
bool RB6_KopfGueltig(const RB6_Kopf& kopf, qint64 saetzeInDatei, QString& grund);
