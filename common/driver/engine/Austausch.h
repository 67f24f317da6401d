#pragma once
// One exchange on the bus as a state machine without I/O: a request, then the answer window,
// then the answer until the line falls silent. The caller sends anfrage() when it calls
// beginne(), hands over every received piece with empfange(), and calls zeitAbgelaufen() once
// frist() has passed; the exchange then ends with one Ereignis (or, see below, sets a later
// deadline). Bytes that arrive after the end belong to nobody and are ignored.
//
// End of the answer: Antwortpause of silence behind the last byte, or at once when the bytes are
// exactly one sound long frame (two meters answering at once garble the frame itself). While the bytes so far are a
// long frame that its own length field says is still incomplete, that silence does not end it
// yet: the exchange waits on up to RahmenPause behind the last byte, so that a line adapter
// holding back part of a frame does not cut it short. Either way every exchange ends at its hard
// limit, Antwortgrenze after the answer window, however the bytes trickle in.

#include "Ereignis.h"
#include "Zeitparameter.h"

#include <QByteArray>
#include <QByteArrayView>

namespace mbus {

class Austausch
{
public:
    // antwortErwartet false: a request to every meter without answer (address 255); it ends
    // with Gesendet once the answer window has passed in silence.
    Austausch(QByteArray anfrage, bool antwortErwartet, const Zeitparameter& zeiten);

    const QByteArray& anfrage() const { return m_anfrage; }
    bool antwortErwartet() const { return m_antwortErwartet; }

    // The request goes out now; gives the deadline: the time to send it plus the answer window.
    Buszeit beginne(Buszeit jetzt);
    // A piece of the answer arrived; the answer ends after the pause behind its last byte (or at
    // once when more arrived than any single answer can hold).
    void empfange(QByteArrayView stueck, Buszeit jetzt);
    // Before the deadline nothing changes; at or after it the exchange ends, unless an
    // incomplete long frame moves the deadline on (see above).
    const Ereignis& zeitAbgelaufen(Buszeit jetzt);

    bool laeuft() const { return m_zustand == Zustand::Wartet; }
    bool beendet() const { return m_zustand == Zustand::Beendet; }
    Buszeit frist() const { return m_frist; }
    const Ereignis& ereignis() const { return m_ereignis; }

private:
    enum class Zustand { Bereit, Wartet, Beendet };

    void beende();

    QByteArray m_anfrage;
    bool m_antwortErwartet = true;
    Zeitparameter m_zeiten;
    Zustand m_zustand = Zustand::Bereit;
    Buszeit m_frist{0};
    Buszeit m_grenze{0}; // the hard limit
    Buszeit m_letzterEmpfang{0};
    QByteArray m_empfangen;
    Ereignis m_ereignis;
};

} // namespace mbus
