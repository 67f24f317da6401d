#include "SeriellerModemport.h"

#include "serial/SerielleDienste.h"
#include "serial/SerielleSchnittstelle.h"

#include <algorithm>
#include <climits>

namespace mbus {

int SeriellerModemport::oeffnen(int port, const QString& baud)
{
    if (m_comm.PortOpen() && m_comm.CommPort() == port)
        return 0;
    QString baudText = baud;
    return ComPortOeffnen(m_comm, port, baudText);
}

bool SeriellerModemport::offen() const
{
    return m_comm.PortOpen();
}

QByteArray SeriellerModemport::lesen()
{
    // Input takes InputLen bytes at a time; take them all.
    QByteArray alles;
    for (QByteArray stueck = m_comm.Input(); !stueck.isEmpty(); stueck = m_comm.Input())
        alles += stueck;
    return alles;
}

bool SeriellerModemport::schreiben(const QByteArray& bytes)
{
    return m_comm.setOutput(bytes) == 0;
}

void SeriellerModemport::setzeDtr(bool an)
{
    m_comm.setDTREnable(an);
}

bool SeriellerModemport::sendetNoch()
{
    return m_comm.OutBufferCount() > 0;
}

bool SeriellerModemport::warten(std::chrono::microseconds dauer)
{
    // Whole milliseconds, at least one: the modem's times are far longer than that.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(dauer).count();
    return m_comm.warten(static_cast<int>(std::clamp<long long>(ms, 1, INT_MAX)));
}

} // namespace mbus
