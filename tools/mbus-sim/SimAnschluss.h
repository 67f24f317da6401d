#pragma once
// Where the program reaches the simulated bus: a pseudo-terminal (SimPty) or a TCP port as a
// serial device server offers it (SimTcp). The simulator's thread waits on wartenAuf(), reads
// what came and writes what is due; everything else about the bus lives elsewhere.

#include <QString>

class SimAnschluss
{
public:
    virtual ~SimAnschluss() = default;

    virtual bool oeffnen(QString* fehler) = 0;
    virtual void schliessen() = 0;

    // The descriptor the simulator's thread polls for input (-1 while closed).
    virtual int wartenAuf() const = 0;
    // What the program opens: the terminal's path or "127.0.0.1:<port>" ("" while closed).
    virtual QString geraet() const = 0;
    // The line speed (0 when it is none of the usual rates).
    virtual int baud() const = 0;

    // Non-blocking: bytes written (0 when the buffer is full), -1 on error.
    virtual int schreiben(const char* bytes, int anzahl) = 0;
    // Non-blocking: reads what is there, at most anzahl bytes (0: nothing).
    virtual int lesen(char* bytes, int anzahl) = 0;
    // The descriptor reported hang-up or error without data. True: nothing to do about it but
    // wait a little before polling again.
    virtual bool gestoert() = 0;
    // A further descriptor the thread polls for input (-1: none), and what to do when it has
    // some.
    virtual int wartenAufNebenbei() const { return -1; }
    virtual void nebenbeiLesen() {}
};
