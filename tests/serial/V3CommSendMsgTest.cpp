#include "PtyBus.h"
#include "SerielleUmgebung.h"
#include "platform/Global.h"
#include "platform/Warten.h"
#include "serial/SerielleDienste.h"

#include <QElapsedTimer>
#include <QThread>

#include <atomic>
#include <thread>

using namespace std::chrono_literals;

namespace {

const QByteArray kReqUd2 = QByteArray::fromHex("107BFD7816");

class V3CommSendMsgTest : public SerielleUmgebung
{
protected:
    void SetUp() override
    {
        SerielleUmgebung::SetUp();
        ASSERT_TRUE(m_bus.gueltig());
        comZuordnen(3, m_bus.geraet());
    }

    void oeffnen(const QString& baudText = QStringLiteral("2400"))
    {
        QString baud = baudText;
        ASSERT_EQ(ComPortOeffnen(m_comm, 3, baud), 0) << FehlerText.toStdString();
    }

    PtyBus m_bus;
    SerielleSchnittstelle m_comm;
};

TEST_F(V3CommSendMsgTest, closedPortIsMinusOne)
{
    EXPECT_EQ(V3CommSendMsg(m_comm, kReqUd2, 0, 0, 0, true), -1);

    EXPECT_EQ(programmlog(), QString());
}

TEST_F(V3CommSendMsgTest, frameReachesBusAndIsLoggedAsHex)
{
    oeffnen();

    ASSERT_EQ(V3CommSendMsg(m_comm, kReqUd2, 0, 0, 0, true), 0) << FehlerText.toStdString();

    EXPECT_EQ(m_bus.lesen(5, 1s), kReqUd2);
    EXPECT_EQ(programmlog(),
              QStringLiteral("05.12.26 12:00:00 Send Hex   : \t10;7B;FD;78;16;\r\n"));
}

TEST_F(V3CommSendMsgTest, withoutLogFlagNothingIsLogged)
{
    oeffnen();

    ASSERT_EQ(V3CommSendMsg(m_comm, kReqUd2, 0, 0, 0, false), 0);

    EXPECT_EQ(programmlog(), QString());
}

TEST_F(V3CommSendMsgTest, postDelayZeroLeavesRtsRaised)
{
    oeffnen();

    ASSERT_EQ(V3CommSendMsg(m_comm, kReqUd2, 0, 0, 0, false), 0);

    EXPECT_TRUE(m_comm.RTSEnable());
}

TEST_F(V3CommSendMsgTest, postDelayAboveZeroDropsRtsAfterTheDelay)
{
    oeffnen();
    QElapsedTimer uhr;
    uhr.start();

    ASSERT_EQ(V3CommSendMsg(m_comm, kReqUd2, 0, 0, 0.1, false), 0);

    EXPECT_FALSE(m_comm.RTSEnable());
    EXPECT_GE(uhr.elapsed(), 100);
}

TEST_F(V3CommSendMsgTest, preDelayPassesBeforeTheFrameIsSent)
{
    oeffnen();
    QElapsedTimer uhr;
    uhr.start();
    std::atomic<qint64> ankunftMs{-1};
    std::jthread zaehler([&] {
        if (m_bus.lesen(5, 2s) == kReqUd2)
            ankunftMs = uhr.elapsed();
    });

    ASSERT_EQ(V3CommSendMsg(m_comm, kReqUd2, 0.2, 0, 0, false), 0);
    zaehler.join();

    EXPECT_GE(ankunftMs.load(), 200);
}

TEST_F(V3CommSendMsgTest, bytesReceivedBeforeSendingAreDropped)
{
    oeffnen();
    m_bus.schreiben("alte Antwort");
    QThread::msleep(20);

    ASSERT_EQ(V3CommSendMsg(m_comm, kReqUd2, 0, 0, 0, false), 0);

    EXPECT_EQ(m_comm.InBufferCount(), 0);
    EXPECT_TRUE(m_comm.Input().isEmpty());
}

TEST_F(V3CommSendMsgTest, chatteringLineStopsTheInputFlushAfterOneSecond)
{
    oeffnen();
    std::atomic<bool> weiter{true};
    std::jthread stoerer([&] { m_bus.plappern(weiter); });
    QThread::msleep(20);
    QElapsedTimer uhr;
    uhr.start();

    const int status = V3CommSendMsg(m_comm, kReqUd2, 0, 0, 0, false);
    const qint64 dauer = uhr.elapsed();
    weiter = false;

    EXPECT_EQ(status, 0);
    EXPECT_GE(dauer, 1000);
    EXPECT_LT(dauer, 2500);
}

TEST_F(V3CommSendMsgTest, stalledOutputGivesMinusNineAfterWireTimePlusOneSecond)
{
    oeffnen(QStringLiteral("921600"));
    const QByteArray gross(20000, '\x55'); // more than the terminal holds: 239 ms on the wire
    QElapsedTimer uhr;
    uhr.start();

    const int status = V3CommSendMsg(m_comm, gross, 0, 0, 0.01, false);
    const qint64 dauer = uhr.elapsed();

    EXPECT_EQ(status, -9);
    EXPECT_TRUE(FehlerText.contains(QStringLiteral("Zeitüberschreitung")))
        << FehlerText.toStdString();
    EXPECT_FALSE(m_comm.RTSEnable());
    EXPECT_GE(dauer, 1239);
    EXPECT_LT(dauer, 3000);
}

TEST_F(V3CommSendMsgTest, stalledOutputGivesMinusNineAfterGivenSendTimeout)
{
    oeffnen(QStringLiteral("921600"));
    QElapsedTimer uhr;
    uhr.start();

    const int status = V3CommSendMsg(m_comm, QByteArray(20000, '\x55'), 0, 0.2, 0, false);
    const qint64 dauer = uhr.elapsed();

    EXPECT_EQ(status, -9);
    EXPECT_GE(dauer, 200);
    EXPECT_LT(dauer, 1000);
    EXPECT_TRUE(m_comm.RTSEnable());
}

TEST_F(V3CommSendMsgTest, unpluggedDeviceGivesMinusNineAndClosesPort)
{
    oeffnen();
    m_bus.schliessen();

    EXPECT_EQ(V3CommSendMsg(m_comm, kReqUd2, 0, 0, 0, true), -9);

    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_FALSE(m_comm.PortOpen());
}

TEST_F(V3CommSendMsgTest, emptyFrameSendsNothingAndSucceeds)
{
    oeffnen();

    EXPECT_EQ(V3CommSendMsg(m_comm, QByteArray(), 0, 0, 0, true), 0);

    EXPECT_TRUE(m_bus.lesen(1, 50ms).isEmpty());
    EXPECT_EQ(programmlog(), QStringLiteral("05.12.26 12:00:00 Send Hex   : \t\r\n"));
}

TEST_F(V3CommSendMsgTest, endingProgramStopsTheSend)
{
    oeffnen();
    ProgrammEndeMelden();

    EXPECT_EQ(V3CommSendMsg(m_comm, kReqUd2, 5, 0, 0, false), -9);

    EXPECT_FALSE(FehlerText.isEmpty());
}

TEST_F(V3CommSendMsgTest, controlBusyWithAnotherExchangeIsTurnedAway)
{
    oeffnen();
    m_comm.setBeschaeftigt(true);

    EXPECT_EQ(V3CommSendMsg(m_comm, kReqUd2, 0, 0, 0, false), -9);

    EXPECT_TRUE(m_bus.lesen(1, 50ms).isEmpty());
}

} // namespace
