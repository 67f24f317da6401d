#pragma once
// The modem's line on the serial control.

#include "Modemport.h"

#include <QString>

class SerielleSchnittstelle;

namespace mbus {

class SeriellerModemport : public Modemport
{
public:
    // The control must outlive the port.
    explicit SeriellerModemport(SerielleSchnittstelle& comm) : m_comm(comm) {}

    // Opens port n (ZEP.INI [COM] names its device) at the baud rate through ComPortOeffnen
    // (even parity, 8 data bits, 1 stop bit, DTR on), unless the control has that port open
    // already. 0 when open, else the failure of ComPortOeffnen (FehlerText says why).
    int oeffnen(int port, const QString& baud);

    bool offen() const override;
    QByteArray lesen() override;
    bool schreiben(const QByteArray& bytes) override;
    void setzeDtr(bool an) override;
    bool sendetNoch() override;
    bool warten(std::chrono::microseconds dauer) override;

private:
    SerielleSchnittstelle& m_comm;
};

} // namespace mbus
