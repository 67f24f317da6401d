#include "Busanschluss.h"

#include "SeriellerBuskanal.h"
#include "driver/engine/Antwortpruefung.h"
#include "serial/ComFehler.h"

#include <algorithm>
#include <utility>

namespace mbus {

namespace {

const Ereignis kLaufend{};

Ereignis Ergebnis(Ereignisart art, int fehlerbits)
{
    Ereignis ereignis;
    ereignis.art = art;
    ereignis.empfangsfehler = fehlerbits;
    return ereignis;
}

bool Fehlgeschlagen(const Ereignis& ereignis)
{
    return ereignis.art == Ereignisart::Zeitueberschreitung ||
           ereignis.art == Ereignisart::Ungueltig;
}

} // namespace

Busanschluss::Busanschluss(std::unique_ptr<Buskanal> kanal, std::unique_ptr<Busuhr> uhr)
    : m_kanal(std::make_unique<Modemkanal>(kanal ? std::move(kanal)
                                                 : std::make_unique<SeriellerBuskanal>())),
      m_uhr(uhr ? std::move(uhr) : std::make_unique<MonotoneBusuhr>()),
      m_oeffnenFehler(ComFehler::kNichtGeoeffnet)
{
}

Busanschluss::~Busanschluss()
{
    m_kanal->schliessen();
}

int Busanschluss::oeffnen(int port, int baud)
{
    if (laeuft())
        beendeOhneAntwort();
    // Open so already (a caller that opens before every meter): the port stays open and only
    // drops what is on the line. It was not touched, so the dead time still runs from the last
    // byte on the line.
    if (baud > 0 && m_oeffnenFehler == 0 && offenAuf(port, baud) &&
        m_kanal->auffrischen(port, baud))
        return 0;
    if (baud > 0) {
        m_oeffnenFehler = m_kanal->oeffnen(port, baud);
    } else {
        m_kanal->schliessen();
        m_oeffnenFehler = ComFehler::kUngueltigerWert;
    }
    if (m_oeffnenFehler == 0) {
        m_baud = baud;
        m_port = port;
        m_letzteAktivitaet = m_uhr->jetzt();
    } else {
        m_port = 0;
    }
    return m_oeffnenFehler;
}

void Busanschluss::schliessen()
{
    if (laeuft())
        beendeOhneAntwort();
    m_kanal->schliessen();
    m_oeffnenFehler = ComFehler::kNichtGeoeffnet;
    m_port = 0;
}

bool Busanschluss::offen() const
{
    return m_kanal->offen();
}

bool Busanschluss::offenAuf(int port, int baud) const
{
    return offen() && m_port == port && m_baud == baud;
}

bool Busanschluss::busErreichbar() const
{
    return offen() && m_kanal->busErreichbar();
}

void Busanschluss::setzeZeiten(const Zeitparameter& zeiten)
{
    m_zeiten = zeiten;
}

Zeitparameter Busanschluss::zeiten() const
{
    Zeitparameter zeiten = m_zeiten;
    zeiten.baud = m_baud;
    return m_kanal->zeitenFuer(zeiten);
}

void Busanschluss::sndNke(MBusAdresse adresse)
{
    beginne(Anfrage{Anfrage::Art::SndNke, adresse, {}, {}});
}

void Busanschluss::reqUd2(MBusAdresse adresse)
{
    beginne(Anfrage{Anfrage::Art::ReqUd2, adresse, {}, {}});
}

void Busanschluss::waehle(const Auswahlmaske& maske)
{
    if (!AuswahlBytes(maske)) {
        abweisen(kFehlerSonstiger);
        return;
    }
    beginne(Anfrage{Anfrage::Art::Waehle, MBusAdresse(MBusAdresse::kNetzwerkschicht), maske, {}});
}

void Busanschluss::sendeRoh(const QByteArray& rahmen)
{
    if (rahmen.isEmpty()) {
        abweisen(kFehlerSonstiger);
        return;
    }
    beginne(Anfrage{Anfrage::Art::Roh, MBusAdresse(0), {}, rahmen});
}

void Busanschluss::deuten(QByteArrayView rahmen)
{
    m_wiederholungErbeten = false;
    Ereignis ereignis = PruefeAntwort(rahmen);
    // Only a long frame is a telegram: an acknowledgement or nothing at all is no meter's data.
    if (ereignis.art == Ereignisart::Quittung || ereignis.art == Ereignisart::Zeitueberschreitung) {
        ereignis.art = Ereignisart::Ungueltig;
        ereignis.empfangsfehler = kFehlerStartzeichen;
    }
    beendeMit(std::move(ereignis));
}

void Busanschluss::abweisen(int fehlerbits)
{
    m_wiederholungErbeten = false;
    beendeMit(Ergebnis(Ereignisart::Ungueltig, fehlerbits));
}

void Busanschluss::beginne(const Anfrage& anfrage)
{
    m_eigenes.reset();
    m_wiederholungErbeten = false;
    m_wiederholt = false;
    if (!busErreichbar()) {
        beendeOhneAntwort();
        return;
    }
    const Buszeit jetzt = m_uhr->jetzt();
    m_wartend = anfrage;
    m_wartetSeit = jetzt;
    m_spaetBeimWarten = false;
    if (leitungStill(jetzt))
        senden(jetzt);
}

int Busanschluss::pruefen()
{
    if (m_eigenes || !laeuft())
        return empfangsTest();
    if (!busErreichbar()) {
        beendeOhneAntwort();
        return empfangsTest();
    }
    const Buszeit jetzt = m_uhr->jetzt();
    if (m_wartend) {
        if (leitungStill(jetzt) || jetzt >= spaetestensSenden())
            senden(jetzt);
        return empfangsTest();
    }
    empfangen(jetzt);
    if (!busErreichbar()) {
        // The connection to the remote bus broke while the answer was awaited.
        beendeOhneAntwort();
        return empfangsTest();
    }
    if (const std::optional<Buszeit> frist = m_master.frist(); frist && jetzt >= *frist) {
        m_master.zeitAbgelaufen(jetzt);
        m_spaet.anfuegen(m_master.fremdeBytes());
    }
    if (!m_master.laeuft()) {
        spaetVerwerfen();
        nachDemEnde();
    }
    return empfangsTest();
}

bool Busanschluss::wiederholen()
{
    if (m_eigenes || m_wiederholt)
        return false;
    if (laeuft()) {
        m_wiederholungErbeten = true;
        return true;
    }
    if (!m_letzte || !Fehlgeschlagen(m_master.ereignis()))
        return false;
    m_wiederholungErbeten = true;
    nachDemEnde();
    return true;
}

int Busanschluss::abwarten(bool wiederholung)
{
    // How long one sleep lasts at most when no deadline is known (it cannot happen while an
    // exchange runs; the bound keeps the wait going should it ever) or the deadline is far.
    constexpr Dauer kLaengsterSchlaf = std::chrono::seconds(5);
    for (;;) {
        const int test = pruefen();
        if (test != kEmpfangLaeuft)
            return test;
        if (wiederholung)
            wiederholen();
        Dauer schlaf = kLaengsterSchlaf;
        if (const std::optional<Buszeit> termin = naechsterTermin())
            schlaf = std::clamp<Dauer>(*termin - m_uhr->jetzt(), Dauer(0), kLaengsterSchlaf);
        if (!m_kanal->warten(schlaf))
            return kEmpfangLaeuft;
    }
}

std::optional<Buszeit> Busanschluss::naechsterTermin() const
{
    if (m_eigenes)
        return std::nullopt;
    if (m_wartend) {
        if (!m_letzteAktivitaet)
            return m_wartetSeit;
        return std::min(*m_letzteAktivitaet + ruhezeit(), spaetestensSenden());
    }
    return m_master.frist();
}

void Busanschluss::abbrechen()
{
    if (laeuft())
        beendeOhneAntwort();
}

bool Busanschluss::laeuft() const
{
    if (m_eigenes)
        return false;
    return m_wartend || m_master.laeuft();
}

const Ereignis& Busanschluss::ereignis() const
{
    if (m_eigenes)
        return *m_eigenes;
    if (m_wartend)
        return kLaufend;
    return m_master.ereignis();
}

void Busanschluss::senden(Buszeit jetzt)
{
    const Anfrage anfrage = *m_wartend;
    m_wartend.reset();
    // Bytes that came before the request (a late answer, noise) are no answer to it.
    m_spaet.anfuegen(m_kanal->lesen());
    m_spaetBeimWarten = false;
    spaetVerwerfen();
    // The window runs from the moment the request goes out, not from when the wait began.
    jetzt = m_uhr->jetzt();
    const Zeitparameter z = zeiten();
    m_master.setzeZeiten(z);

    std::optional<Sendung> sendung;
    switch (anfrage.art) {
    case Anfrage::Art::SndNke:
        sendung = m_master.sndNke(anfrage.adresse, jetzt);
        break;
    case Anfrage::Art::ReqUd2:
        sendung = m_master.reqUd2(anfrage.adresse, jetzt);
        break;
    case Anfrage::Art::Waehle:
        sendung = m_master.waehle(anfrage.maske, jetzt);
        break;
    case Anfrage::Art::Roh:
        sendung = m_master.sendeRoh(anfrage.rahmen, jetzt);
        break;
    }
    if (!sendung) {
        beendeMit(Ergebnis(Ereignisart::Ungueltig, kFehlerSonstiger));
        return;
    }
    m_letzte = anfrage;
    m_echo.erwarte(sendung->bytes);
    if (!m_kanal->schreiben(sendung->bytes)) {
        beendeOhneAntwort();
        return;
    }
    m_letzteAktivitaet = jetzt + Sendedauer(z, sendung->bytes.size());
    // The least answer delay of a meter: 11 bit times behind the request's last byte.
    m_fruehesteAntwort = *m_letzteAktivitaet + Bitzeiten(z, kBitsJeZeichen);
    m_spaetBis.reset();
    m_spaetRahmen.clear();
}

void Busanschluss::empfangen(Buszeit jetzt)
{
    const QByteArray bytes = m_kanal->lesen();
    if (bytes.isEmpty())
        return;
    m_letzteAktivitaet = m_letzteAktivitaet ? std::max(*m_letzteAktivitaet, jetzt) : jetzt;
    const QByteArray antwort = m_echo.filtern(bytes);
    if (antwort.isEmpty())
        return;
    // Read while the request was still on the wire: these bytes were under way before any
    // meter could answer it.
    if (jetzt < m_fruehesteAntwort) {
        m_spaet.anfuegen(antwort);
        m_spaetRahmen.append(antwort);
        m_spaetBis = jetzt;
        return;
    }
    // So is the rest of a frame they began, when it follows without the pause that ends an
    // answer: as many bytes as its own length field still asks for, no more. Anything else (a
    // noise byte, a stray echo) holds back no answer that follows it.
    QByteArrayView neu(antwort);
    if (m_spaetBis && jetzt < *m_spaetBis + Antwortpause(zeiten())) {
        qsizetype rest = 0;
        while (rest < neu.size() && LangerRahmenUnvollstaendig(m_spaetRahmen))
            m_spaetRahmen.append(neu[rest++]);
        if (rest > 0) {
            m_spaet.anfuegen(antwort.first(rest));
            m_spaetBis = jetzt;
            neu = neu.sliced(rest);
        }
    }
    if (neu.isEmpty())
        return;
    m_spaetBis.reset();
    m_spaetRahmen.clear();
    m_master.empfange(neu, jetzt);
    // A frame of another meter (one that answered an earlier request too late).
    m_spaet.anfuegen(m_master.fremdeBytes());
}

bool Busanschluss::leitungStill(Buszeit jetzt)
{
    // Whatever arrives before the request went out belongs to nobody, but it is activity.
    if (const QByteArray spaet = m_kanal->lesen(); !spaet.isEmpty()) {
        m_spaet.anfuegen(spaet);
        m_spaetBeimWarten = true;
        m_letzteAktivitaet = jetzt;
    }
    return totzeitVorbei(jetzt);
}

bool Busanschluss::totzeitVorbei(Buszeit jetzt) const
{
    return !m_letzteAktivitaet || jetzt >= *m_letzteAktivitaet + ruhezeit();
}

Dauer Busanschluss::ruhezeit() const
{
    const Zeitparameter z = zeiten();
    return m_spaetBeimWarten ? std::max(Totzeit(z), Antwortpause(z)) : Totzeit(z);
}

Buszeit Busanschluss::spaetestensSenden() const
{
    const Zeitparameter z = zeiten();
    const Buszeit ohneSpaete = m_wartetSeit + Totzeit(z) + Antwortfenster(z);
    return m_spaetBeimWarten ? ohneSpaete + Sendedauer(z, kLaengsteAntwort) : ohneSpaete;
}

void Busanschluss::spaetVerwerfen()
{
    m_spaet.protokollieren();
}

void Busanschluss::nachDemEnde()
{
    if (!m_wiederholungErbeten || m_wiederholt || !m_letzte || !Fehlgeschlagen(m_master.ereignis()))
        return;
    // One more try of the same request; the engine keeps the FCB of a REQ_UD2 that got no sound
    // answer, so the meter repeats its telegram instead of moving on.
    m_wiederholungErbeten = false;
    m_wiederholt = true;
    const Buszeit jetzt = m_uhr->jetzt();
    m_wartend = *m_letzte;
    m_wartetSeit = jetzt;
    m_spaetBeimWarten = false;
    if (leitungStill(jetzt))
        senden(jetzt);
}

void Busanschluss::beendeOhneAntwort()
{
    beendeMit(Ergebnis(Ereignisart::Zeitueberschreitung, kFehlerZeitueberschreitung));
}

void Busanschluss::beendeMit(Ereignis ereignis)
{
    m_wartend.reset();
    m_eigenes = std::move(ereignis);
}

} // namespace mbus
