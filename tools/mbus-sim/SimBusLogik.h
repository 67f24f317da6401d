#pragma once
// The simulated bus without any I/O: it is fed the bytes the master sent (with their line speed
// and arrival time), takes frames out of them, lets every meter react, and returns the bytes to
// send back, each with the time it is due. Times are nanoseconds on the caller's monotonic clock.
//
// Timing: a character takes 11 bit times at the line speed. A request counts as complete when
// its last character would have been complete on a real line; the answer starts the answer delay
// (bit times + milliseconds, or the meter's own delay) after that, to the nanosecond: its first
// character begins then and is complete 11 bit times later, and the others follow without gaps.
// With pacing off, the request still takes its time on the line and the answer its delay, but
// all characters of an answer are due at once.

#include "SimBus.h"
#include "SimLeitung.h"
#include "SimRahmenLeser.h"
#include "SimZaehlerAutomat.h"

#include <QList>

#include <random>

struct SimAusgabe
{
    qint64 zeitNs = 0; // when the character is complete at the master's side
    quint8 byte = 0;
};

struct SimEmpfangenerRahmen
{
    QByteArray bytes;
    int baud = 0;      // line speed it came at (0: not all bytes at one speed)
    qint64 zeitNs = 0; // when its last character was complete
};

struct SimBusStatistik
{
    int rahmen = 0;          // frames taken from the master's bytes
    int verworfeneBytes = 0; // bytes that were no part of a frame
    int quittungen = 0;      // E5 characters meters sent
    int telegramme = 0;      // RSP_UD meters sent
    int kollisionen = 0;     // frames that several meters answered at once
    int rauschBytes = 0;     // noise bytes sent
};

class SimBusLogik
{
public:
    explicit SimBusLogik(const SimBus& bus);

    QList<SimAusgabe> empfangen(const QByteArray& bytes, int baud, qint64 jetztNs);
    // Noise at random times, when the bus has it; call again at naechsterTermin().
    QList<SimAusgabe> zeitVergangen(qint64 jetztNs, int baud);
    qint64 naechsterTermin() const { return m_naechstesRauschenNs; } // -1: nothing planned

    int zaehlerAnzahl() const { return static_cast<int>(m_zaehler.size()); }
    SimZaehlerStand zaehlerStand(int index) const { return m_zaehler[index].stand(); }
    const SimZaehler& zaehlerBeschreibung(int index) const;
    void fehlerSetzen(int index, const SimFehler& fehler);
    const QList<SimEmpfangenerRahmen>& rahmen() const { return m_rahmen; }
    void rahmenVergessen() { m_rahmen.clear(); }
    SimBusStatistik statistik() const;

private:
    QList<SimAusgabe> antworten(const SimRahmen& rahmen);
    QList<SimZeichen> zeichenfolge(const SimAntwort& antwort, const SimFehler& fehler, int baud);
    void zufallsBytes(int anzahl, QList<SimZeichen>& zeichen, qint64& bit, qint64 zusatzNs,
                      qint64 restNs);
    qint64 zeichenEndeNs(const SimZeichen& z, int baud) const;

    SimBus m_bus;
    QList<SimZaehlerAutomat> m_zaehler;
    SimRahmenLeser m_leser;
    QList<SimEmpfangenerRahmen> m_rahmen;
    SimBusStatistik m_statistik;
    qint64 m_leitungFreiNs = 0;
    qint64 m_naechstesRauschenNs = -1;
    std::mt19937 m_zufall;
};
