#include "SeriellerBuskanal.h"

#include "platform/Warten.h"
#include "serial/ComFehler.h"
#include "serial/ComZuordnung.h"
#include "serial/SerielleSchnittstelle.h"

#include <algorithm>
#include <climits>
#include <thread>

namespace mbus {

namespace {

// The receive buffer holds several long frames; the layer grows it when needed anyway.
constexpr int kPuffergroesse = 8000;

QString Einstellung(int baud)
{
    return QStringLiteral("%1,E,8,1").arg(baud);
}

} // namespace

SeriellerBuskanal::SeriellerBuskanal() : m_port(std::make_unique<SerielleSchnittstelle>()) {}

SeriellerBuskanal::~SeriellerBuskanal() = default;

int SeriellerBuskanal::oeffnen(int port, int baud)
{
    schliessen();
    if (const int fehler = m_port->setCommPort(port); fehler != 0)
        return fehler;
    if (const int fehler = m_port->setSettings(Einstellung(baud)); fehler != 0)
        return fehler;
    m_port->setInBufferSize(kPuffergroesse);
    m_port->setOutBufferSize(kPuffergroesse);
    m_port->setDTREnable(true);
    m_port->setRTSEnable(false);
    if (const int fehler = m_port->setPortOpen(true); fehler != 0)
        return fehler;
    return m_port->PortOpen() ? 0 : ComFehler::kUngueltigerPort;
}

bool SeriellerBuskanal::auffrischen(int port, int baud)
{
    if (!m_port->PortOpen() || m_port->CommPort() != port ||
        m_port->Settings() != Einstellung(baud) || m_port->geraet() != ComGeraet(port))
        return false;
    // A device lost meanwhile closes the port here.
    if (!m_port->geraetPruefen() || m_port->setInBufferCount(0) != 0 ||
        m_port->setOutBufferCount(0) != 0)
        return false;
    m_port->setDTREnable(true);
    m_port->setRTSEnable(false);
    return m_port->PortOpen();
}

void SeriellerBuskanal::schliessen()
{
    if (m_port->PortOpen())
        m_port->setPortOpen(false);
}

bool SeriellerBuskanal::offen() const
{
    return m_port->PortOpen();
}

QByteArray SeriellerBuskanal::lesen()
{
    if (!m_port->PortOpen())
        return {};
    return m_port->Input();
}

bool SeriellerBuskanal::schreiben(const QByteArray& bytes)
{
    return m_port->PortOpen() && m_port->setOutput(bytes) == 0;
}

void SeriellerBuskanal::setzeDtr(bool an)
{
    m_port->setDTREnable(an);
}

bool SeriellerBuskanal::sendetNoch()
{
    return m_port->PortOpen() && m_port->OutBufferCount() > 0;
}

bool SeriellerBuskanal::warten(std::chrono::microseconds dauer)
{
    // The event loop's timers keep whole milliseconds and may come up to one late; what is left
    // below a millisecond is slept exactly (too short for any window to notice).
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(dauer);
    if (ms.count() >= 1)
        return m_port->warten(static_cast<int>(std::min<long long>(ms.count(), INT_MAX)));
    if (dauer.count() > 0)
        std::this_thread::sleep_for(dauer);
    return DoEvents();
}

} // namespace mbus
