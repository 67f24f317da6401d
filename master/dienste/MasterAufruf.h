#pragma once
// The master's switches on its command line (the arguments joined by blanks):
//
//   "-C<port>"     COM port; the switch is found in any letter case, the number is the text
//                  from behind the switch up to the next blank ("-C 3" gives 0)
//   "-T<ms>"       pause before each meter in milliseconds, upper case only; 0.1 s without it
//   "Auto"         start the cycle at once and minimise (exact case)
//   "testzaehler"  show the test buttons (any case)
//   "TEST "        step mode of the cycle (found in the upper-cased line)

#include <QString>

struct MasterAufruf
{
    int comPort = 0;         // MasterComPort: 0 when the switch is missing
    double meterPause = 0.1; // MeterPause in seconds
    bool autoStart = false;
    bool testzaehler = false;
    bool schrittModus = false;
};

MasterAufruf MasterAufrufLesen(const QString& zeile);

// The leading number behind the switch found at position p of the line, cut at the next blank.
double SchalterWert(const QString& zeile, qsizetype p);
