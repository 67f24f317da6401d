#pragma once
// Storing the values of one meter that answered in a master cycle: the index list brought up to
// date, and per data record k the outputs the window's tick boxes choose:
//   mb.log         (box 1) the data line; client number 200 also its "Index1.txt" line (k = 1)
//   MBusWerte      (box 0, record marked for storing, table open) a row lznr, Tm, k, Wert
//   value file     (box 2, record marked for storing) DBPath & "Z<client>\<lznr6><k3>.zep"
// and for the meter's main index (MBIndex; never for the client text "200"):
//   the raw 15-minute file DBPath & "<lznr8>.15p" and the value-file twin
//   DatenPath & "Z<client>\<lznr6><k3>.15p" (difference mode, time of storing), and a row in
//   Zaehlerstaende when that table is open.
// Every failed write is logged and the next one runs; nothing is retried.
//
// While the log import rebuilds the value folder the value files (.zep) are not written: their
// entries are set aside for the cycle, which writes them once the import has ended. The
// interval files are always written; the import never touches them.

#include "master/dienste/MasterZustand.h"

#include <QString>

#include <QList>

#include <array>

class FlexGrid;

// A value-file entry set aside while the value folder was locked.
struct WertdateiEintrag
{
    qint32 lznr = 0;
    qint32 index = 0;
    UnixZeit tm = 0;
    double wert = 0;
};

struct MasterSpeicherZiel
{
    MasterZustand& z;             // the open tables and their flags, TestModus
    std::array<bool, 3> haken;    // Check1(0) database, (1) M-Bus log, (2) value files
    int port = 0;                 // the window's COM port, for the mb.log line
    bool dateienGesperrt = false; // the value folder is locked: value files are set aside
    FlexGrid& log;                // the window's log grid
    QList<WertdateiEintrag>* zurueckgestellt = nullptr; // where set-aside entries go
};

// Writes one value-file entry; a failure is logged to mb.log.
void WertdateiEintragSchreiben(const WertdateiEintrag& eintrag);

// The value-file twin that holds the interval data of a value of a meter.
QString MasterIntervallDateiName(qint32 lznr, qint32 index);

// Stores the values of the meter read last. adresse is the primary address of its grid row as
// the log lines show it ("" for a meter stored without one).
void MasterWerteSpeichern(MBZaehler& zaehler, const QString& adresse, MasterSpeicherZiel& ziel);
