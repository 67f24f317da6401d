#include "SerielleUmgebung.h"
#include "frames/MBusRahmen.h"
#include "frames/TelegrammText.h"
#include "platform/Global.h"
#include "serial/SerielleDienste.h"

#include "BusSimulator.h"

#include <memory>

namespace {

class SimulierterZaehlerTest : public SerielleUmgebung
{
protected:
    // The bus of the text on a simulator, mapped as COM4 and opened at the baud rate on comm.
    void busOeffnen(const QString& text, SerielleSchnittstelle& comm,
                    const QString& rate = QStringLiteral("2400"))
    {
        SimBus simBus;
        QString fehler;
        ASSERT_TRUE(BusSimulator::busTextLesen(text, simBus, &fehler)) << fehler.toStdString();
        m_sim = std::make_unique<BusSimulator>(simBus);
        ASSERT_TRUE(m_sim->starten(&fehler)) << fehler.toStdString();
        comZuordnen(4, m_sim->geraet());
        QString baud = rate;
        ASSERT_EQ(ComPortOeffnen(comm, 4, baud), 0) << FehlerText.toStdString();
    }
    std::unique_ptr<BusSimulator> m_sim;
};

// A raw REQ_UD2 through the bus simulator: one heat meter 12345678 at 2400 baud.
TEST_F(SimulierterZaehlerTest, rawReadOfSimulatedMeter)
{
    const struct
    {
        const char* bus;
        const char* zaehler;
        int id;
        int erwartet; // 1: a RSP_UD of meter 12345678
    } faelle[] = {
        {"", "", 12345678, 1},
        {"echo=ja", "fehler rauschen_nach=3\n", 12345678, 1},
        {"", "", 87654321, -3},
    };
    for (const auto& fall : faelle) {
        SerielleSchnittstelle comm;
        ASSERT_NO_FATAL_FAILURE(busOeffnen(
            QStringLiteral("bus takt=ja %1\nzaehler adresse=1 id=12345678 hersteller=LUG "
                           "version=07 medium=04 baud=2400\nsatz 0406 A0860100\n%2")
                .arg(QString::fromLatin1(fall.bus), QString::fromLatin1(fall.zaehler)),
            comm));
        QByteArray antwort;
        const int laenge =
            MBusRawREQUD2(comm, HexToStr(MB_TelSelectSekAdr(fall.id, QStringLiteral("HEX")).text),
                          antwort, false, 0, 0, 0, 0);
        comm.setPortOpen(false);
        if (fall.erwartet != 1) {
            EXPECT_EQ(laenge, fall.erwartet) << fall.id;
            EXPECT_TRUE(antwort.isEmpty());
            continue;
        }
        ASSERT_GT(laenge, 0) << FehlerText.toStdString();
        EXPECT_EQ(antwort.size(), laenge);
        EXPECT_EQ(antwort.left(1) + antwort.mid(6, 5) + antwort.right(1),
                  QByteArray::fromHex("687278563412") + '\x16');
    }
}

// Meter 2 acknowledges its select 40 ms late, while the select of a meter that is not there
// (17 bytes, 71 ms at 2400 baud) is still on the wire: that E5 acknowledges nothing of the
// second select.
TEST_F(SimulierterZaehlerTest, acknowledgementArrivingWhileTheSelectIsOnTheWireIsNoAnswer)
{
    SerielleSchnittstelle comm;
    ASSERT_NO_FATAL_FAILURE(busOeffnen(
        QStringLiteral("bus takt=ja\nzaehler adresse=2 id=22222222\nfehler spaet=40\n"), comm));
    const auto select = [](int id) {
        return HexToStr(MB_TelSelectSekAdr(id, QStringLiteral("HEX")).text);
    };
    ASSERT_EQ(V3CommSendMsg(comm, select(22222222), 0, 0, 0, false), 0);
    QByteArray antwort;
    EXPECT_EQ(MBusRawREQUD2(comm, select(33333333), antwort, false, 0, 0, 0, 0), -3);
    comm.setPortOpen(false);
    EXPECT_EQ(m_sim->statistik().quittungen, 1);
    EXPECT_TRUE(programmlog().contains(QStringLiteral("Verspätete Bytes verworfen : \tE5;")))
        << programmlog().toStdString();
}

// At 300 baud the answer window (330 bit times + 50 ms) is 1.15 s, longer than the 0.8 s of
// silence the master's raw read waits: a meter that starts its acknowledgement and its telegram
// 1114 ms after each request is read all the same.
TEST_F(SimulierterZaehlerTest, rawReadAt300BaudWaitsForAnAnswerStartingLateInTheWindow)
{
    SerielleSchnittstelle comm;
    ASSERT_NO_FATAL_FAILURE(busOeffnen(QStringLiteral("bus takt=ja\nzaehler adresse=1 id=12345678 "
                                                      "baud=300\nfehler spaet=1114\n"),
                                       comm, QStringLiteral("300")));
    QByteArray antwort;
    const int laenge =
        MBusRawREQUD2(comm, HexToStr(MB_TelSelectSekAdr(12345678, QStringLiteral("HEX")).text),
                      antwort, false, 0, 0, 0, 0.8);
    comm.setPortOpen(false);
    ASSERT_GT(laenge, 0) << FehlerText.toStdString();
    EXPECT_EQ(antwort.mid(7, 4), QByteArray::fromHex("78563412"));
}

} // namespace
