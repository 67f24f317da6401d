#pragma once
// The bus master's line with the telephone modem that may stand in front of the bus: the bus side
// (Busanschluss) and the modem dialogue (Modemleitung) share the one port.
//
// - Without modem operation (no initialisation or dial since the port was opened) the line is
//   the bus's: bytes pass through unchanged, as if there were no modem side at all.
// - While a modem dialogue runs (initialising, dialling, aborting, hanging up) the line is the
//   dialogue's: the bus side reads nothing and cannot send.
// - Connected and idle, the bus side sends and reads through the connection. Every byte taken
//   from the port, by the bus side or by a TELStatus pass, goes past the dialogue first: it takes
//   out "NO CARRIER" and ends the connection on it; the rest waits for the bus side (bytes the
//   bus side never asks for are dropped beyond a few kilobytes). Each send restarts the guard
//   silence a later "+++" waits for.
// - In modem operation without a connection (initialised only, after a failed or aborted dial,
//   after hanging up, after the remote side hung up) the remote bus is out of reach: the bus side
//   cannot send, so a request ends at once as a time-out instead of feeding bus frames to a modem
//   in command mode; what arrives (the modem's own results) is dropped.
//
// Opening or closing the port ends modem operation, and a connection with it: closing drops DTR,
// on which a modem set to &D2 hangs up. A port that opens again is the plain bus line until the
// next initialisation or dial.
//
// Timing through the connection (zeitenFuer): every answer window gets Modemzeiten's
// antwortZuschlag (1 s) on top, an answer ends only after antwortPause (100 ms) of silence, and
// an incomplete long frame after pauseImRahmen (500 ms): the modems hold data back and hand it on
// in blocks, and the remote bus may run slower than this line.

#include "Buskanal.h"
#include "driver/engine/Zeitparameter.h"
#include "driver/modem/Modemleitung.h"

#include <QByteArray>
#include <QString>

#include <memory>

namespace mbus {

class Modemkanal : public Buskanal
{
public:
    explicit Modemkanal(std::unique_ptr<Buskanal> leitung,
                        const Modemzeiten& zeiten = kStandardModemzeiten);
    ~Modemkanal() override;
    Modemkanal(const Modemkanal&) = delete;
    Modemkanal& operator=(const Modemkanal&) = delete;

    // The bus side.
    int oeffnen(int port, int baud) override;
    void schliessen() override;
    // Only the plain bus line: in modem operation the port is opened again.
    bool auffrischen(int port, int baud) override;
    bool offen() const override;
    QByteArray lesen() override;
    bool schreiben(const QByteArray& bytes) override;
    void setzeDtr(bool an) override;
    bool sendetNoch() override;
    bool warten(std::chrono::microseconds dauer) override;

    // Whether a bus request can reach a meter now (see above).
    bool busErreichbar() const;
    // The bus timing through this line: as given, or with the modem's allowances in modem
    // operation.
    Zeitparameter zeitenFuer(Zeitparameter zeiten) const;

    // The modem side (Modemleitung, Modemdialog). Initialising and dialling start modem
    // operation, also when the port is not open (they then end at once: Modemdialog::ohnePort).
    void initialisieren(const QString& initBefehl);
    void waehlen(const QString& waehlText);
    void abbrechen();
    void auflegen();
    // One pass of the dialogue (or, connected and idle, one look at the line for "NO CARRIER");
    // gives TELStatus (Modemstatus.h).
    int telStatus();

    bool modembetrieb() const { return m_modembetrieb; }
    const Modemdialog& dialog() const { return m_modem.dialog(); }
    void setzeModemzeiten(const Modemzeiten& zeiten) { m_modem.setzeZeiten(zeiten); }
    const Modemzeiten& modemzeiten() const { return m_modem.zeiten(); }

private:
    class Port;

    void hereinholen();
    void aufheben(const QByteArray& daten);
    void modembetriebBeenden();

    std::unique_ptr<Buskanal> m_leitung;
    std::unique_ptr<Port> m_port;
    Modemleitung m_modem;
    bool m_modembetrieb = false;
    // Bytes of the remote bus read from the port and not yet taken by the bus side.
    QByteArray m_busEingang;
};

} // namespace mbus
