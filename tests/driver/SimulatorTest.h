#pragma once
// The bus simulator on a pseudo-terminal mapped to COM3, and a name-bound driver on it as the
// program's windows make one: created by name, English texts, port opened with APPInitCom.

#include "support/TestUmgebung.h"

#include "driver/engine/Ereignis.h"
#include "driver/faces/MBusObjektErzeugen.h"
#include "driver/faces/MBusRacX4.h"
#include "platform/Warten.h"

#include "BusSimulator.h"

#include <QElapsedTimer>

#include <memory>

namespace treibertest {

constexpr int kPort = 3;

class SimulatorTest : public TestUmgebung
{
protected:
    void TearDown() override
    {
        m_treiber.reset();
        if (m_sim)
            m_sim->stoppen();
        TestUmgebung::TearDown();
    }

    // Starts the bus (paced as a real line when told) and maps it to COM3.
    void starten(const QString& bus, bool takt)
    {
        SimBus simBus;
        QString fehler;
        const QString kopf = QStringLiteral("bus takt=%1\n").arg(takt ? "ja" : "nein");
        ASSERT_TRUE(BusSimulator::busTextLesen(kopf + bus, simBus, &fehler)) << qPrintable(fehler);
        m_sim = std::make_unique<BusSimulator>(simBus);
        ASSERT_TRUE(m_sim->starten(&fehler)) << qPrintable(fehler);
        schreiben(QStringLiteral("ZEP.INI"),
                  QStringLiteral("[COM]\r\nCOM%1=%2\r\n").arg(kPort).arg(m_sim->geraet()).toUtf8());
    }

    MBusRacX4& rac(int baud)
    {
        m_treiber = MBusObjektErzeugen(QStringLiteral("MBusRacX4.MBusRacX4.1"));
        MBusRacX4& treiber = *m_treiber->alsRacX4();
        treiber.setLNGLanguage(1);
        treiber.APPInitCom(kPort, baud);
        EXPECT_EQ(treiber.APPIsComOpen(), 0);
        return treiber;
    }

    // The callers' wait.
    static int abwarten(MBusRacX4& treiber) { return treiber.EmpfangAbwarten(); }

    std::unique_ptr<BusSimulator> m_sim;
    std::unique_ptr<MBusTreiber> m_treiber;
};

} // namespace treibertest
