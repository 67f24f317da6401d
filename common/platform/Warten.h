#pragma once
// Yielding from long loops on the one GUI thread.
//
// Every bus loop calls DoEvents or one of the waits between steps, so that windows stay
// responsive and stop buttons are seen. All of them report false once the program is shutting
// down; loops then stop, close what they opened and return.
//
// The waits block in the event loop: the process sleeps until an event comes (a byte on the
// watched device, a timer, a click) and handles every event that comes meanwhile, so other
// windows, timers and stop buttons run during a wait just as between two steps. Ending the program
// (ProgrammEndeMelden) ends every wait at once. Without a QCoreApplication the waits only sleep.

#include <QObject>
#include <QTimer>

// Processes pending events. Returns false when the program is shutting down.
bool DoEvents();

// Processes events for ms milliseconds, sleeping in between (0 or less: only the pending
// events). Returns false when the program is shutting down (also when that happens during the
// wait, which then ends at once).
bool Warten(int ms);

// One wait in the event loop that ends at its time, at the end of the program, or at any of the
// signals named with weckenBei (connected for this wait only). It hands the thread to the event
// dispatcher, which sleeps until an event comes; events that do not end the wait are handled and
// the sleep goes on.
//
//   Warteschleife warte;
//   warte.weckenBei(port, &QSerialPort::errorOccurred);
//   if (!warte.warten(50)) ... // the program is ending
class Warteschleife
{
public:
    Warteschleife();
    Warteschleife(const Warteschleife&) = delete;
    Warteschleife& operator=(const Warteschleife&) = delete;

    template <typename Sender, typename Signal> void weckenBei(const Sender* sender, Signal signal)
    {
        if (sender)
            QObject::connect(sender, signal, &m_frist, [this] { m_geweckt = true; });
    }
    // Processes events and sleeps until a signal named, ms milliseconds or the end of the
    // program (0 or less: only the pending events). False when the program is shutting down.
    bool warten(int ms);

private:
    // The deadline; also the context of the connections, which end with it.
    QTimer m_frist;
    bool m_geweckt = false;
};

// Marks the program as shutting down (set by the window that ends the program) and ends every
// wait that runs.
void ProgrammEndeMelden();
bool ProgrammEndet();
// Tests only: a fresh program state.
void ProgrammEndeZuruecksetzen();
