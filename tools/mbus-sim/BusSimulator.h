#pragma once
// A simulated M-Bus on a pseudo-terminal, for tests and for trying the program without hardware.
//
//     SimBus bus;
//     QString fehler;
//     BusSimulator::busDateiLesen("beispiel.bus", bus, &fehler);
//     BusSimulator sim(bus);
//     sim.starten(&fehler);
//     // the program opens sim.geraet() (e.g. /dev/pts/7) at its baud rate, 8E1
//
// The simulator sees the program's line speed on its side of the terminal (parity travels not);
// meters hear only frames sent at their own baud rate. Bytes leave at the pace of a real line
// (11 bits a character) unless the bus file switches pacing off. Everything runs in a thread of
// its own; the inspection functions may be called from any thread at any time.
//
// startenTcp() offers the bus on a TCP port of 127.0.0.1 instead, as a serial device server
// does: the bytes of the connection go onto the line at a fixed speed and the answers come back.

#include "SimBus.h"
#include "SimBusLogik.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

class SimAnschluss;
class SimGeraeteserver;
class SimModemLogik;

class BusSimulator
{
public:
    explicit BusSimulator(const SimBus& bus);
    ~BusSimulator();
    BusSimulator(const BusSimulator&) = delete;
    BusSimulator& operator=(const BusSimulator&) = delete;

    // Bus-file format (README.md). Errors: false and *fehler = "Zeile <n>: ...".
    static bool busTextLesen(const QString& text, SimBus& bus, QString* fehler);
    static bool busDateiLesen(const QString& pfad, SimBus& bus, QString* fehler);

    // Opens the terminal and runs the bus in its own thread, every meter in its initial state.
    bool starten(QString* fehler = nullptr);
    // The same behind a TCP port on 127.0.0.1 (0: a free one, see tcpPort()), the line at baud.
    bool startenTcp(quint16 port, int baud, QString* fehler = nullptr);
    void stoppen();
    bool laeuft() const { return m_thread.joinable(); }
    // Path of the terminal's slave side, e.g. /dev/pts/7, or "127.0.0.1:<port>" ("" while
    // stopped).
    QString geraet() const;
    quint16 tcpPort() const; // 0 unless started with startenTcp()

    // Inspection, in the order of the meters in the bus.
    int zaehlerAnzahl() const;
    SimZaehlerStand zaehlerStand(int index) const;
    void fehlerSetzen(int index, const SimFehler& fehler);
    // Frames received from the program; their times count from starten().
    QList<SimEmpfangenerRahmen> empfangeneRahmen() const;
    void rahmenVergessen();
    // Waits until at least anzahl frames have been received (false when msMax ran out first).
    bool warteAufRahmen(int anzahl, int msMax) const;
    SimBusStatistik statistik() const;
    int leitungsBaud() const; // the speed the program set on its side (0: unusual or unknown)
    bool modemVerbunden() const;
    // The device server's UDP peer of a "geraeteserver" line (nullptr without one, or stopped).
    const SimGeraeteserver* geraeteserver() const;
    QString modemNummer() const; // the number dialled last

    // A line for every frame received and every answer sent, called from the simulator's thread.
    void protokollSetzen(std::function<void(const QString&)> ausgabe);

private:
    bool startenMit(std::unique_ptr<SimAnschluss> anschluss, QString* fehler);
    void lauf();
    qint64 jetztNs() const;
    void eingang(const QByteArray& bytes, qint64 jetztNs);
    void anBus(const QByteArray& bytes, int baud, qint64 jetztNs);
    void termine(qint64 jetztNs);
    void ausgeben(const QList<SimAusgabe>& ausgabe);
    void anProgramm(const QByteArray& text, qint64 abNs);
    bool ausgangsZeitpunkt(qint64* zeitNs) const;
    void faelligeSchreiben(qint64 jetztNs);
    void protokoll(const QString& zeile) const;
    int busBaud() const;

    const SimBus m_bus;
    std::unique_ptr<SimAnschluss> m_anschluss;
    quint16 m_tcpPort = 0;
    std::unique_ptr<SimBusLogik> m_logik;
    std::unique_ptr<SimModemLogik> m_modem;
    std::unique_ptr<SimGeraeteserver> m_geraeteserver;
    std::multimap<qint64, quint8> m_ausgang; // bytes due, by time
    bool m_blockiert = false;                // the terminal's buffer was full
    std::function<void(const QString&)> m_protokoll;
    std::chrono::steady_clock::time_point m_start;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_neueRahmen;
    std::thread m_thread;
    std::atomic<bool> m_stopp{false};
    int m_weckFd = -1;
};
