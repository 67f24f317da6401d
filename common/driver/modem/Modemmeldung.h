#pragma once
// What one line from the modem in command mode says.
//
// Result codes are recognised in their verbose form ("OK", "CONNECT 9600", "NO CARRIER" ...)
// and, for modems set to numeric results (V0), as the Hayes numbers (0 OK, 1 CONNECT, 2 RING,
// 3 NO CARRIER, 4 ERROR, 5 CONNECT 1200, 6 NO DIALTONE, 7 BUSY, 8 NO ANSWER, 9 and above
// CONNECT at some speed). A line that starts with "AT" is the echo of a command. Line noise in
// front of a result does not hide it: the result words are looked for at the end of the line.

#include <QByteArray>
#include <QString>

namespace mbus {

enum class Meldungsart {
    Keine, // empty line
    Echo,  // the echo of a command line
    Ok,
    Connect,
    Ring,
    NoCarrier,
    Error,
    NoDialtone,
    Busy,
    NoAnswer,
    Sonstige, // anything else (information text, noise)
};

struct Modemmeldung
{
    Meldungsart art = Meldungsart::Keine;
    // The result as modems spell it, e.g. "BUSY", "CONNECT 9600"; the line itself for Sonstige.
    QString text;
    // After "CONNECT": what follows the word, e.g. "9600" or "9600/ARQ" ("" when nothing).
    QString zusatz;
};

// A line as the modem sent it, without its CR and LF, and with line noise removed: only the
// printable ASCII characters are kept (see ModemzeileBereinigen).
Modemmeldung MeldungDeuten(const QByteArray& zeile);

// Keeps the printable ASCII characters of a line, without blanks at either end.
QByteArray ModemzeileBereinigen(const QByteArray& zeile);

// Whether the result ends a dial (CONNECT or one of the failures).
bool BeendetWahl(Meldungsart art);

} // namespace mbus
