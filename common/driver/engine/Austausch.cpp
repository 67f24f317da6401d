#include "Austausch.h"

#include "Antwortpruefung.h"

#include <algorithm>
#include <utility>

namespace mbus {

Austausch::Austausch(QByteArray anfrage, bool antwortErwartet, const Zeitparameter& zeiten,
                     std::optional<std::uint8_t> adresse)
    : m_anfrage(std::move(anfrage)), m_antwortErwartet(antwortErwartet), m_zeiten(zeiten),
      m_adresse(adresse)
{
}

Buszeit Austausch::beginne(Buszeit jetzt)
{
    m_zustand = Zustand::Wartet;
    m_empfangen.clear();
    m_fremd.clear();
    m_ereignis = Ereignis{};
    m_fensterEnde = jetzt + Sendedauer(m_zeiten, m_anfrage.size()) + Antwortfrist(m_zeiten);
    m_frist = m_fensterEnde;
    m_grenze = m_frist + Antwortgrenze(m_zeiten);
    return m_frist;
}

void Austausch::empfange(QByteArrayView stueck, Buszeit jetzt)
{
    if (m_zustand != Zustand::Wartet || stueck.isEmpty())
        return;
    m_empfangen.append(stueck);
    // Anything beyond the longest single answer without a pause is more than one meter
    // talking, or a line that never falls silent.
    if (m_empfangen.size() > kLaengsteAntwort) {
        beende();
        return;
    }
    m_letzterEmpfang = jetzt;
    // A sound long frame is the whole answer: waiting for the line to fall silent behind it
    // would only cost time. A lone E5 still waits, a second one behind it would be a collision.
    if (m_antwortErwartet && LangerRahmenKomplett(m_empfangen)) {
        if (!fremdesAbgeben()) {
            beende();
            return;
        }
        m_frist = std::min(std::max(jetzt + Antwortpause(m_zeiten), m_fensterEnde), m_grenze);
        return;
    }
    m_frist = std::min(jetzt + Antwortpause(m_zeiten), m_grenze);
}

const Ereignis& Austausch::zeitAbgelaufen(Buszeit jetzt)
{
    if (m_zustand != Zustand::Wartet || jetzt < m_frist)
        return m_ereignis;
    if (jetzt < m_grenze && LangerRahmenUnvollstaendig(m_empfangen)) {
        const Buszeit imRahmen = std::min(m_letzterEmpfang + RahmenPause(m_zeiten), m_grenze);
        if (jetzt < imRahmen) {
            m_frist = imRahmen;
            return m_ereignis;
        }
    }
    // Line noise behind another meter's frame: that frame is set aside all the same, and its own
    // answer may still start within the window.
    if (fremdesAbgeben() && jetzt < m_fensterEnde) {
        m_frist = m_fensterEnde;
        return m_ereignis;
    }
    beende();
    return m_ereignis;
}

QByteArray Austausch::fremdeBytes()
{
    return std::exchange(m_fremd, QByteArray());
}

bool Austausch::fremdesAbgeben()
{
    if (!m_adresse || !m_antwortErwartet)
        return false;
    const std::optional<std::uint8_t> adresse = RahmenAdresse(m_empfangen);
    if (!adresse || *adresse == *m_adresse)
        return false;
    m_fremd.append(m_empfangen);
    m_empfangen.clear();
    return true;
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
