#pragma once
// Takes frames out of the bytes the master sends, by the frame structure alone: a frame counts
// when it is complete and sound (start characters, both length fields, checksum, stop
// character). Whatever cannot begin a sound frame is dropped one byte at a time, so the reader
// finds its way back into the byte stream after garbage.

#include "SimRahmen.h"

#include <QList>

#include <optional>

class SimRahmenLeser
{
public:
    // One character complete on the line at endeNs, received at line speed baud.
    void anfuegen(quint8 byte, int baud, qint64 endeNs);
    // The next complete frame, or nothing while the bytes so far do not yet make one.
    std::optional<SimRahmen> naechster();
    // Bytes dropped so far.
    int verworfen() const { return m_verworfen; }
    void leeren();

private:
    struct Empfangen
    {
        quint8 byte;
        int baud;
        qint64 endeNs;
    };
    enum class Pruefung { Rahmen, Unvollstaendig, Falsch };

    Pruefung pruefen(int ab, int* laenge) const;
    SimRahmen nehmen(int ab, int laenge);
    quint8 an(int i) const { return m_puffer[i].byte; }

    QList<Empfangen> m_puffer;
    int m_verworfen = 0;
};
