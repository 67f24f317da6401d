#pragma once
// A test window on a simulated bus: the bus simulator runs on COM3 with pacing off, ZEP.INI
// points COM3 at the simulator's device and the window opens on it. The simulator stops after
// the window has closed.

#include "TestfensterUmgebung.h"

#include "BusSimulator.h"
#include "platform/Cp1252.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

#include <functional>
#include <memory>

// A meter's data request (REQ_UD2 short frame, either FCB).
inline bool IstAnforderung(const QByteArray& rahmen)
{
    return rahmen.size() == 5 && static_cast<quint8>(rahmen[0]) == 0x10 &&
           (static_cast<quint8>(rahmen[1]) & 0xCF) == 0x4B;
}

// A secondary-address selection (long frame with CI 52h).
inline bool IstSelect(const QByteArray& rahmen)
{
    return rahmen.size() > 6 && static_cast<quint8>(rahmen[0]) == 0x68 &&
           static_cast<quint8>(rahmen[6]) == 0x52;
}

class SimulatorFensterUmgebung : public TestfensterUmgebung
{
protected:
    static constexpr int kPort = 3;

    void TearDown() override
    {
        m_fenster.reset();
        if (m_sim)
            m_sim->stoppen();
        TestfensterUmgebung::TearDown();
    }

    // Starts the bus (the meters of bus under the bus line) and opens the window on it.
    frmMBustest& simulatorStarten(const QString& bus,
                                  const QString& busZeile = QStringLiteral("bus takt=nein"))
    {
        SimBus simBus;
        QString fehler;
        EXPECT_TRUE(BusSimulator::busTextLesen(busZeile + QLatin1Char('\n') + bus, simBus, &fehler))
            << qPrintable(fehler);
        m_sim = std::make_unique<BusSimulator>(simBus);
        EXPECT_TRUE(m_sim->starten(&fehler)) << qPrintable(fehler);
        schreiben(QStringLiteral("ZEP.INI"),
                  QStringLiteral("[COM]\r\nCOM%1=%2\r\n").arg(kPort).arg(m_sim->geraet()).toUtf8());
        return oeffnen();
    }

    // Chooses the driver face in the driver box as the user would.
    void treiberWaehlen(int gesicht)
    {
        QComboBox* box = m_fenster->ui().Combo1;
        const int index = box->findData(gesicht);
        ASSERT_GE(index, 0);
        box->setCurrentIndex(index);
        emit box->activated(index);
        ASSERT_EQ(m_fenster->providerNr(), gesicht);
    }

    // The bus view's search port on the simulator, with no rate ticked.
    void suchPortSetzen()
    {
        m_fenster->Text4Setzen(QString::number(kPort));
        for (QCheckBox* rate : m_fenster->ui().Check1)
            rate->setChecked(false);
    }

    // Runs the action once, as soon as the condition holds while a loop of the window runs.
    void sobald(std::function<bool()> bedingung, std::function<void()> aktion, int intervallMs = 1)
    {
        auto* uhr = new QTimer(m_fenster.get());
        uhr->setInterval(intervallMs);
        QObject::connect(uhr, &QTimer::timeout, uhr, [uhr, bedingung, aktion] {
            if (!bedingung())
                return;
            uhr->stop();
            aktion();
        });
        uhr->start();
    }

    // The baud rates the simulator was sent frames at, in the order first used.
    QList<int> gesendeteRaten() const
    {
        QList<int> raten;
        for (const SimEmpfangenerRahmen& rahmen : m_sim->empfangeneRahmen())
            if (!raten.contains(rahmen.baud))
                raten << rahmen.baud;
        return raten;
    }

    // How many frames the simulator received that are of the kind given.
    int rahmenZaehlen(bool (*art)(const QByteArray&)) const
    {
        int anzahl = 0;
        for (const SimEmpfangenerRahmen& rahmen : m_sim->empfangeneRahmen())
            anzahl += art(rahmen.bytes) ? 1 : 0;
        return anzahl;
    }

    // The program log of the test day (the clock stands on 05.12.2026).
    QString programmlog() const { return Cp1252ZuText(lesen(QStringLiteral("261205ed.log"))); }

    // The log line of a port that is not mapped in ZEP.INI and whose default device is missing.
    static QString portFehlt(const QString& meldung, int port)
    {
        return meldung + QStringLiteral(" (COM%1: Gerät /dev/ttyS%2 nicht vorhanden, Eintrag "
                                        "fehlt: ZEP.INI [COM] COM%1=)")
                             .arg(port)
                             .arg(port - 1);
    }

    std::unique_ptr<BusSimulator> m_sim;
};
