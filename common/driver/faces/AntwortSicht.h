#pragma once
// What the driver's getters read of the last exchange: the header and records of a decoded
// telegram (a CI 70 application error has a header and no records) and the frame's bytes.
// Anything else (running, acknowledgement, time-out, invalid answer) has no header and no
// records, so no getter can show data of an earlier answer.

#include "driver/engine/Ereignis.h"

#include <QByteArray>

class AntwortSicht
{
public:
    explicit AntwortSicht(const mbus::Ereignis& ereignis) : m_ereignis(ereignis) {}

    const mbus::Kopf* kopf() const;
    const mbus::Telegramm* telegramm() const;
    int anzahl() const;
    // Record by index from 0; nullptr out of range.
    const mbus::Datensatz* satz(int index) const;
    // A telegram's frame from 68 to 16; otherwise every byte that came back.
    QByteArray rahmen() const;

private:
    const mbus::Ereignis& m_ereignis;
};
