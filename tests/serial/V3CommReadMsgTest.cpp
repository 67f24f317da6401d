#include "PtyBus.h"
#include "SerielleUmgebung.h"
#include "platform/Global.h"
#include "platform/Warten.h"
#include "serial/SerielleDienste.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <thread>

using namespace std::chrono_literals;

namespace {

// RSP_UD of a meter at address 5 with one record (9 bytes of user data).
const QByteArray kAntwort = LangerRahmen(QByteArray::fromHex("0805720100000005"));
const QByteArray kEcho = QByteArray::fromHex("107BFD7816");

class V3CommReadMsgTest : public SerielleUmgebung
{
protected:
    void SetUp() override
    {
        SerielleUmgebung::SetUp();
        ASSERT_TRUE(m_bus.gueltig());
        comZuordnen(3, m_bus.geraet());
        QString baud = QStringLiteral("9600");
        ASSERT_EQ(ComPortOeffnen(m_comm, 3, baud), 0) << FehlerText.toStdString();
    }

    LeseErgebnis rahmenLesen(double zeitlimit = 0.8, bool log = false)
    {
        m_zeitlimit = zeitlimit;
        return V3CommReadMsg(m_comm, 0x68, 0x16, m_zeitlimit, m_antwort, log);
    }

    PtyBus m_bus;
    SerielleSchnittstelle m_comm;
    double m_zeitlimit = 0.8;
    QByteArray m_antwort;
};

TEST_F(V3CommReadMsgTest, acknowledgementGivesOne)
{
    m_bus.schreiben("\xE5");
    double zeitlimit = 0.8;

    const LeseErgebnis r = V3CommReadMsg(m_comm, 0xE5, 0xE5, zeitlimit, m_antwort, false);

    EXPECT_TRUE(r == 1) << r.text().toStdString();
    EXPECT_EQ(m_antwort, QByteArray("\xE5"));
}

TEST_F(V3CommReadMsgTest, acknowledgementAmidNoiseGivesOne)
{
    m_bus.schreiben(QByteArray::fromHex("00FFE5AA"));
    double zeitlimit = 0.8;

    const LeseErgebnis r = V3CommReadMsg(m_comm, 0xE5, 0xE5, zeitlimit, m_antwort, false);

    EXPECT_TRUE(r == 1);
    EXPECT_EQ(m_antwort, QByteArray("\xE5"));
}

TEST_F(V3CommReadMsgTest, longFrameGivesItsLength)
{
    m_bus.schreiben(kAntwort);

    const LeseErgebnis r = rahmenLesen();

    EXPECT_TRUE(r == kAntwort.size()) << r.text().toStdString();
    EXPECT_EQ(m_antwort, kAntwort);
}

TEST_F(V3CommReadMsgTest, shortestLongFrameIsCompleteAtNineBytes)
{
    const QByteArray neun = QByteArray::fromHex("680303680805727F16");
    m_bus.schreiben(neun);

    EXPECT_TRUE(rahmenLesen() == 9);
    EXPECT_EQ(m_antwort, neun);
}

TEST_F(V3CommReadMsgTest, frameArrivingInPiecesKeepsTheWaitGoing)
{
    std::jthread zaehler([&] {
        m_bus.schreiben(kAntwort.left(3));
        std::this_thread::sleep_for(500ms);
        m_bus.schreiben(kAntwort.mid(3, 5));
        std::this_thread::sleep_for(500ms);
        m_bus.schreiben(kAntwort.mid(8));
    });
    QElapsedTimer uhr;
    uhr.start();

    const LeseErgebnis r = rahmenLesen();

    EXPECT_TRUE(r == kAntwort.size()) << r.text().toStdString();
    EXPECT_EQ(m_antwort, kAntwort);
    EXPECT_GE(uhr.elapsed(), 1000); // longer than the time-out: silence counts, not the whole
}

TEST_F(V3CommReadMsgTest, echoBeforeAndNoiseBehindTheFrameAreIgnored)
{
    m_bus.schreiben(kEcho + kAntwort + QByteArray::fromHex("16"));

    const LeseErgebnis r = rahmenLesen();

    EXPECT_TRUE(r == kAntwort.size()) << r.text().toStdString();
    EXPECT_EQ(m_antwort, kAntwort);
}

TEST_F(V3CommReadMsgTest, strayByteBehindTheFrameInALaterChunkIsIgnored)
{
    m_bus.schreiben(kAntwort.left(kAntwort.size() - 1));
    QThread::msleep(30);
    m_bus.schreiben(QByteArray::fromHex("1616"));

    const LeseErgebnis r = rahmenLesen();

    EXPECT_TRUE(r == kAntwort.size()) << r.text().toStdString();
    EXPECT_EQ(m_antwort, kAntwort);
}

TEST_F(V3CommReadMsgTest, completeFrameEmptiesBothBuffers)
{
    m_bus.schreiben(kAntwort + QByteArray("Rest"));

    ASSERT_TRUE(rahmenLesen() == kAntwort.size());

    EXPECT_EQ(m_comm.InBufferCount(), 0);
    EXPECT_EQ(m_comm.OutBufferCount(), 0);
}

TEST_F(V3CommReadMsgTest, silentLineTimesOutAfterZeroPointEightSecondsWrittenBack)
{
    QElapsedTimer uhr;
    uhr.start();

    const LeseErgebnis r = rahmenLesen(0);
    const qint64 dauer = uhr.elapsed();

    EXPECT_EQ(m_zeitlimit, 0.8);
    EXPECT_TRUE(r.istZeitueberschreitung());
    EXPECT_TRUE(r > 0);
    EXPECT_FALSE(r == 1);
    EXPECT_TRUE(m_antwort.isEmpty());
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^Timeout :   0,8\\d*$")).match(r.text()).hasMatch())
        << r.text().toStdString();
    EXPECT_GE(dauer, 800);
    EXPECT_LT(dauer, 1300);
}

TEST_F(V3CommReadMsgTest, timeoutTextCarriesTheLastChunkRead)
{
    m_bus.schreiben(QByteArray("\x68\x03", 2));

    const LeseErgebnis r = rahmenLesen(0.3);

    ASSERT_TRUE(r.istZeitueberschreitung());
    EXPECT_TRUE(r.text().startsWith(QStringLiteral("Timeout : h\x03  0,3")))
        << r.text().toStdString();
}

TEST_F(V3CommReadMsgTest, timeoutIsLoggedWithBufferSecondsAndTimeout)
{
    m_bus.schreiben(QByteArray("ab"));

    const LeseErgebnis r = rahmenLesen(0.3, true);

    ASSERT_TRUE(r.istZeitueberschreitung());
    const QRegularExpression zeile(QStringLiteral(
        "^05\\.12\\.26 12:00:00 Timeout V3CommReadMsg : ab  0,3\\d*  abTmOut=0,3\r\n$"));
    EXPECT_TRUE(zeile.match(programmlog()).hasMatch()) << programmlog().toStdString();
}

TEST_F(V3CommReadMsgTest, successIsLoggedAsHexOfEverythingReceived)
{
    m_bus.schreiben(kEcho + kAntwort);

    ASSERT_TRUE(rahmenLesen(0.8, true) == kAntwort.size());

    EXPECT_EQ(programmlog(), QStringLiteral("05.12.26 12:00:00 Gelesen Hex   : \t10;7B;FD;78;16;") +
                                 QStringLiteral("68;08;08;68;08;05;72;01;00;00;00;05;85;16;\r\n"));
}

TEST_F(V3CommReadMsgTest, frameWithWrongChecksumTimesOut)
{
    QByteArray falsch = kAntwort;
    falsch[falsch.size() - 2] = static_cast<char>(falsch.at(falsch.size() - 2) + 1);
    m_bus.schreiben(falsch);

    const LeseErgebnis r = rahmenLesen(0.3);

    EXPECT_TRUE(r.istZeitueberschreitung());
    EXPECT_TRUE(m_antwort.isEmpty());
}

TEST_F(V3CommReadMsgTest, lineThatNeverFallsSilentStillEnds)
{
    std::atomic<bool> weiter{true};
    std::jthread stoerer([&] {
        while (weiter) {
            m_bus.schreiben(QByteArray(1, '\x55'));
            std::this_thread::sleep_for(5ms);
        }
    });
    QElapsedTimer uhr;
    uhr.start();

    const LeseErgebnis r = rahmenLesen(0.8);
    const qint64 dauer = uhr.elapsed();
    weiter = false;

    EXPECT_TRUE(r.istZeitueberschreitung());
    EXPECT_GE(dauer, 3900); // three time-outs, one second, twice the longest frame at 9600 baud
    EXPECT_LT(dauer, 5000);
}

TEST_F(V3CommReadMsgTest, closedPortGivesMinusOne)
{
    m_comm.setPortOpen(false);

    const LeseErgebnis r = rahmenLesen();

    EXPECT_TRUE(r == -1);
    EXPECT_FALSE(FehlerText.isEmpty());
}

TEST_F(V3CommReadMsgTest, unpluggedDeviceEndsTheReadAtOnce)
{
    std::jthread abzieher([&] {
        std::this_thread::sleep_for(100ms);
        m_bus.schliessen();
    });
    QElapsedTimer uhr;
    uhr.start();

    const LeseErgebnis r = rahmenLesen(5);

    EXPECT_TRUE(r == -1) << r.text().toStdString();
    EXPECT_LT(uhr.elapsed(), 1000);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_FALSE(m_comm.PortOpen());
}

TEST_F(V3CommReadMsgTest, portClosedByAWindowWhileWaitingEndsTheRead)
{
    QTimer::singleShot(100, [this] { m_comm.setPortOpen(false); });
    QElapsedTimer uhr;
    uhr.start();

    const LeseErgebnis r = rahmenLesen(5);

    EXPECT_TRUE(r == -1);
    EXPECT_LT(uhr.elapsed(), 1000);
    EXPECT_FALSE(FehlerText.isEmpty());
}

TEST_F(V3CommReadMsgTest, endingProgramStopsTheRead)
{
    ProgrammEndeMelden();

    const LeseErgebnis r = rahmenLesen(5);

    EXPECT_TRUE(r == -1);
    EXPECT_FALSE(FehlerText.isEmpty());
}

TEST_F(V3CommReadMsgTest, controlBusyWithAnotherExchangeIsTurnedAway)
{
    m_bus.schreiben(kAntwort);
    m_comm.setBeschaeftigt(true);

    EXPECT_TRUE(rahmenLesen() == -1);

    EXPECT_TRUE(m_antwort.isEmpty());
}

} // namespace
