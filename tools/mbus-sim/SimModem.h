#pragma once
// The AT modem that can stand in front of a simulated bus.

#include <QList>
#include <QString>

// What dialling one number gives.
struct SimWahl
{
    QString nummer;               // digits of the number; "*" stands for every number not listed
    QString ergebnis = "CONNECT"; // CONNECT, BUSY, NO CARRIER, NO ANSWER or NO DIALTONE
    int verbindungsBaud = 0;      // speed shown after CONNECT (0: the modem's default)
    int verzoegerungMs = -1;      // time until the result (-1: the modem's dialling time)
};

struct SimModem
{
    bool vorhanden = false;     // false: the program talks to the bus directly
    int waehlzeitMs = 2000;     // from ATD to the result
    int schutzzeitMs = 1000;    // silence before and after "+++"
    int verbindungsBaud = 9600; // speed shown after CONNECT
    int busBaud = 2400;         // line speed of the bus behind the remote modem
    int auflegenNachMs = 0;     // the remote side hangs up this long after CONNECT (0: never)
    bool echo = true;           // command echo after ATZ and AT&F
    QList<SimWahl> nummern;
};
