#pragma once
// Some level converters hear the master's own frame and send it back in front of the meter's
// answer. The filter takes those bytes out: as long as the arriving bytes repeat the request
// sent, they are held back; once the whole request has come back, everything after it is the
// answer. A byte that does not repeat the request ends the filtering and gives back what was
// held, so an answer that merely begins like the request is never lost.

#include <QByteArray>
#include <QByteArrayView>

namespace mbus {

class Echofilter
{
public:
    // A new request went out: its echo may come.
    void erwarte(const QByteArray& gesendet);
    // The bytes that belong to the answer.
    QByteArray filtern(QByteArrayView bytes);

private:
    QByteArray m_gesendet;
    qsizetype m_position = 0;
    bool m_aktiv = false;
};

} // namespace mbus
