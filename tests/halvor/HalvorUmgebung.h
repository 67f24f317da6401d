#pragma once
// The customer reading on a simulated bus: the bus simulator runs on COM3 with pacing off, ZEP.INI
// points COM3 at its device, and every driver the reading creates is a real interface driver
// that notes whether it was released with its port still open.

#include "BusSimulator.h"
#include "driver/faces/MBusOLEAutoServer.h"
#include "master/halvor/HalvorAuslesung.h"
#include "support/TestUmgebung.h"

#include <functional>
#include <memory>

// Meters at 9600 Bd: 0 and 1 with records, none at 2, 3 without records.
inline const QString kVierAdressen = QStringLiteral(
    "zaehler adresse=0 id=20123456 baud=9600\n"
    "satz 0C13 78563400\n"
    "zaehler adresse=1 id=12345678 baud=9600\n"
    "satz 0406 A0860100\n"
    "satz 0C13 45230100\n"
    "zaehler adresse=3 id=20123457 baud=9600\n");

// The lines the meters above give on 5 December 2026.
inline const QStringList kVierZeilen = {
    QStringLiteral("261205\t0\t0\t345.678"),
    QStringLiteral("261205\t1\t0\t100000\t1\t12.345"),
    QStringLiteral("261205\t2\tFehlerBeimLesen"),
    QStringLiteral("261205\t3"),
};

class VerfolgterTreiber : public MBusOLEAutoServer
{
public:
    explicit VerfolgterTreiber(int& offenFreigegeben) : m_offenFreigegeben(offenFreigegeben) {}
    ~VerfolgterTreiber() override
    {
        if (m_offen)
            ++m_offenFreigegeben;
    }
    void OLEOpenPort(const QString& port, bool& ok) override
    {
        MBusOLEAutoServer::OLEOpenPort(port, ok);
        m_offen = m_offen || ok;
    }
    void OLEClosePort() override
    {
        MBusOLEAutoServer::OLEClosePort();
        m_offen = false;
    }

private:
    int& m_offenFreigegeben;
    bool m_offen = false;
};

class HalvorUmgebung : public TestUmgebung
{
protected:
    static constexpr int kPort = 3;

    void TearDown() override
    {
        if (m_sim)
            m_sim->stoppen();
        TestUmgebung::TearDown();
    }

    void busStarten(const QString& zaehler)
    {
        SimBus bus;
        QString fehler;
        ASSERT_TRUE(BusSimulator::busTextLesen(QStringLiteral("bus takt=nein\n") + zaehler, bus,
                                               &fehler))
            << qPrintable(fehler);
        m_sim = std::make_unique<BusSimulator>(bus);
        ASSERT_TRUE(m_sim->starten(&fehler)) << qPrintable(fehler);
        schreiben(QStringLiteral("ZEP.INI"),
                  QStringLiteral("[COM]\r\nCOM%1=%2\r\nCOM7=%3\r\n")
                      .arg(kPort)
                      .arg(m_sim->geraet(), pfad(QStringLiteral("fehlt/tty")))
                      .toUtf8());
    }

    // Creates the drivers; vorTreiber runs before the n-th one (from 1) is created.
    HalvorAuslesung::TreiberFabrik fabrik()
    {
        return [this]() -> std::unique_ptr<MBusTreiber> {
            ++m_treiber;
            if (m_vorTreiber)
                m_vorTreiber(m_treiber);
            return std::make_unique<VerfolgterTreiber>(m_offenFreigegeben);
        };
    }

    // The lines of a file in the working folder; every line must end in CR LF.
    QStringList zeilen(const QString& datei) const
    {
        const QByteArray bytes = lesen(datei);
        EXPECT_TRUE(bytes.isEmpty() || bytes.endsWith("\r\n")) << qPrintable(datei);
        QStringList ergebnis = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
        ergebnis.removeLast();
        return ergebnis;
    }

    // The addresses of the data requests the bus heard, in order.
    QList<int> angefragt() const
    {
        QList<int> adressen;
        for (const SimEmpfangenerRahmen& rahmen : m_sim->empfangeneRahmen())
            if (rahmen.bytes.size() == 5 && (static_cast<quint8>(rahmen.bytes[1]) & 0xCF) == 0x4B)
                adressen << static_cast<quint8>(rahmen.bytes[2]);
        return adressen;
    }

    std::unique_ptr<BusSimulator> m_sim;
    std::function<void(int)> m_vorTreiber;
    int m_treiber = 0;
    int m_offenFreigegeben = 0;
};
