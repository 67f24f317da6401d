#include "serial/SerielleSchnittstelle.h"
#include "PtyBus.h"
#include "SerielleUmgebung.h"
#include "serial/ComFehler.h"
#include "serial/ComZuordnung.h"
#include "serial/Geraetebelegung.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

using namespace std::chrono_literals;

namespace {

class SerielleSchnittstelleTest : public SerielleUmgebung
{
protected:
    void SetUp() override
    {
        SerielleUmgebung::SetUp();
        ASSERT_TRUE(m_bus.gueltig());
        comZuordnen(3, m_bus.geraet());
    }

    // Reads Input until n bytes have come (at most a second).
    QByteArray eingangLesen(SerielleSchnittstelle& comm, qsizetype n)
    {
        QByteArray daten;
        QElapsedTimer uhr;
        uhr.start();
        while (daten.size() < n && uhr.elapsed() < 1000) {
            daten += comm.Input();
            QThread::msleep(1);
        }
        return daten;
    }

    PtyBus m_bus;
};

TEST_F(SerielleSchnittstelleTest, portNumberResolvesThroughComSectionOfZepIni)
{
    comZuordnen(12, QStringLiteral("/dev/ttyUSB0"));

    EXPECT_EQ(ComGeraet(12), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(ComGeraet(3), m_bus.geraet());
}

TEST_F(SerielleSchnittstelleTest, unmappedPortIsBuiltInSerialPort)
{
    EXPECT_EQ(ComGeraet(1), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(ComGeraet(16), QStringLiteral("/dev/ttyS15"));
    EXPECT_EQ(ComGeraet(0), QString());
}

TEST_F(SerielleSchnittstelleTest, opensMappedDeviceAtSettings)
{
    SerielleSchnittstelle comm;
    ASSERT_EQ(comm.setCommPort(3), 0);
    ASSERT_EQ(comm.setSettings(QStringLiteral("2400,E,8,1")), 0);

    ASSERT_EQ(comm.setPortOpen(true), 0) << comm.fehlerBeschreibung().toStdString();

    EXPECT_TRUE(comm.PortOpen());
    EXPECT_EQ(comm.geraet(), m_bus.geraet());
    EXPECT_EQ(m_bus.baud(), 2400);
}

TEST_F(SerielleSchnittstelleTest, settingsChangeOnOpenPortReachesDevice)
{
    SerielleSchnittstelle comm;
    comm.setCommPort(3);
    ASSERT_EQ(comm.setPortOpen(true), 0);

    ASSERT_EQ(comm.setSettings(QStringLiteral("9600,E,8,1")), 0);

    EXPECT_EQ(m_bus.baud(), 9600);
}

TEST_F(SerielleSchnittstelleTest, badSettingsTextIsInvalidPropertyValueAndKeepsOldText)
{
    SerielleSchnittstelle comm;

    EXPECT_EQ(comm.setSettings(QStringLiteral("9600;E;8;1")), ComFehler::kUngueltigerWert);

    EXPECT_EQ(comm.fehlerNummer(), ComFehler::kUngueltigerWert);
    EXPECT_FALSE(comm.fehlerBeschreibung().isEmpty());
    EXPECT_EQ(comm.Settings(), QStringLiteral("9600,N,8,1"));
}

TEST_F(SerielleSchnittstelleTest, missingDeviceIsInvalidPort)
{
    comZuordnen(4, pfad(QStringLiteral("gibtsnicht")));
    SerielleSchnittstelle comm;
    comm.setCommPort(4);

    EXPECT_EQ(comm.setPortOpen(true), ComFehler::kUngueltigerPort);
    EXPECT_FALSE(comm.PortOpen());
    EXPECT_TRUE(comm.fehlerBeschreibung().contains(QStringLiteral("gibtsnicht")));
}

TEST_F(SerielleSchnittstelleTest, fileThatIsNoSerialDeviceIsInvalidPort)
{
    schreiben(QStringLiteral("keinport"), "text");
    comZuordnen(4, pfad(QStringLiteral("keinport")));
    SerielleSchnittstelle comm;
    comm.setCommPort(4);

    EXPECT_EQ(comm.setPortOpen(true), ComFehler::kUngueltigerPort);
    EXPECT_FALSE(comm.PortOpen());
}

TEST_F(SerielleSchnittstelleTest, portNumberOutOfRangeIsInvalidPort)
{
    SerielleSchnittstelle comm;

    EXPECT_EQ(comm.setCommPort(0), ComFehler::kUngueltigerPort);
    EXPECT_EQ(comm.setCommPort(256), ComFehler::kUngueltigerPort);
    EXPECT_EQ(comm.CommPort(), 1);
}

TEST_F(SerielleSchnittstelleTest, portNumberCannotChangeWhileOpen)
{
    SerielleSchnittstelle comm;
    comm.setCommPort(3);
    ASSERT_EQ(comm.setPortOpen(true), 0);

    EXPECT_EQ(comm.setCommPort(4), ComFehler::kPortOffen);
    EXPECT_EQ(comm.CommPort(), 3);
}

TEST_F(SerielleSchnittstelleTest, openingOpenPortAgainIsPortAlreadyOpen)
{
    SerielleSchnittstelle comm;
    comm.setCommPort(3);
    ASSERT_EQ(comm.setPortOpen(true), 0);

    EXPECT_EQ(comm.setPortOpen(true), ComFehler::kPortBelegt);
    EXPECT_TRUE(comm.PortOpen());
}

TEST_F(SerielleSchnittstelleTest, deviceOpenInAnotherControlIsPortAlreadyOpen)
{
    comZuordnen(5, m_bus.geraet());
    SerielleSchnittstelle erste;
    erste.setCommPort(3);
    ASSERT_EQ(erste.setPortOpen(true), 0);
    SerielleSchnittstelle zweite;
    zweite.setCommPort(5);

    EXPECT_EQ(zweite.setPortOpen(true), ComFehler::kPortBelegt);

    erste.setPortOpen(false);
    EXPECT_EQ(zweite.setPortOpen(true), 0);
}

TEST_F(SerielleSchnittstelleTest, linkToOpenDeviceIsTheSameDevice)
{
    ASSERT_TRUE(QFile::link(m_bus.geraet(), pfad(QStringLiteral("verweis"))));
    comZuordnen(6, pfad(QStringLiteral("verweis")));
    SerielleSchnittstelle erste;
    erste.setCommPort(3);
    ASSERT_EQ(erste.setPortOpen(true), 0);
    SerielleSchnittstelle zweite;
    zweite.setCommPort(6);

    EXPECT_EQ(zweite.setPortOpen(true), ComFehler::kPortBelegt);
}

TEST_F(SerielleSchnittstelleTest, deviceHeldByAnotherPartOfTheProgramIsPortAlreadyOpen)
{
    const Geraetebelegung treiber(m_bus.geraet());
    ASSERT_TRUE(treiber.erhalten());
    SerielleSchnittstelle comm;
    comm.setCommPort(3);

    EXPECT_EQ(comm.setPortOpen(true), ComFehler::kPortBelegt);
}

TEST_F(SerielleSchnittstelleTest, openPortIsRegisteredUntilClosed)
{
    SerielleSchnittstelle comm;
    comm.setCommPort(3);
    ASSERT_EQ(comm.setPortOpen(true), 0);
    EXPECT_TRUE(Geraetebelegung::belegt(m_bus.geraet()));
    EXPECT_FALSE(Geraetebelegung(m_bus.geraet()).erhalten());

    comm.setPortOpen(false);

    EXPECT_FALSE(Geraetebelegung::belegt(m_bus.geraet()));
}

TEST_F(SerielleSchnittstelleTest, destroyedControlGivesDeviceBack)
{
    {
        SerielleSchnittstelle comm;
        comm.setCommPort(3);
        ASSERT_EQ(comm.setPortOpen(true), 0);
    }
    EXPECT_FALSE(Geraetebelegung::belegt(m_bus.geraet()));
}

TEST_F(SerielleSchnittstelleTest, closingClosedPortIsDeviceNotOpen)
{
    SerielleSchnittstelle comm;

    EXPECT_EQ(comm.setPortOpen(false), ComFehler::kNichtGeoeffnet);
}

TEST_F(SerielleSchnittstelleTest, dataAccessOnClosedPortFailsWithoutCrash)
{
    SerielleSchnittstelle comm;

    EXPECT_TRUE(comm.Input().isEmpty());
    EXPECT_EQ(comm.fehlerNummer(), ComFehler::kNurBeiOffenemPort);
    EXPECT_EQ(comm.setOutput("x"), ComFehler::kNurBeiOffenemPort);
    EXPECT_EQ(comm.InBufferCount(), 0);
    EXPECT_EQ(comm.fehlerNummer(), ComFehler::kNurBeiOffenemPort);
    EXPECT_EQ(comm.OutBufferCount(), 0);
    EXPECT_EQ(comm.setInBufferCount(0), ComFehler::kNurBeiOffenemPort);
}

TEST_F(SerielleSchnittstelleTest, outputReachesBusAsRawBytes)
{
    SerielleSchnittstelle comm;
    comm.setCommPort(3);
    ASSERT_EQ(comm.setPortOpen(true), 0);
    const QByteArray bytes = QByteArray::fromHex("68FF00E5C4A416");

    ASSERT_EQ(comm.setOutput(bytes), 0);

    EXPECT_EQ(m_bus.lesen(bytes.size(), 1s), bytes);
}

TEST_F(SerielleSchnittstelleTest, inputGivesRawBytesWithoutEventLoop)
{
    SerielleSchnittstelle comm;
    comm.setCommPort(3);
    ASSERT_EQ(comm.setPortOpen(true), 0);
    QByteArray alle;
    for (int i = 0; i < 256; ++i)
        alle.append(static_cast<char>(i));

    m_bus.schreiben(alle);

    EXPECT_EQ(eingangLesen(comm, alle.size()), alle);
}

TEST_F(SerielleSchnittstelleTest, inputLenLimitsOneRead)
{
    SerielleSchnittstelle comm;
    comm.setCommPort(3);
    ASSERT_EQ(comm.setPortOpen(true), 0);
    m_bus.schreiben("abcdef");
    QElapsedTimer uhr;
    uhr.start();
    while (comm.InBufferCount() < 6 && uhr.elapsed() < 1000)
        QThread::msleep(1);

    comm.setInputLen(4);

    EXPECT_EQ(comm.Input(), QByteArray("abcd"));
    EXPECT_EQ(comm.InBufferCount(), 2);
}

TEST_F(SerielleSchnittstelleTest, settingInBufferCountToZeroDropsReceivedBytes)
{
    SerielleSchnittstelle comm;
    comm.setCommPort(3);
    ASSERT_EQ(comm.setPortOpen(true), 0);
    m_bus.schreiben("alt");
    QElapsedTimer uhr;
    uhr.start();
    while (comm.InBufferCount() < 3 && uhr.elapsed() < 1000)
        QThread::msleep(1);
    ASSERT_EQ(comm.InBufferCount(), 3);

    ASSERT_EQ(comm.setInBufferCount(0), 0);

    EXPECT_EQ(comm.InBufferCount(), 0);
    EXPECT_TRUE(comm.Input().isEmpty());
}

TEST_F(SerielleSchnittstelleTest, outBufferCountStaysAboveZeroWhileBusTakesNothing)
{
    SerielleSchnittstelle comm;
    comm.setCommPort(3);
    ASSERT_EQ(comm.setPortOpen(true), 0);

    comm.setOutput(QByteArray(100000, 'x'));
    QThread::msleep(20);

    EXPECT_GT(comm.OutBufferCount(), 0);
    ASSERT_EQ(comm.setOutBufferCount(0), 0);
    EXPECT_EQ(comm.OutBufferCount(), 0);
}

TEST_F(SerielleSchnittstelleTest, rtsAndDtrOnPseudoTerminalAreNoError)
{
    SerielleSchnittstelle comm;
    comm.setCommPort(3);
    ASSERT_EQ(comm.setPortOpen(true), 0);

    EXPECT_EQ(comm.setRTSEnable(true), 0);
    EXPECT_EQ(comm.setDTREnable(true), 0);

    EXPECT_TRUE(comm.RTSEnable());
    EXPECT_TRUE(comm.DTREnable());
    EXPECT_EQ(comm.fehlerNummer(), 0);
}

TEST_F(SerielleSchnittstelleTest, unpluggedDeviceClosesPortWithDeviceError)
{
    SerielleSchnittstelle comm;
    comm.setCommPort(3);
    ASSERT_EQ(comm.setPortOpen(true), 0);

    m_bus.schliessen();
    comm.Input();

    EXPECT_EQ(comm.fehlerNummer(), ComFehler::kGeraeteFehler);
    EXPECT_FALSE(comm.PortOpen());
    EXPECT_FALSE(Geraetebelegung::belegt(m_bus.geraet()));
}

} // namespace
