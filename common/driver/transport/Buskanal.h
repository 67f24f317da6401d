#pragma once
// The line the bus master talks over: a port that opens at a baud rate, takes bytes to send and
// gives the bytes that have arrived. Nothing here waits but warten(). The serial port is one such
// line; tests plug in scripted ones.

#include <QByteArray>

#include <chrono>

namespace mbus {

class Buskanal
{
public:
    virtual ~Buskanal() = default;

    // Opens port number `port` (COM n) at `baud`, 8 data bits, even parity, 1 stop bit; an open
    // port is closed first. 0 when open, else the serial control's error number.
    virtual int oeffnen(int port, int baud) = 0;
    virtual void schliessen() = 0;
    // A port that is open already as port number `port` at `baud`, on the device that number
    // stands for now, and still working, is made ready for a new exchange as a fresh open would
    // leave it (what arrived or waits to be sent is dropped, DTR on, RTS off) without closing
    // it: true. Otherwise nothing is done and the caller opens the port: false (also from a line
    // that cannot tell).
    virtual bool auffrischen(int /*port*/, int /*baud*/) { return false; }
    // False also once the device was lost while open.
    virtual bool offen() const = 0;
    // Every byte that has arrived and was not read yet (nothing when closed).
    virtual QByteArray lesen() = 0;
    // Starts sending; false when the port is closed or the device refused the bytes.
    virtual bool schreiben(const QByteArray& bytes) = 0;
    // The modem lines a modem in front of the bus needs: sets DTR (a line without modem lines
    // passes over it), and whether bytes handed over are still on their way out (false when the
    // line cannot tell).
    virtual void setzeDtr(bool /*an*/) {}
    virtual bool sendetNoch() { return false; }
    // Sleeps in the event loop (other events run) until bytes arrive, bytes were handed on, the
    // port closes, the time has passed or the program is ending (then false). A line that cannot
    // signal (a scripted one, whose time the test moves) only yields once.
    virtual bool warten(std::chrono::microseconds dauer);
};

} // namespace mbus
