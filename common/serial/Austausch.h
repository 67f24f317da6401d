#pragma once
// Pieces shared by the exchange services (not for use outside common/serial).

#include "serial/SerielleSchnittstelle.h"

#include <QElapsedTimer>
#include <QString>

inline const QString kTextBeschaeftigt =
    QStringLiteral("Die Schnittstelle ist mit einem anderen Austausch beschäftigt");
inline const QString kTextProgrammende = QStringLiteral("Abbruch: Das Programm wird beendet");

// Marks the control busy for as long as one exchange service waits on it.
class Austauschsperre
{
public:
    explicit Austauschsperre(SerielleSchnittstelle& comm)
        : m_comm(comm), m_erhalten(!comm.beschaeftigt())
    {
        if (m_erhalten)
            m_comm.setBeschaeftigt(true);
    }
    ~Austauschsperre()
    {
        if (m_erhalten)
            m_comm.setBeschaeftigt(false);
    }
    Austauschsperre(const Austauschsperre&) = delete;
    Austauschsperre& operator=(const Austauschsperre&) = delete;

    bool erhalten() const { return m_erhalten; }

private:
    SerielleSchnittstelle& m_comm;
    bool m_erhalten = false;
};

// Waits until more than the seconds have passed since the timer's start, in the event loop (other
// events run meanwhile; a delay that has passed already only yields once). False when the
// program is ending.
bool WartenUeber(const QElapsedTimer& seit, double sekunden);
