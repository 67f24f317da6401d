#include "Austausch.h"

#include "Antwortpruefung.h"

#include <utility>

namespace mbus {

namespace {

// The longest single answer: a long frame with 255 bytes from C on. Anything beyond that
// without a pause is more than one meter talking, or a line that never falls silent.
constexpr qsizetype kLaengsteAntwort = 255 + 6;

} // namespace

Austausch::Austausch(QByteArray anfrage, bool antwortErwartet, const Zeitparameter& zeiten)
    : m_anfrage(std::move(anfrage)), m_antwortErwartet(antwortErwartet), m_zeiten(zeiten)
{
}

Buszeit Austausch::beginne(Buszeit jetzt)
{
    m_zustand = Zustand::Wartet;
    m_empfangen.clear();
    m_ereignis = Ereignis{};
    m_frist = jetzt + Sendedauer(m_zeiten, m_anfrage.size()) + Antwortfenster(m_zeiten);
    return m_frist;
}

void Austausch::empfange(QByteArrayView stueck, Buszeit jetzt)
{
    if (m_zustand != Zustand::Wartet || stueck.isEmpty())
        return;
    m_empfangen.append(stueck);
    m_frist = jetzt + Antwortpause(m_zeiten);
    if (m_empfangen.size() > kLaengsteAntwort)
        beende();
}

const Ereignis& Austausch::zeitAbgelaufen(Buszeit jetzt)
{
    if (m_zustand == Zustand::Wartet && jetzt >= m_frist)
        beende();
    return m_ereignis;
}

void Austausch::beende()
{
    m_ereignis = PruefeAntwort(m_empfangen);
    if (!m_antwortErwartet && m_ereignis.art == Ereignisart::Zeitueberschreitung) {
        m_ereignis.art = Ereignisart::Gesendet;
        m_ereignis.empfangsfehler = 0;
    }
    m_zustand = Zustand::Beendet;
}

} // namespace mbus
