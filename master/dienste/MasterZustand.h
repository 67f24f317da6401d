#pragma once
// The state fields of the master window for one COM port, as the start-up, the settings
// handlers and the cycle share them.

#include "database/Recordset.h"
#include "lesen/MBZaehler.h"
#include "text/Zeit.h"

#include <QString>

#include <array>
#include <vector>

struct MasterZustand
{
    int MasterComPort = 0;       // COM port from "-C"; 0 without it
    qint32 LeseIntervall = 0;    // read interval in seconds; 0 = one single cycle
    UnixZeit NaechsterStart = 0; // when the next cycle is due; 0 = at once
    UnixZeit StartZeit = 0;      // end of the window's start-up
    int ZyklusLaeuft = 0;        // 1 while a cycle runs
    bool Gestartet = false;      // True after Start, False after Stop
    QString StatusText;          // "" while Start prepares, "Start", "Stop"
    // COMTimeout, COMTimeoutOffset, COMTimeoutByte, COMTimeoutDeadTime.
    std::array<qint32, 4> ComTimeouts{};
    quint8 WarteSchritt = 0; // 1 while the step mode waits for Weiter
    double MeterPause = 0.1; // pause in seconds before each meter
    qint32 TickZaehler = 0;  // timer ticks since load
    qint32 TickGrenze = 300; // after this many ticks the log grid is hidden
    qint32 VBZIntervall = 0; // seconds between two starts of the virtual-meter calculator
    UnixZeit VBZNaechsterStart = 0;
    quint8 VBZFensterStil = 0;
    QString TibboPort = QStringLiteral("65535");
    QString TibboIP;
    // Element i belongs to row i of the meter grid; elements 0 and n are not used.
    std::vector<MBZaehler> MasterZaehler;
    // The value tables of a cycle, and whether the cycle opened them.
    Recordset rsMBusWerte;
    Recordset rsZaehlerstaende;
    bool MBusWerteOffen = false;
    bool ZaehlerstaendeOffen = false;
    bool TestModus = false;
    // Step mode of the cycle ("TEST " on the command line).
    bool SchrittModus = false;
};
