#pragma once
// A simulated M-Bus: line options, an optional modem in front of it and the meters on it.

#include "SimGeraeteserver.h"
#include "SimModem.h"
#include "SimZaehler.h"

#include <QList>

struct SimBus
{
    bool takt = true;       // pace bytes at 11 bits a character; false: answers at once
    int antwortBits = 11;   // answer delay after the end of a request: bit times ...
    int antwortMs = 3;      // ... plus milliseconds (kept when takt is false)
    bool echo = false;      // the level converter echoes every byte the master sends
    int rauschenAlleMs = 0; // a random byte at random times, on average this often (0: never)
    int kollisionsVersatzBits = 3; // how much later each further meter starts in a collision
    quint32 zufallsKeim = 1;       // seed of the noise and of nothing else
    SimModem modem;
    SimGeraeteserverEinstellung geraeteserver; // UDP peer of the reset exchange
    QList<SimZaehler> zaehler;
};
