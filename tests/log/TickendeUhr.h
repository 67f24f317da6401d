#pragma once
// A clock that moves on by one second each time it is read: a log that reads the clock twice for
// one entry shows it at a day boundary.

#include "platform/Uhr.h"

class TickendeUhr : public Uhr
{
public:
    explicit TickendeUhr(QDateTime start) : m_zeit(start) {}
    QDateTime jetzt() const override
    {
        const QDateTime zeit = m_zeit;
        m_zeit = m_zeit.addSecs(1);
        return zeit;
    }

private:
    mutable QDateTime m_zeit;
};
