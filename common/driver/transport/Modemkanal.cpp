#include "Modemkanal.h"

#include <algorithm>
#include <chrono>

namespace mbus {

namespace {

// Bytes of the remote bus kept for the bus side: far more than one answer (261 bytes); the bus
// side drops whatever came before its request anyway.
constexpr qsizetype kEingangHoechstens = 4096;

int Millisekunden(std::chrono::milliseconds dauer)
{
    return static_cast<int>(std::max<long long>(dauer.count(), 0));
}

} // namespace

// The modem dialogue's view of the line: the port as it is, unfiltered.
class Modemkanal::Port : public Modemport
{
public:
    explicit Port(Buskanal& leitung) : m_leitung(leitung) {}

    bool offen() const override { return m_leitung.offen(); }
    QByteArray lesen() override { return m_leitung.lesen(); }
    bool schreiben(const QByteArray& bytes) override { return m_leitung.schreiben(bytes); }
    void setzeDtr(bool an) override { m_leitung.setzeDtr(an); }
    bool sendetNoch() override { return m_leitung.sendetNoch(); }
    bool warten(std::chrono::microseconds dauer) override { return m_leitung.warten(dauer); }

private:
    Buskanal& m_leitung;
};

Modemkanal::Modemkanal(std::unique_ptr<Buskanal> leitung, const Modemzeiten& zeiten)
    : m_leitung(std::move(leitung)), m_port(std::make_unique<Port>(*m_leitung)),
      m_modem(*m_port, zeiten)
{
}

Modemkanal::~Modemkanal() = default;

// ---- the bus side

int Modemkanal::oeffnen(int port, int baud)
{
    modembetriebBeenden();
    return m_leitung->oeffnen(port, baud);
}

bool Modemkanal::auffrischen(int port, int baud)
{
    if (m_modembetrieb || !m_leitung->auffrischen(port, baud))
        return false;
    modembetriebBeenden();
    return true;
}

void Modemkanal::schliessen()
{
    modembetriebBeenden();
    m_leitung->schliessen();
}

bool Modemkanal::offen() const
{
    return m_leitung->offen();
}

QByteArray Modemkanal::lesen()
{
    if (!m_modembetrieb)
        return m_leitung->lesen();
    hereinholen();
    QByteArray daten;
    daten.swap(m_busEingang);
    return daten;
}

bool Modemkanal::schreiben(const QByteArray& bytes)
{
    if (!m_modembetrieb)
        return m_leitung->schreiben(bytes);
    if (!busErreichbar() || !m_leitung->schreiben(bytes))
        return false;
    m_modem.gesendet();
    return true;
}

void Modemkanal::setzeDtr(bool an)
{
    m_leitung->setzeDtr(an);
}

bool Modemkanal::sendetNoch()
{
    return m_leitung->sendetNoch();
}

bool Modemkanal::warten(std::chrono::microseconds dauer)
{
    return m_leitung->warten(dauer);
}

bool Modemkanal::busErreichbar() const
{
    if (!m_modembetrieb)
        return true;
    return m_modem.dialog().lage() == Modemlage::Verbunden && !m_modem.dialog().laeuft();
}

Zeitparameter Modemkanal::zeitenFuer(Zeitparameter zeiten) const
{
    if (!m_modembetrieb)
        return zeiten;
    const Modemzeiten& modem = m_modem.zeiten();
    zeiten.antwortOffsetMs += Millisekunden(modem.antwortZuschlag);
    zeiten.pauseMindestMs = std::max(zeiten.pauseMindestMs, Millisekunden(modem.antwortPause));
    zeiten.pauseImRahmenMs = std::max(zeiten.pauseImRahmenMs, Millisekunden(modem.pauseImRahmen));
    return zeiten;
}

// ---- the modem side

void Modemkanal::initialisieren(const QString& initBefehl)
{
    m_modembetrieb = true;
    m_busEingang.clear();
    m_modem.initialisieren(initBefehl);
}

void Modemkanal::waehlen(const QString& waehlText)
{
    m_modembetrieb = true;
    m_busEingang.clear();
    m_modem.waehlen(waehlText);
}

void Modemkanal::abbrechen()
{
    m_modem.abbrechen();
}

void Modemkanal::auflegen()
{
    m_modem.auflegen();
}

int Modemkanal::telStatus()
{
    if (m_modembetrieb) {
        m_modem.bewegen();
        aufheben(m_modem.datenNehmen());
        hereinholen();
    }
    return m_modem.dialog().telStatus();
}

// Connected and idle: the port's bytes go past the dialogue (it ends the connection on
// "NO CARRIER") and what is the remote bus's waits for the bus side. While a dialogue runs the
// bytes are the dialogue's; without a connection they are the modem's results and are dropped.
void Modemkanal::hereinholen()
{
    if (m_modem.dialog().laeuft())
        return;
    const QByteArray roh = m_leitung->lesen();
    aufheben(m_modem.mitlesen(roh));
}

void Modemkanal::aufheben(const QByteArray& daten)
{
    m_busEingang += daten;
    if (m_busEingang.size() > kEingangHoechstens)
        m_busEingang.remove(0, m_busEingang.size() - kEingangHoechstens);
}

void Modemkanal::modembetriebBeenden()
{
    m_modembetrieb = false;
    m_busEingang.clear();
    m_modem.portZurueckgesetzt();
}

} // namespace mbus
