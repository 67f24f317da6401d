#include "SerielleUmgebung.h"
#include "frames/MBusRahmen.h"
#include "frames/TelegrammText.h"
#include "platform/Global.h"
#include "serial/SerielleDienste.h"

#include "BusSimulator.h"

namespace {

class SimulierterZaehlerTest : public SerielleUmgebung
{
protected:
    // Starts a bus with one heat meter at 2400 baud; zusatz goes onto the bus line.
    void starten(const QString& busZusatz, const QString& zaehlerZusatz = QString())
    {
        const QString text =
            QStringLiteral("bus takt=ja ") + busZusatz +
            QStringLiteral(
                "\n"
                "zaehler adresse=1 id=12345678 hersteller=LUG version=07 medium=04 baud=2400\n"
                "satz 0406 A0860100\n") +
            zaehlerZusatz;
        QString fehler;
        ASSERT_TRUE(BusSimulator::busTextLesen(text, m_simBus, &fehler)) << fehler.toStdString();
        m_sim = std::make_unique<BusSimulator>(m_simBus);
        ASSERT_TRUE(m_sim->starten(&fehler)) << fehler.toStdString();
        comZuordnen(4, m_sim->geraet());
        QString baud = QStringLiteral("2400");
        ASSERT_EQ(ComPortOeffnen(m_comm, 4, baud), 0) << FehlerText.toStdString();
    }

    int auslesen(const QVariant& id)
    {
        const MBusRahmen selekt = MB_TelSelectSekAdr(id, QStringLiteral("HEX"));
        return MBusRawREQUD2(m_comm, HexToStr(selekt.text), m_antwort, false, 0, 0, 0, 0);
    }

    void TearDown() override
    {
        m_comm.setPortOpen(false);
        m_sim.reset();
        SerielleUmgebung::TearDown();
    }

    SimBus m_simBus;
    std::unique_ptr<BusSimulator> m_sim;
    SerielleSchnittstelle m_comm;
    QByteArray m_antwort;
};

TEST_F(SimulierterZaehlerTest, selectedMeterAnswersWithItsRspUd)
{
    starten(QString());

    const int laenge = auslesen(12345678);

    ASSERT_GT(laenge, 0) << FehlerText.toStdString();
    EXPECT_EQ(m_antwort.size(), laenge);
    EXPECT_EQ(static_cast<quint8>(m_antwort.at(0)), 0x68);
    EXPECT_EQ(static_cast<quint8>(m_antwort.at(6)), 0x72);
    EXPECT_EQ(m_antwort.mid(7, 4), QByteArray::fromHex("78563412"));
    EXPECT_EQ(static_cast<quint8>(m_antwort.back()), 0x16);
}

TEST_F(SimulierterZaehlerTest, echoingLevelConverterAndNoiseBehindTheAnswerStillRead)
{
    starten(QStringLiteral("echo=ja"), QStringLiteral("fehler rauschen_nach=3\n"));

    const int laenge = auslesen(12345678);

    ASSERT_GT(laenge, 0) << FehlerText.toStdString();
    EXPECT_EQ(m_antwort.mid(7, 4), QByteArray::fromHex("78563412"));
}

TEST_F(SimulierterZaehlerTest, unknownMeterGivesNoAcknowledgement)
{
    starten(QString());

    EXPECT_EQ(auslesen(87654321), -3);

    EXPECT_TRUE(m_antwort.isEmpty());
}

TEST_F(SimulierterZaehlerTest, meterThatAcknowledgesButKeepsItsDataGivesZero)
{
    starten(QString(), QStringLiteral("fehler ohne_daten=ja\n"));

    EXPECT_EQ(auslesen(12345678), 0);

    EXPECT_TRUE(m_antwort.isEmpty());
}

} // namespace
