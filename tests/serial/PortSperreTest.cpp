#include "serial/Portsperre.h"
#include "SerielleUmgebung.h"
#include "platform/Sperrdatei.h"
#include "serial/ComFehler.h"
#include "serial/ComZuordnung.h"
#include "support/ZweiterBenutzer.h"

#include <QProcess>
#include <QTimer>

#include <csignal>
#include <sys/stat.h>

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
    // The holder is killed: its lock file stays behind, naming a process that has ended.
    void halterToeten()
    {
        ::kill(static_cast<pid_t>(m_halter.processId()), SIGKILL);
        ASSERT_TRUE(m_halter.waitForFinished(5000));
    }
    void TearDown() override
    {
        if (m_halter.state() != QProcess::NotRunning) {
            m_halter.closeWriteChannel();
            m_halter.waitForFinished(5000);
        }
        // The lock files of the processes the tests killed.
        const QString datei = PortSperrdatei(m_bus.geraet());
        const Sperrhalter halter = SperrhalterLesen(datei);
        if (halter.datei && (halter.prozess == 0 || halter.beendet))
            QFile::remove(datei);
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

// The lock file is the one the serial port keeps while the device is open.
TEST_F(PortSperreTest, theLockFileIsTheOneTheSerialPortKeeps)
{
    const QString datei = PortSperrdatei(m_bus.geraet());
    ASSERT_FALSE(datei.isEmpty());
    EXPECT_FALSE(QFile::exists(datei));
    halten();
    EXPECT_TRUE(QFile::exists(datei)) << qPrintable(datei);
    freigeben();
    ASSERT_TRUE(m_halter.waitForFinished(5000));
    EXPECT_FALSE(QFile::exists(datei));
}

// A program killed between creating its lock file and writing it leaves the file empty; the
// serial port would count it as held for 30 s. Once old, the port opens at once.
TEST_F(PortSperreTest, anEmptyLockFileLeftByAKilledProgramDoesNotKeepThePortClosed)
{
    const QString datei = PortSperrdatei(m_bus.geraet());
    ASSERT_FALSE(datei.isEmpty());
    {
        QFile leer(datei);
        ASSERT_TRUE(leer.open(QIODevice::WriteOnly));
        ASSERT_TRUE(leer.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-10),
                                     QFileDevice::FileModificationTime));
    }
    SerielleSchnittstelle comm;
    ASSERT_EQ(comm.setCommPort(3), 0);
    EXPECT_EQ(comm.setPortOpen(true), 0) << comm.fehlerBeschreibung().toStdString();
    EXPECT_TRUE(comm.PortOpen());
}

// The lock file of a program of root that was killed stays in the sticky lock folder: another
// user's program cannot remove it, and the message says whose file it is, of which ended
// process, and who may delete it. Needs root and a second user (zweiterBenutzer).
TEST_F(PortSperreTest, aLockFileOfAnotherUsersKilledProgramIsNamedWithItsOwner)
{
    const QString hindernis = zweiterBenutzer::hindernis();
    if (!hindernis.isEmpty())
        GTEST_SKIP() << qPrintable(hindernis);
    const QString datei = PortSperrdatei(m_bus.geraet());
    struct stat ordner
    {
    };
    if (datei.isEmpty() ||
        ::stat(QFile::encodeName(QFileInfo(datei).absolutePath()).constData(), &ordner) != 0 ||
        (ordner.st_mode & S_ISVTX) == 0)
        GTEST_SKIP() << "the serial port's lock folder is not sticky here";
    halten();
    const qint64 pid = m_halter.processId();
    ASSERT_NO_FATAL_FAILURE(halterToeten());
    ASSERT_TRUE(QFile::exists(datei));

    // The second user reaches the terminal and the working folder with its ZEP.INI.
    QFile::setPermissions(m_bus.geraet(), QFileDevice::Permissions(0x6666));
    QFile::setPermissions(m_ordner.path(), QFileDevice::Permissions(0x7755));
    QFile::setPermissions(pfad(QStringLiteral("ZEP.INI")), QFileDevice::Permissions(0x6644));
    QProcess zweiter;
    zweiterBenutzer::einrichten(zweiter);
    zweiter.setWorkingDirectory(m_ordner.path());
    zweiter.start(QStringLiteral(SPERR_PROBE_BEFEHL),
                  {QStringLiteral("port"), QStringLiteral("3")});
    ASSERT_TRUE(zweiter.waitForFinished(15000));
    const QString antwort = QString::fromUtf8(zweiter.readAllStandardOutput()).trimmed();
    if (zweiter.exitCode() == 127 || antwort.isEmpty())
        GTEST_SKIP() << "the probe does not start as nobody: " << SPERR_PROBE_BEFEHL;
    const QString erwartet =
        QStringLiteral("fehler 8005 Anschluss gesperrt COM3 (%1): Sperrdatei %2 des beendeten "
                       "Prozesses %3 gehört dem Benutzer root, nur root kann sie löschen")
            .arg(m_bus.geraet(), datei)
            .arg(pid);
    EXPECT_EQ(antwort, erwartet);
    // root itself takes the port over as before.
    SerielleSchnittstelle comm;
    ASSERT_EQ(comm.setCommPort(3), 0);
    EXPECT_EQ(comm.setPortOpen(true), 0) << comm.fehlerBeschreibung().toStdString();
}

} // namespace
