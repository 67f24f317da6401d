#include "SerielleUmgebung.h"
#include "serial/ComFehler.h"

#include <QProcess>
#include <QTimer>

namespace {

// The bus terminal held by a second program through its serial port lock.
class PortSperreTest : public PtyUmgebung
{
protected:
    void halten()
    {
        m_halter.start(QStringLiteral(PORT_HALTER_BEFEHL), {m_bus.geraet()});
        ASSERT_TRUE(m_halter.waitForStarted(5000));
        ASSERT_TRUE(m_halter.waitForReadyRead(5000));
        ASSERT_EQ(m_halter.readLine().trimmed(), QByteArray("offen"));
    }
    void freigeben()
    {
        m_halter.write("\n");
        m_halter.waitForBytesWritten(1000);
    }
    void TearDown() override
    {
        if (m_halter.state() != QProcess::NotRunning) {
            m_halter.closeWriteChannel();
            m_halter.waitForFinished(5000);
        }
        PtyUmgebung::TearDown();
    }
    QProcess m_halter;
};

// The other program lets go while the open waits; the open then succeeds.
TEST_F(PortSperreTest, openWaitsOutALockReleasedSoon)
{
    halten();
    QTimer::singleShot(100, &m_halter, [this] { freigeben(); });
    SerielleSchnittstelle comm;
    ASSERT_EQ(comm.setCommPort(3), 0);
    EXPECT_EQ(comm.setPortOpen(true), 0) << comm.fehlerBeschreibung().toStdString();
    EXPECT_TRUE(comm.PortOpen());
    // The other program may have ended during the wait already.
    m_halter.waitForFinished(5000);
    EXPECT_EQ(m_halter.state(), QProcess::NotRunning);
    EXPECT_EQ(m_halter.exitCode(), 0);
}

// A lock held for longer than the wait: the port is reported busy, and opens once it is free.
TEST_F(PortSperreTest, lockHeldPastTheWaitGivesPortAlreadyOpen)
{
    halten();
    SerielleSchnittstelle comm;
    QString baud = QStringLiteral("2400");
    EXPECT_EQ(ComPortOeffnen(comm, 3, baud), -2);
    EXPECT_EQ(comm.fehlerNummer(), ComFehler::kPortBelegt);
    EXPECT_TRUE(FehlerText.startsWith(QStringLiteral("Anschluss bereits geöffnet")))
        << FehlerText.toStdString();
    freigeben();
    ASSERT_TRUE(m_halter.waitForFinished(5000));
    EXPECT_EQ(ComPortOeffnen(comm, 3, baud), 0) << FehlerText.toStdString();
}

// A master opens the port for every meter: once a lock outlasted a whole wait, the next open
// tries once instead of waiting again, and one that succeeds brings the wait back.
TEST_F(PortSperreTest, afterALockOutlastedTheWaitTheNextOpenDoesNotWaitAgain)
{
    halten();
    SerielleSchnittstelle comm;
    ASSERT_EQ(comm.setCommPort(3), 0);
    EXPECT_EQ(comm.setPortOpen(true), ComFehler::kPortBelegt);
    // Released shortly after the next open begins: a wait would see it free.
    QTimer spaeter;
    spaeter.setSingleShot(true);
    QObject::connect(&spaeter, &QTimer::timeout, &m_halter, [this] { freigeben(); });
    spaeter.start(100);
    EXPECT_EQ(comm.setPortOpen(true), ComFehler::kPortBelegt);
    EXPECT_TRUE(spaeter.isActive());
    spaeter.stop();
    freigeben();
    ASSERT_TRUE(m_halter.waitForFinished(5000));
    EXPECT_EQ(comm.setPortOpen(true), 0) << comm.fehlerBeschreibung().toStdString();
    ASSERT_EQ(comm.setPortOpen(false), 0);

    // After the success the lock is waited out again.
    halten();
    QTimer::singleShot(100, &m_halter, [this] { freigeben(); });
    EXPECT_EQ(comm.setPortOpen(true), 0) << comm.fehlerBeschreibung().toStdString();
}

} // namespace
