#pragma once
// The line Modemleitung talks to the modem over: bytes in and out, and the DTR line. Nothing
// here waits but warten(). SeriellerModemport puts it on the serial control; the driver can put it
// on its own bus line, and tests on a scripted one.

#include <QByteArray>

#include <chrono>

namespace mbus {

class Modemport
{
public:
    virtual ~Modemport() = default;

    // False also once the device was lost while open.
    virtual bool offen() const = 0;
    // Every byte that has arrived and was not read yet.
    virtual QByteArray lesen() = 0;
    // Starts sending; false when the bytes cannot go out.
    virtual bool schreiben(const QByteArray& bytes) = 0;
    // Sets DTR; a line without modem lines passes over it.
    virtual void setzeDtr(bool an) = 0;
    // Whether bytes handed over are still on their way out (false when the line cannot tell).
    virtual bool sendetNoch() = 0;
    // Sleeps in the event loop (other events run) until bytes arrive, the time has passed or the
    // program is ending (then false). A line that cannot signal (a scripted one) only yields.
    virtual bool warten(std::chrono::microseconds dauer);
};

} // namespace mbus
