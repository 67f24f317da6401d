#pragma once
// Characters on the line of a simulated bus and what the master's UART reads when several meters
// talk at once.
//
// A character is 11 bits: start bit 0, 8 data bits least significant first, even parity, stop
// bit 1. A meter sends a 0 (space) by drawing more current, so when meters overlap, a 0 of any
// of them wins: the line carries the AND of their bits. The master's UART then reads that line:
// it waits for a falling edge, samples 8 data bits and the stop bit, and delivers the byte
// whatever the parity and stop bit say (parity cannot travel over a pseudo-terminal anyway).

#include <QList>

struct SimZeichen
{
    quint8 wert = 0;
    qint64 startBit = 0; // bit time at which the start bit begins
    qint64 zusatzNs = 0; // pauses on demand before it (they also count when pacing is off)
    // With pacing: how far the pauses in milliseconds before it reach past whole bit times, so
    // that a delay of so many ms is kept to the nanosecond and not cut to a bit time.
    qint64 restNs = 0;
};

class SimLeitung
{
public:
    // The characters the master reads when all senders talk on one line.
    static QList<SimZeichen> ueberlagern(const QList<QList<SimZeichen>>& sender);
};
