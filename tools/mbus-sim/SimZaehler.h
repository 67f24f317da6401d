#pragma once
// One meter of a simulated bus as the bus file describes it.

#include "SimFehler.h"

#include <QByteArray>
#include <QList>
#include <QString>

// One answer telegram: either data records, from which the simulator builds the RSP_UD, or a raw
// RSP_UD that is sent byte for byte as given.
struct SimTelegramm
{
    QList<QByteArray> saetze; // data records (DIF, DIFE, VIF, VIFE and data bytes each)
    QByteArray roh;           // a complete raw frame; when set, the records are not used
};

struct SimZaehler
{
    int primaerAdresse = 0;     // 0 (unconfigured) to 250
    quint32 id = 0;             // identification number, 8 decimal digits
    QString hersteller = "SIM"; // three letters A to Z
    quint8 version = 0;
    quint8 medium = 0;
    quint8 status = 0;
    int baud = 2400;
    QList<SimTelegramm>
        telegramme; // more than one: "more records follow" (DIF 1F) in all but the last
    SimFehler fehler;
    int zeile = 0; // line of the bus file that starts the meter (0: built in code)
};
