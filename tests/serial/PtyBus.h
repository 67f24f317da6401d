#pragma once
// The bus side of a pseudo-terminal: the program opens the terminal's device as its serial port,
// the test reads what the program sends and writes what a meter would answer.

#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>

class PtyBus
{
public:
    PtyBus();
    ~PtyBus();
    PtyBus(const PtyBus&) = delete;
    PtyBus& operator=(const PtyBus&) = delete;

    bool gueltig() const { return m_master >= 0; }
    // The device the program opens ("/dev/pts/7").
    QString geraet() const { return m_geraet; }

    // Writes all bytes (waits while the terminal is full, at most a second).
    void schreiben(const QByteArray& bytes) const;
    // Writes as long as the flag is set, without pause: the terminal stays full, so every read
    // on the program's side finds bytes.
    void plappern(const std::atomic<bool>& weiter) const;
    // Reads until n bytes have come or the time is up; returns what came.
    QByteArray lesen(qsizetype n, std::chrono::milliseconds frist) const;
    // Reads what comes until the line has been silent for the given time.
    QByteArray lesenBisStille(std::chrono::milliseconds stille,
                              std::chrono::milliseconds frist = std::chrono::seconds(5)) const;
    // The baud rate the program set on its side (0 when unknown).
    int baud() const;
    // Pulls the plug: the program's side of the terminal hangs up.
    void schliessen();

private:
    int m_master = -1;
    QString m_geraet;
};

// An M-Bus long frame: 68 L L 68, the bytes, checksum, 16.
QByteArray LangerRahmen(const QByteArray& daten);
