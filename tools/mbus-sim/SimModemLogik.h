#pragma once
// An AT modem in front of the simulated bus, without any I/O. It is fed the bytes the program
// sends and the passing time, and says what goes back to the program and what goes on to the bus.
//
// Command mode: lines starting with "AT", ended by CR, echoed while echo is on (ATE1, the
// default). ATD<number> dials: after the dialling time "CONNECT <speed>" (data mode), or BUSY,
// NO CARRIER, NO ANSWER, NO DIALTONE as the bus file says for that number; any character but LF
// during dialling aborts with NO CARRIER. ATH hangs up, ATO returns to data mode, ATZ and AT&F
// reset; every other well-formed command is accepted with OK, anything else gives ERROR.
// Data mode: bytes go to the bus; "+++" with a guard time of silence before and after returns to
// command mode with OK while the line stays up. When the remote side hangs up: NO CARRIER.
// Results are verbose and framed by CR LF as real modems send them.

#include "SimModem.h"

#include <QByteArray>
#include <QString>

struct SimModemAusgabe
{
    QByteArray anProgramm;
    QByteArray anBus;
};

class SimModemLogik
{
public:
    enum class Zustand { Befehle, Waehlt, Daten, BefehleVerbunden };

    explicit SimModemLogik(const SimModem& modem);

    SimModemAusgabe empfangen(const QByteArray& bytes, qint64 jetztNs);
    SimModemAusgabe zeitVergangen(qint64 jetztNs);
    qint64 naechsterTermin() const; // -1: nothing planned

    Zustand zustand() const { return m_zustand; }
    bool datenModus() const { return m_zustand == Zustand::Daten; }
    QString gewaehlt() const { return m_gewaehlt; } // last number dialled (digits only)

private:
    bool verbunden() const;
    void zeichenImBefehlsModus(char c, qint64 jetztNs, QByteArray& anProgramm);
    void zeichenImDatenModus(char c, qint64 jetztNs);
    void befehlsZeile(const QByteArray& zeile, qint64 jetztNs, QByteArray& anProgramm);
    void waehlen(const QByteArray& waehlText, qint64 jetztNs);
    void verbinden(qint64 jetztNs, QByteArray& anProgramm);
    void trennen();
    QByteArray verbindungsMeldung() const;

    SimModem m_modem;
    Zustand m_zustand = Zustand::Befehle;
    bool m_echo = true;
    QByteArray m_zeile;
    QString m_gewaehlt;
    SimWahl m_wahl;
    qint64 m_waehlEndeNs = -1;
    qint64 m_auflegenNs = -1;
    qint64 m_letzteDatenNs = 0;
    qint64 m_letztesPlusNs = 0;
    int m_plus = 0;
    qint64 m_fluchtNs = -1; // "+++" seen: command mode at this time unless data follows
};
