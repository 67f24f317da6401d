#pragma once
// Test fixtures for the serial services: TestUmgebung plus COM port mappings in the working
// folder's ZEP.INI, and a pseudo-terminal bus mapped to COM3.

#include "PtyBus.h"
#include "platform/Global.h"
#include "serial/SerielleDienste.h"
#include "support/QtDrucken.h"
#include "support/TestUmgebung.h"

#include <QElapsedTimer>
#include <QMap>
#include <QString>

#include <functional>

class SerielleUmgebung : public TestUmgebung
{
protected:
    // Maps port n to the device in ZEP.INI section [COM].
    void comZuordnen(int port, const QString& geraet)
    {
        m_zuordnung[port] = geraet;
        QByteArray text("[COM]\r\n");
        for (auto it = m_zuordnung.cbegin(); it != m_zuordnung.cend(); ++it)
            text += QStringLiteral("COM%1=%2\r\n").arg(it.key()).arg(it.value()).toUtf8();
        schreiben(QStringLiteral("ZEP.INI"), text);
    }
    // The program log of the test day (the clock stands on 05.12.2026).
    QString programmlog() const
    {
        return QString::fromLatin1(lesen(QStringLiteral("261205ed.log")));
    }

    // Runs the step and gives its duration in ms.
    static qint64 dauerMs(const std::function<void()>& schritt)
    {
        QElapsedTimer uhr;
        uhr.start();
        schritt();
        return uhr.elapsed();
    }

    QMap<int, QString> m_zuordnung;
};

// A pseudo-terminal as COM3.
class PtyUmgebung : public SerielleUmgebung
{
protected:
    void SetUp() override
    {
        SerielleUmgebung::SetUp();
        ASSERT_TRUE(m_bus.gueltig());
        comZuordnen(3, m_bus.geraet());
    }
    // Opens the port (COM3 unless told) in m_comm through ComPortOeffnen.
    void oeffnen(QString baud, int port = 3)
    {
        ASSERT_EQ(ComPortOeffnen(m_comm, port, baud), 0) << FehlerText.toStdString();
    }

    PtyBus m_bus;
    SerielleSchnittstelle m_comm;
};
