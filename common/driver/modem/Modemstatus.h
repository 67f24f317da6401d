#pragma once
// Where the modem stands, and the value the driver's TELStatus reports for it.
//
//   TELStatus  meaning
//   0          initialisation ended without the modem's confirmation (no answer to a command,
//              or "ERROR"); the wait for the initialisation is over, dialling may still be tried
//   1          a modem dialogue runs: initialising, dialling, aborting a dial or hanging up
//   2          initialised: the modem confirmed every command; ready to dial
//   3          idle, no connection: at the start, after hanging up, after a dial that failed
//              ("BUSY", "NO CARRIER", "NO DIALTONE", "NO ANSWER", "ERROR", no result in time)
//              or was aborted, and when the remote side hung up ("NO CARRIER" while connected)
//   4          connected: the remote modem answered ("CONNECT"); bytes go to the remote bus
//
// So a caller waits for 0 or 2 after TELInit, for anything but 1 after TELMakeCall (4 when
// connected, 3 when not) and for 3 after TELHangUp.

namespace mbus {

// Where the modem rests between dialogues.
enum class Modemlage {
    Unbestaetigt, // initialised without confirmation
    Bereit,       // initialised
    Leerlauf,     // no connection
    Verbunden,    // connected, data mode
};

// How the last dialogue ended.
enum class Modemausgang {
    Keiner,              // no dialogue yet, or one still runs
    Erfolg,              // as asked: initialised, connected, hung up
    Fehlermeldung,       // the modem refused or the call failed: its result line says how
    Zeitueberschreitung, // no result in time (a hang-up then forced the modem on-hook by DTR)
    Abgebrochen,         // aborted by the caller
    Portfehler,          // the serial port was lost
};

constexpr int kTelStatusUnbestaetigt = 0;
constexpr int kTelStatusLaeuft = 1;
constexpr int kTelStatusBereit = 2;
constexpr int kTelStatusLeerlauf = 3;
constexpr int kTelStatusVerbunden = 4;

// The TELStatus value of a resting modem.
constexpr int TelStatusWert(Modemlage lage)
{
    switch (lage) {
    case Modemlage::Unbestaetigt:
        return kTelStatusUnbestaetigt;
    case Modemlage::Bereit:
        return kTelStatusBereit;
    case Modemlage::Leerlauf:
        return kTelStatusLeerlauf;
    case Modemlage::Verbunden:
        return kTelStatusVerbunden;
    }
    return kTelStatusLeerlauf;
}

} // namespace mbus
