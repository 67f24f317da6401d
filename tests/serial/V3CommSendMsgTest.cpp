#include "SerielleUmgebung.h"
#include "platform/Warten.h"
#include "serial/SerielleFristen.h"

#include <QElapsedTimer>
#include <QThread>

#include <atomic>
#include <thread>

using namespace std::chrono_literals;

namespace {

const QByteArray kReqUd2 = QByteArray::fromHex("107BFD7816");

class V3CommSendMsgTest : public PtyUmgebung
{
protected:
    void SetUp() override
    {
        PtyUmgebung::SetUp();
        oeffnen(QStringLiteral("2400"));
    }
};

TEST_F(V3CommSendMsgTest, preDelayPassesBeforeSendingAndPostDelayDropsRts)
{
    ASSERT_EQ(V3CommSendMsg(m_comm, kReqUd2, 0, 0, 0, false), 0);
    EXPECT_TRUE(m_comm.RTSEnable()); // no post delay: RTS stays up
    m_bus.lesen(5, 1s);
    QElapsedTimer uhr;
    uhr.start();
    std::atomic<qint64> ankunftMs{-1};
    std::jthread zaehler([&] {
        if (m_bus.lesen(5, 2s) == kReqUd2)
            ankunftMs = uhr.elapsed();
    });
    ASSERT_EQ(V3CommSendMsg(m_comm, kReqUd2, 0.2, 0, 0.1, false), 0);
    zaehler.join();
    EXPECT_GE(ankunftMs.load(), 200);
    EXPECT_GE(uhr.elapsed(), 300);
    EXPECT_FALSE(m_comm.RTSEnable());
}

TEST_F(V3CommSendMsgTest, inputIsFlushedBeforeSendingButNotForever)
{
    m_bus.schreiben("alte Antwort");
    QThread::msleep(20);
    ASSERT_EQ(V3CommSendMsg(m_comm, kReqUd2, 0, 0, 0, false), 0);
    EXPECT_EQ(m_comm.InBufferCount(), 0);
    std::atomic<bool> weiter{true};
    std::jthread stoerer([&] {
        while (weiter)
            m_bus.schreiben(QByteArray(4096, '\x55'));
    });
    QThread::msleep(20);
    const qint64 ms =
        dauerMs([&] { EXPECT_EQ(V3CommSendMsg(m_comm, kReqUd2, 0, 0, 0, false), 0); });
    // The chattering never stops, so only the bound says that the flush gave up.
    EXPECT_LT(ms, LeerlesenFristMs(2400) + 1000);
    weiter = false;
}

// 20000 bytes are more than the terminal holds; at 921600 baud they take 239 ms on the wire.
TEST_F(V3CommSendMsgTest, stalledOutputGivesMinusNineAfterABoundedWait)
{
    const struct
    {
        double sendeZeitlimit, nachlauf;
        qint64 minMs, maxMs;
        bool rts;
    } faelle[] = {{0, 0.01, 1239, 3000, false}, {0.2, 0, 200, 1000, true}};
    oeffnen(QStringLiteral("921600"));
    for (const auto& fall : faelle) {
        m_comm.setOutBufferCount(0);
        const qint64 ms = dauerMs([&] {
            EXPECT_EQ(V3CommSendMsg(m_comm, QByteArray(20000, '\x55'), 0, fall.sendeZeitlimit,
                                    fall.nachlauf, false),
                      -9);
        });
        EXPECT_GE(ms, fall.minMs);
        EXPECT_LT(ms, fall.maxMs);
        EXPECT_TRUE(FehlerText.contains(QStringLiteral("Zeitüberschreitung")));
        EXPECT_EQ(m_comm.RTSEnable(), fall.rts);
    }
}

// A closed port gives -1; a busy control, the end of the program and an unplugged device -9.
TEST_F(V3CommSendMsgTest, sendThatCannotGoOnSendsNothing)
{
    m_comm.setPortOpen(false);
    EXPECT_EQ(V3CommSendMsg(m_comm, kReqUd2, 0, 0, 0, true), -1);
    EXPECT_EQ(programmlog(), QString());
    oeffnen(QStringLiteral("2400"));
    m_comm.setBeschaeftigt(true);
    EXPECT_EQ(V3CommSendMsg(m_comm, kReqUd2, 0, 0, 0, false), -9);
    m_comm.setBeschaeftigt(false);
    ProgrammEndeMelden();
    EXPECT_EQ(V3CommSendMsg(m_comm, kReqUd2, 5, 0, 0, false), -9);
    EXPECT_TRUE(m_bus.lesen(1, 50ms).isEmpty());
    ProgrammEndeZuruecksetzen();
    m_bus.schliessen();
    EXPECT_EQ(V3CommSendMsg(m_comm, kReqUd2, 0, 0, 0, true), -9);
    EXPECT_FALSE(m_comm.PortOpen());
}

} // namespace
