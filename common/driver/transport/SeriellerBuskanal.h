#pragma once
// The bus line over the serial control: the port number resolves through ZEP.INI [COM], and the
// per-process device register keeps the serial services off a port the driver holds (and the
// driver off one they hold). DTR is raised (it powers some level converters), RTS stays low.

#include "Buskanal.h"

#include <memory>

class SerielleSchnittstelle;

namespace mbus {

class SeriellerBuskanal : public Buskanal
{
public:
    SeriellerBuskanal();
    ~SeriellerBuskanal() override;

    int oeffnen(int port, int baud) override;
    void schliessen() override;
    bool auffrischen(int port, int baud) override;
    bool offen() const override;
    QByteArray lesen() override;
    bool schreiben(const QByteArray& bytes) override;
    void setzeDtr(bool an) override;
    bool sendetNoch() override;
    bool warten(std::chrono::microseconds dauer) override;

private:
    std::unique_ptr<SerielleSchnittstelle> m_port;
};

} // namespace mbus
