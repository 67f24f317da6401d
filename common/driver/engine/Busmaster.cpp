#include "Busmaster.h"

#include "Rahmenbau.h"

#include <utility>

namespace mbus {

namespace {

// Where a raw frame goes: A of a short or a long frame.
std::optional<std::uint8_t> Zieladresse(const QByteArray& rahmen)
{
    constexpr int kKurzAdresse = 2;
    constexpr int kLangAdresse = 5;
    if (rahmen.isEmpty())
        return std::nullopt;
    const auto start = static_cast<std::uint8_t>(rahmen[0]);
    if (start == kStartKurz && rahmen.size() > kKurzAdresse)
        return static_cast<std::uint8_t>(rahmen[kKurzAdresse]);
    if (start == kStartLang && rahmen.size() > kLangAdresse)
        return static_cast<std::uint8_t>(rahmen[kLangAdresse]);
    return std::nullopt;
}

bool ErwartetAntwort(std::uint8_t adresse)
{
    return adresse != MBusAdresse::kRundruf;
}

// The meter whose long frame alone answers a request to this address (none beyond 250).
std::optional<std::uint8_t> Antwortadresse(std::uint8_t adresse)
{
    if (!MBusAdresse::IstZaehleradresse(adresse))
        return std::nullopt;
    return adresse;
}

} // namespace

Busmaster::Busmaster(const Zeitparameter& zeiten) : m_zeiten(zeiten)
{
    m_fcb.fill(true);
}

Sendung Busmaster::sndNke(MBusAdresse adresse, Buszeit jetzt)
{
    if (adresse.istRundruf())
        m_fcb.fill(true);
    else
        m_fcb[adresse.wert()] = true;
    return starte(KurzerRahmen(kSndNke, adresse.wert()), ErwartetAntwort(adresse.wert()), jetzt,
                  std::nullopt, Antwortadresse(adresse.wert()));
}

Sendung Busmaster::reqUd2(MBusAdresse adresse, Buszeit jetzt)
{
    const std::uint8_t c = m_fcb[adresse.wert()] ? (kReqUd2 | kFcb) : kReqUd2;
    return starte(KurzerRahmen(c, adresse.wert()), ErwartetAntwort(adresse.wert()), jetzt,
                  adresse.wert(), Antwortadresse(adresse.wert()));
}

std::optional<Sendung> Busmaster::waehle(const Auswahlmaske& maske, Buszeit jetzt)
{
    const std::optional<QByteArray> daten = AuswahlBytes(maske);
    if (!daten)
        return std::nullopt;
    m_fcb[MBusAdresse::kNetzwerkschicht] = true;
    return starte(LangerRahmenBytes(kSndUd, MBusAdresse::kNetzwerkschicht, kCiAuswahl, *daten),
                  true, jetzt, std::nullopt, std::nullopt);
}

std::optional<Sendung> Busmaster::sendeRoh(const QByteArray& rahmen, Buszeit jetzt)
{
    if (rahmen.isEmpty())
        return std::nullopt;
    const std::optional<std::uint8_t> ziel = Zieladresse(rahmen);
    return starte(rahmen, !ziel || ErwartetAntwort(*ziel), jetzt, std::nullopt,
                  ziel ? Antwortadresse(*ziel) : std::nullopt);
}

Sendung Busmaster::starte(QByteArray anfrage, bool antwortErwartet, Buszeit jetzt,
                          std::optional<std::uint8_t> fcbAdresse,
                          std::optional<std::uint8_t> antwortadresse)
{
    m_austausch.emplace(std::move(anfrage), antwortErwartet, m_zeiten, antwortadresse);
    m_fcbAdresse = fcbAdresse;
    const Buszeit frist = m_austausch->beginne(jetzt);
    return Sendung{m_austausch->anfrage(), frist};
}

void Busmaster::empfange(QByteArrayView stueck, Buszeit jetzt)
{
    if (!m_austausch)
        return;
    const bool liefVorher = m_austausch->laeuft();
    m_austausch->empfange(stueck, jetzt);
    zaehleRahmen(liefVorher);
}

const Ereignis& Busmaster::zeitAbgelaufen(Buszeit jetzt)
{
    if (!m_austausch)
        return m_leerlauf;
    const bool liefVorher = m_austausch->laeuft();
    m_austausch->zeitAbgelaufen(jetzt);
    zaehleRahmen(liefVorher);
    return m_austausch->ereignis();
}

void Busmaster::zaehleRahmen(bool liefVorher)
{
    // A sound frame answered the REQ_UD2: the meter counts this request as done.
    if (liefVorher && m_austausch->beendet() && m_fcbAdresse && m_austausch->ereignis().dekodiert)
        m_fcb[*m_fcbAdresse] = !m_fcb[*m_fcbAdresse];
}

QByteArray Busmaster::fremdeBytes()
{
    return m_austausch ? m_austausch->fremdeBytes() : QByteArray();
}

std::optional<Buszeit> Busmaster::frist() const
{
    if (!laeuft())
        return std::nullopt;
    return m_austausch->frist();
}

const Ereignis& Busmaster::ereignis() const
{
    return m_austausch ? m_austausch->ereignis() : m_leerlauf;
}

int Busmaster::empfangsTest() const
{
    return EmpfangsTestWert(ereignis());
}

} // namespace mbus
