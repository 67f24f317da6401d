#pragma once
// The bus side of a pseudo-terminal: the program opens the terminal's device as its serial port,
// the test reads what the program sends and writes what a meter would answer.

#include <QByteArray>
#include <QString>

#include <chrono>

class PtyBus
{
public:
    PtyBus();
    ~PtyBus() { schliessen(); }
    PtyBus(const PtyBus&) = delete;
    PtyBus& operator=(const PtyBus&) = delete;

    bool gueltig() const { return m_master >= 0; }
    // The device the program opens ("/dev/pts/7").
    QString geraet() const { return m_geraet; }
    // Writes all bytes (waits while the terminal is full, at most a second).
    void schreiben(const QByteArray& bytes) const;
    // Reads until n bytes have come or the time is up; returns what came.
    QByteArray lesen(qsizetype n, std::chrono::milliseconds frist) const;
    // The baud rate the program set on its side: 2400, 9600, 921600 or 0 for another.
    int baud() const;
    // Pulls the plug: the program's side of the terminal hangs up.
    void schliessen();

private:
    int m_master = -1;
    QString m_geraet;
};

// An M-Bus long frame: 68 L L 68, the bytes, checksum, 16.
QByteArray LangerRahmen(const QByteArray& daten);
