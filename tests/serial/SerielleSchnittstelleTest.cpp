#include "SerielleUmgebung.h"
#include "serial/ComFehler.h"
#include "serial/ComZuordnung.h"
#include "serial/Geraetebelegung.h"
#include "support/OhneRootRechte.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

using namespace std::chrono_literals;

namespace {

class SerielleSchnittstelleTest : public PtyUmgebung
{
protected:
    void SetUp() override
    {
        PtyUmgebung::SetUp();
        ASSERT_EQ(m_comm.setSettings(QStringLiteral("2400,E,8,1")), 0);
        ASSERT_EQ(m_comm.setCommPort(3), 0);
        ASSERT_EQ(m_comm.setPortOpen(true), 0) << m_comm.fehlerBeschreibung().toStdString();
    }
    // Waits (at most a second) until n bytes are in the input buffer.
    void eingangAbwarten(int n)
    {
        QElapsedTimer uhr;
        uhr.start();
        while (m_comm.InBufferCount() < n && uhr.elapsed() < 1000)
            QThread::msleep(1);
    }
};

// Ports 4 and 5 lead nowhere or to a file; 6 and 7 to the open bus, directly or through a link.
TEST_F(SerielleSchnittstelleTest, openIsRefusedForBadOrBusyDevices)
{
    schreiben(QStringLiteral("keinport"), "text");
    ASSERT_TRUE(QFile::link(m_bus.geraet(), pfad(QStringLiteral("verweis"))));
    const QString geraete[] = {pfad(QStringLiteral("fehlt")), pfad(QStringLiteral("keinport")),
                               m_bus.geraet(), pfad(QStringLiteral("verweis"))};
    for (int port = 4; port <= 7; ++port)
        comZuordnen(port, geraete[port - 4]);
    for (int port = 4; port <= 7; ++port) {
        SerielleSchnittstelle comm;
        comm.setCommPort(port);
        EXPECT_EQ(comm.setPortOpen(true),
                  port < 6 ? ComFehler::kUngueltigerPort : ComFehler::kPortBelegt)
            << port;
        EXPECT_FALSE(comm.PortOpen()) << port;
    }
    EXPECT_EQ(m_comm.setPortOpen(true), ComFehler::kPortBelegt);
    EXPECT_EQ(m_comm.setCommPort(4), ComFehler::kPortOffen);
    EXPECT_EQ(SerielleSchnittstelle().setCommPort(256), ComFehler::kUngueltigerPort);
}

// What the program log says about a port that did not open: the device tried and the ZEP.INI line.
TEST_F(SerielleSchnittstelleTest, hintNamesTheDeviceTriedAndTheSettingsLine)
{
    comZuordnen(4, pfad(QStringLiteral("fehlt")));
    const std::pair<int, QString> faelle[] = {
        {4, QStringLiteral("Gerät %1 nicht vorhanden: ZEP.INI [COM] COM4=%1")
                .arg(pfad(QStringLiteral("fehlt")))},
        {255, QStringLiteral("Gerät /dev/ttyS254 nicht vorhanden, Eintrag fehlt: ZEP.INI [COM] "
                             "COM255=")},
        {3, QStringLiteral("Gerät ") + m_bus.geraet()},
        {0, QStringLiteral("keine Portnummer von 1 bis 255")},
    };
    for (const auto& [port, hinweis] : faelle)
        EXPECT_EQ(ComGeraetHinweis(port), hinweis) << port;
}

// A device that is there but that this user may not open: no port for us, named as a refused
// access in the open's text and in the program log's hint.
TEST_F(SerielleSchnittstelleTest, aDeviceThisUserMayNotOpenIsNamedAsARefusedAccess)
{
    PtyBus verboten;
    ASSERT_TRUE(verboten.gueltig());
    comZuordnen(4, verboten.geraet());
    // ZEP.INI stays readable for the user of the step.
    ASSERT_TRUE(QFile::setPermissions(
        m_ordner.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                             QFileDevice::ReadOther | QFileDevice::ExeOther));
    ASSERT_TRUE(QFile::setPermissions(verboten.geraet(), QFileDevice::Permissions()));
    int nummer = 0;
    QString text, hinweis;
    {
        const OhneRootRechte rechte;
        ASSERT_TRUE(rechte.gueltig());
        SerielleSchnittstelle comm;
        ASSERT_EQ(comm.setCommPort(4), 0);
        nummer = comm.setPortOpen(true);
        text = comm.fehlerBeschreibung();
        hinweis = ComGeraetHinweis(4);
    }
    EXPECT_EQ(nummer, ComFehler::kUngueltigerPort);
    EXPECT_EQ(text, QStringLiteral("Ungültige Anschlussnummer COM4 (%1): Zugriff verweigert (keine "
                                   "Lese- und Schreibberechtigung für das Gerät)")
                        .arg(verboten.geraet()));
    EXPECT_EQ(hinweis, QStringLiteral("Gerät %1: Zugriff verweigert (keine Lese- und "
                                      "Schreibberechtigung für das Gerät)")
                           .arg(verboten.geraet()));
    // The devices of this user keep the plain hint.
    EXPECT_EQ(ComGeraetHinweis(3), QStringLiteral("Gerät ") + m_bus.geraet());
}

TEST_F(SerielleSchnittstelleTest, deviceIsHeldWhileOpenAndGivenBackOnCloseDestructionOrUnplug)
{
    EXPECT_TRUE(Geraetebelegung::belegt(m_bus.geraet()));
    m_comm.setPortOpen(false);
    EXPECT_FALSE(Geraetebelegung::belegt(m_bus.geraet()));
    EXPECT_EQ(m_comm.setPortOpen(false), ComFehler::kNichtGeoeffnet);
    EXPECT_TRUE(m_comm.Input().isEmpty()); // data access on a closed port fails without crash
    EXPECT_EQ(m_comm.setOutput("x"), ComFehler::kNurBeiOffenemPort);
    {
        SerielleSchnittstelle weitere;
        weitere.setCommPort(3);
        ASSERT_EQ(weitere.setPortOpen(true), 0);
    }
    {
        const Geraetebelegung treiber(m_bus.geraet()); // another part of the program
        ASSERT_TRUE(treiber.erhalten());
        EXPECT_EQ(m_comm.setPortOpen(true), ComFehler::kPortBelegt);
    }
    ASSERT_EQ(m_comm.setPortOpen(true), 0);
    m_bus.schliessen();
    m_comm.Input();
    EXPECT_EQ(m_comm.fehlerNummer(), ComFehler::kGeraeteFehler);
    EXPECT_FALSE(m_comm.PortOpen());
    EXPECT_FALSE(Geraetebelegung::belegt(m_bus.geraet()));
}

TEST_F(SerielleSchnittstelleTest, everyByteValuePassesUnchangedBothWaysAndInputLenLimitsARead)
{
    QByteArray alle;
    for (int i = 0; i < 256; ++i)
        alle.append(static_cast<char>(i));
    ASSERT_EQ(m_comm.setOutput(alle), 0);
    EXPECT_EQ(m_bus.lesen(alle.size(), 1s), alle);
    m_bus.schreiben(alle);
    eingangAbwarten(256);
    m_comm.setInputLen(250);
    EXPECT_EQ(m_comm.Input(), alle.left(250));
    EXPECT_EQ(m_comm.InBufferCount(), 6);
    ASSERT_EQ(m_comm.setInBufferCount(0), 0);
    EXPECT_TRUE(m_comm.Input().isEmpty());
}

} // namespace
