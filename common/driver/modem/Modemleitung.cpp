#include "Modemleitung.h"

#include <algorithm>
#include <chrono>

namespace mbus {

Modemleitung::Modemleitung(Modemport& port, const Modemzeiten& zeiten)
    : m_port(port), m_dialog(zeiten)
{
    m_uhr.start();
}

Buszeit Modemleitung::jetzt() const
{
    return std::chrono::duration_cast<Buszeit>(std::chrono::nanoseconds(m_uhr.nsecsElapsed()));
}

bool Modemleitung::portBereit()
{
    if (m_port.offen())
        return true;
    if (m_dialog.laeuft() || m_dialog.lage() == Modemlage::Verbunden)
        m_dialog.portVerloren();
    return false;
}

void Modemleitung::ausfuehren(const Modemaktion& aktion)
{
    if (aktion.dtr)
        m_port.setzeDtr(*aktion.dtr);
    if (!aktion.senden.isEmpty())
        m_port.schreiben(aktion.senden);
    m_daten += aktion.daten;
}

bool Modemleitung::initialisieren(const QString& initBefehl)
{
    if (!portBereit()) {
        m_dialog.ohnePort(true);
        return false;
    }
    m_port.lesen();
    ausfuehren(m_dialog.initialisiere(initBefehl, jetzt()));
    return true;
}

bool Modemleitung::waehlen(const QString& waehlText)
{
    if (!portBereit()) {
        m_dialog.ohnePort(false);
        return false;
    }
    const std::optional<Modemaktion> aktion = m_dialog.waehle(waehlText, jetzt());
    if (!aktion)
        return false;
    m_port.lesen();
    ausfuehren(*aktion);
    return true;
}

void Modemleitung::abbrechen()
{
    if (portBereit())
        ausfuehren(m_dialog.abbrechen(jetzt()));
}

void Modemleitung::auflegen()
{
    // Without a port no connection is left either: the line is idle at once.
    portBereit();
    ausfuehren(m_dialog.auflegen(jetzt()));
}

void Modemleitung::bewegen()
{
    if (!portBereit() || !m_dialog.laeuft())
        return;
    const QByteArray eingang = m_port.lesen();
    if (!portBereit())
        return;
    if (!eingang.isEmpty())
        ausfuehren(m_dialog.empfange(eingang, jetzt()));
    // Bytes of the bus side still leaving the port break the silence before "+++".
    if (m_dialog.laeuft() && m_dialog.imDatenmodus() && m_port.sendetNoch())
        m_dialog.datenGesendet(jetzt());
    const std::optional<Buszeit> frist = m_dialog.frist();
    if (frist && jetzt() >= *frist)
        ausfuehren(m_dialog.zeitAbgelaufen(jetzt()));
}

int Modemleitung::status()
{
    bewegen();
    return m_dialog.telStatus();
}

bool Modemleitung::warten(int msMax)
{
    using namespace std::chrono;
    // Bytes still leaving the port move the silence before "+++" on; the line tells no one when
    // they have left, so it is looked at this often meanwhile.
    constexpr Dauer kSendenAbfrage = milliseconds(5);
    constexpr Dauer kOhneFrist = milliseconds(50);
    const Buszeit ende = jetzt() + milliseconds(std::max(msMax, 0));
    for (;;) {
        bewegen();
        if (!m_dialog.laeuft())
            return true;
        const Buszeit nun = jetzt();
        if (nun > ende)
            return false;
        Dauer schlaf = std::min<Dauer>(ende - nun + microseconds(1), kOhneFrist);
        if (const std::optional<Buszeit> frist = m_dialog.frist())
            schlaf =
                std::min<Dauer>(ende - nun + microseconds(1), std::max<Dauer>(*frist - nun, {}));
        if (m_port.sendetNoch())
            schlaf = std::min(schlaf, kSendenAbfrage);
        if (!m_port.warten(schlaf))
            return false;
    }
}

QByteArray Modemleitung::mitlesen(const QByteArray& empfangen)
{
    if (empfangen.isEmpty() || !m_dialog.imDatenmodus())
        return {};
    ausfuehren(m_dialog.empfange(empfangen, jetzt()));
    return datenNehmen();
}

void Modemleitung::portZurueckgesetzt()
{
    m_daten.clear();
    if (m_dialog.laeuft() || m_dialog.lage() == Modemlage::Verbunden)
        m_dialog.portVerloren();
}

void Modemleitung::gesendet()
{
    m_dialog.datenGesendet(jetzt());
}

QByteArray Modemleitung::datenNehmen()
{
    QByteArray daten;
    daten.swap(m_daten);
    return daten;
}

} // namespace mbus
