#pragma once
// The bus behind a TCP port, as a serial device server offers its serial line: it listens on
// 127.0.0.1 only, takes one connection at a time (further ones wait until it ends), passes the
// bytes of that connection to the bus and the bus's bytes back to it. The line runs at a fixed
// speed, as the device server's serial port is set up; while nobody is connected the bus's bytes
// go nowhere.

#include "SimAnschluss.h"

class SimTcp : public SimAnschluss
{
public:
    // port 0: the system picks a free port (port() tells which after oeffnen()).
    SimTcp(quint16 port, int baud) : m_wunschPort(port), m_baud(baud) {}
    ~SimTcp() override;
    SimTcp(const SimTcp&) = delete;
    SimTcp& operator=(const SimTcp&) = delete;

    bool oeffnen(QString* fehler) override;
    void schliessen() override;

    // The connection while there is one, else the listening socket.
    int wartenAuf() const override { return m_verbindung >= 0 ? m_verbindung : m_hoerer; }
    QString geraet() const override;
    int baud() const override { return m_baud; }
    quint16 port() const { return m_port; }
    bool verbunden() const { return m_verbindung >= 0; }

    int schreiben(const char* bytes, int anzahl) override;
    // Without a connection: takes a waiting one and reads nothing yet.
    int lesen(char* bytes, int anzahl) override;
    bool gestoert() override
    {
        verbindungSchliessen();
        return false;
    }

private:
    void verbindungSchliessen();

    quint16 m_wunschPort = 0;
    int m_baud = 2400;
    quint16 m_port = 0;
    int m_hoerer = -1;
    int m_verbindung = -1;
};
