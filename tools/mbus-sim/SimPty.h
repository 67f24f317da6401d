#pragma once
// The pseudo-terminal the simulated bus is reached through. The program under test opens the
// slave side (geraet()) like a serial port; the simulator reads and writes the master side.
// The simulator keeps a slave descriptor of its own open: the terminal then stays usable while
// the program closes and reopens it, and the program's line settings (both sides share one
// termios) can be read from it.

#include <QString>

class SimPty
{
public:
    SimPty() = default;
    ~SimPty();
    SimPty(const SimPty&) = delete;
    SimPty& operator=(const SimPty&) = delete;

    bool oeffnen(QString* fehler);
    void schliessen();

    int master() const { return m_master; }
    QString geraet() const { return m_geraet; }
    // The line speed the program set (0 when it is none of the usual rates).
    int baud() const;

    // Non-blocking: bytes written (0 when the terminal's buffer is full), -1 on error.
    int schreiben(const char* bytes, int anzahl);
    // Non-blocking: reads what is there, at most anzahl bytes (0: nothing).
    int lesen(char* bytes, int anzahl);

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_geraet;
};
