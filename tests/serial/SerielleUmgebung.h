#pragma once
// Test fixture for the serial services: TestUmgebung plus COM port mappings in the working
// folder's ZEP.INI.

#include "support/QtDrucken.h"
#include "support/TestUmgebung.h"

#include <QMap>
#include <QString>

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
    // Maps ports 1 to 16 to devices that do not exist.
    void alleComPortsLeeren()
    {
        for (int i = 1; i <= 16; ++i)
            comZuordnen(i, pfad(QStringLiteral("fehlt/tty%1").arg(i)));
    }
    // The program log of the test day (the clock stands on 05.12.2026).
    QString programmlog() const
    {
        return QString::fromLatin1(lesen(QStringLiteral("261205ed.log")));
    }

    QMap<int, QString> m_zuordnung;
};
