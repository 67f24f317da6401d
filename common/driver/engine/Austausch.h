#pragma once
// One exchange on the bus as a state machine without I/O: a request, then the answer window,
// then the answer until the line falls silent. The caller sends anfrage() when it calls
// beginne(), hands over every received piece with empfange(), and calls zeitAbgelaufen() once
// frist() has passed; the exchange then ends with one Ereignis (or, see below, sets a later
// deadline). Bytes that arrive after the end belong to nobody and are ignored.
//
// End of the answer: Antwortpause of silence behind the last byte, or at once when the bytes are
// exactly one sound long frame (two meters answering at once garble the frame itself). While the
// bytes so far are a long frame that its own length field says is still incomplete, that silence
// does not end it yet: the exchange waits on up to RahmenPause behind the last byte, so that a line
// adapter holding back part of a frame does not cut it short. Either way every exchange ends at its
// hard limit, Antwortgrenze after the answer window, however the bytes trickle in.
//
// Answer window: a meter's answer must start within Antwortfenster behind the request's last
// byte; with silence until Antwortfrist (one character past the window, so that an answer that
// starts at its very end is in hand) the exchange ends as a time-out.
//
// Answers of other meters: a request to one primary address (0 to 250) is answered by that
// meter, whose long frame carries that address. A sound long frame that names another address
// is no answer to it (a meter answering an earlier request too late): its bytes are handed out
// as foreign (fremdeBytes()) and the exchange waits on for its own answer, up to the end of the
// answer window or the silence behind those bytes, whichever is later.

#include "Ereignis.h"
#include "Zeitparameter.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <optional>

namespace mbus {

class Austausch
{
public:
    // antwortErwartet false: a request to every meter without answer (address 255); it ends
    // with Gesendet once the answer window has passed in silence.
    // adresse: the primary address asked (0 to 250), whose long frame alone answers it; none
    // for requests to 253, 254 and 255.
    Austausch(QByteArray anfrage, bool antwortErwartet, const Zeitparameter& zeiten,
              std::optional<std::uint8_t> adresse = std::nullopt);

    const QByteArray& anfrage() const { return m_anfrage; }
    bool antwortErwartet() const { return m_antwortErwartet; }

    // The request goes out now; gives the deadline: the time to send it plus Antwortfrist.
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
    // Bytes received that answered another request (see above), handed out once.
    QByteArray fremdeBytes();

private:
    enum class Zustand { Bereit, Wartet, Beendet };

    // Sets a frame of another meter aside; true when it was one.
    bool fremdesAbgeben();
    void beende();

    QByteArray m_anfrage;
    bool m_antwortErwartet = true;
    Zeitparameter m_zeiten;
    std::optional<std::uint8_t> m_adresse;
    Zustand m_zustand = Zustand::Bereit;
    Buszeit m_frist{0};
    Buszeit m_fensterEnde{0}; // the request's end plus Antwortfrist
    Buszeit m_grenze{0}; // the hard limit
    Buszeit m_letzterEmpfang{0};
    QByteArray m_empfangen;
    QByteArray m_fremd;
    Ereignis m_ereignis;
};

} // namespace mbus
