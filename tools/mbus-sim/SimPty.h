#pragma once
// The pseudo-terminal the simulated bus is reached through. The program under test opens the
// slave side (geraet()) like a serial port; the simulator reads and writes the master side.
// The simulator keeps a slave descriptor of its own open: the terminal then stays usable while
// the program closes and reopens it, and the program's line settings (both sides share one
// termios) can be read from it.
//
// A serial port loses its exclusive-use flag (TIOCEXCL, which the serial layer sets on open)
// with its last close. The terminal never has its last close while the simulator holds it, so
// the simulator watches the closes of the terminal's path (inotify) and, after each, clears the
// flag once no descriptor but its own refers to the terminal (looked up in /proc), also when the
// program was killed: the next one then opens it as it would open the hardware.

#include "SimAnschluss.h"

class SimPty : public SimAnschluss
{
public:
    SimPty() = default;
    ~SimPty() override;
    SimPty(const SimPty&) = delete;
    SimPty& operator=(const SimPty&) = delete;

    bool oeffnen(QString* fehler) override;
    void schliessen() override;

    int wartenAuf() const override { return m_master; }
    QString geraet() const override { return m_geraet; }
    // The line speed the program set (0 when it is none of the usual rates).
    int baud() const override;

    int schreiben(const char* bytes, int anzahl) override;
    int lesen(char* bytes, int anzahl) override;
    // Nobody holds the slave side open: wait a little before looking again.
    bool gestoert() override { return true; }
    int wartenAufNebenbei() const override { return m_beobachter; }
    void nebenbeiLesen() override;

private:
    int m_master = -1;
    int m_slave = -1;
    int m_beobachter = -1; // inotify on the terminal's path (-1: none)
    QString m_geraet;
};
