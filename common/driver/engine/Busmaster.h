#pragma once
// The master side of the link layer for one bus: builds each request, runs one exchange at a time
// and keeps the frame count bit of every address. No I/O: the caller sends the bytes of the
// Sendung, feeds back what arrives and reports the time.
//
// Frame count bit: REQ_UD2 carries FCV and FCB. After SND_NKE to an address (or to every meter)
// its next REQ_UD2 has FCB 1; FCB toggles once a REQ_UD2 was answered by a sound frame, so that a
// request whose answer got lost is repeated with the same FCB and the meter repeats its
// telegram instead of moving on. Selecting a meter by its secondary address starts address 253
// afresh.
//
// A request to a primary address (0 to 250) is answered only by a long frame with that address;
// one naming another address answered something else (see Austausch) and comes out of
// fremdeBytes().

#include "Austausch.h"
#include "Auswahlmaske.h"
#include "frames/MBusAdresse.h"

#include <array>
#include <optional>

namespace mbus {

struct Sendung
{
    QByteArray bytes; // to put on the bus now
    Buszeit frist;    // report the time to the master once it has passed
};

class Busmaster
{
public:
    explicit Busmaster(const Zeitparameter& zeiten = kStandardZeiten);

    void setzeZeiten(const Zeitparameter& zeiten) { m_zeiten = zeiten; }
    const Zeitparameter& zeiten() const { return m_zeiten; }

    // Each starts a new exchange (one still running is abandoned).
    Sendung sndNke(MBusAdresse adresse, Buszeit jetzt);
    Sendung reqUd2(MBusAdresse adresse, Buszeit jetzt);
    // SND_UD to 253 with CI 52; none (and nothing starts) when the mask is not valid.
    std::optional<Sendung> waehle(const Auswahlmaske& maske, Buszeit jetzt);
    // A frame as given; none (and nothing starts) when it is empty. A frame to address 255
    // expects no answer.
    std::optional<Sendung> sendeRoh(const QByteArray& rahmen, Buszeit jetzt);

    void empfange(QByteArrayView stueck, Buszeit jetzt);
    // Ends the exchange once its deadline has passed; gives its outcome (Laeuft before).
    const Ereignis& zeitAbgelaufen(Buszeit jetzt);

    bool laeuft() const { return m_austausch && m_austausch->laeuft(); }
    std::optional<Buszeit> frist() const;
    // The last exchange's outcome; before the first, idle (Gesendet).
    const Ereignis& ereignis() const;
    // APPReceiveTest: 255 running, 0 idle, 1, 3, 5, 6 (see Ereignis.h).
    int empfangsTest() const;
    // Bytes of the running or last exchange that answered another request, handed out once.
    QByteArray fremdeBytes();
    // The FCB the next REQ_UD2 to this address carries.
    bool naechstesFcb(MBusAdresse adresse) const { return m_fcb[adresse.wert()]; }

private:
    Sendung starte(QByteArray anfrage, bool antwortErwartet, Buszeit jetzt,
                   std::optional<std::uint8_t> fcbAdresse,
                   std::optional<std::uint8_t> antwortadresse);
    void zaehleRahmen(bool liefVorher);

    Zeitparameter m_zeiten;
    std::optional<Austausch> m_austausch;
    // Address of the running REQ_UD2, whose FCB toggles on a sound answer.
    std::optional<std::uint8_t> m_fcbAdresse;
    std::array<bool, 256> m_fcb{};
    Ereignis m_leerlauf{Ereignisart::Gesendet, 0, {}, std::nullopt};
};

} // namespace mbus
