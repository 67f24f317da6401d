#include "PtyBus.h"
#include "SerielleUmgebung.h"
#include "platform/Global.h"
#include "serial/Geraetebelegung.h"
#include "serial/SerielleDienste.h"

namespace {

class ComPortOeffnenTest : public SerielleUmgebung
{
protected:
    void SetUp() override
    {
        SerielleUmgebung::SetUp();
        ASSERT_TRUE(m_bus.gueltig());
        comZuordnen(3, m_bus.geraet());
    }

    PtyBus m_bus;
};

class BaudOhneZahlenwert : public ComPortOeffnenTest,
                           public ::testing::WithParamInterface<const char*>
{
};

TEST_P(BaudOhneZahlenwert, opensAt9600AndWrites9600Back)
{
    SerielleSchnittstelle comm;
    QString baud = QString::fromLatin1(GetParam());

    EXPECT_EQ(ComPortOeffnen(comm, 3, baud), 0) << FehlerText.toStdString();

    EXPECT_EQ(baud, QStringLiteral("9600"));
    EXPECT_EQ(comm.Settings(), QStringLiteral("9600,E,8,1"));
    EXPECT_TRUE(comm.PortOpen());
    EXPECT_EQ(m_bus.baud(), 9600);
}

INSTANTIATE_TEST_SUITE_P(Texte, BaudOhneZahlenwert,
                         ::testing::Values("", "0", "abc", "  ", "0.0", "-"));

TEST_F(ComPortOeffnenTest, givenBaudGoesIntoSettingsWithEvenParityEightDataBitsOneStopBit)
{
    SerielleSchnittstelle comm;
    QString baud = QStringLiteral("2400");

    ASSERT_EQ(ComPortOeffnen(comm, 3, baud), 0);

    EXPECT_EQ(baud, QStringLiteral("2400"));
    EXPECT_EQ(comm.Settings(), QStringLiteral("2400,E,8,1"));
    EXPECT_EQ(m_bus.baud(), 2400);
}

TEST_F(ComPortOeffnenTest, setsBuffersDtrOnAndRtsOff)
{
    SerielleSchnittstelle comm;
    comm.setRTSEnable(true);
    QString baud = QStringLiteral("2400");

    ASSERT_EQ(ComPortOeffnen(comm, 3, baud), 0);

    EXPECT_TRUE(comm.DTREnable());
    EXPECT_FALSE(comm.RTSEnable());
    EXPECT_EQ(comm.InBufferSize(), 8000);
    EXPECT_EQ(comm.OutBufferSize(), 8000);
    EXPECT_EQ(comm.CommPort(), 3);
}

TEST_F(ComPortOeffnenTest, baudTextTheControlRejectsFailsBeforeTheOpen)
{
    SerielleSchnittstelle comm;
    QString baud = QStringLiteral("2400x");

    EXPECT_EQ(ComPortOeffnen(comm, 3, baud), -1);

    EXPECT_FALSE(comm.PortOpen());
    EXPECT_FALSE(FehlerText.isEmpty());
}

TEST_F(ComPortOeffnenTest, portNumberOutOfRangeFailsBeforeTheOpen)
{
    SerielleSchnittstelle comm;
    QString baud = QStringLiteral("2400");

    EXPECT_EQ(ComPortOeffnen(comm, 0, baud), -1);

    EXPECT_FALSE(FehlerText.isEmpty());
}

TEST_F(ComPortOeffnenTest, missingDeviceIsFailedOpen)
{
    comZuordnen(4, pfad(QStringLiteral("abgezogen")));
    SerielleSchnittstelle comm;
    QString baud = QStringLiteral("2400");

    EXPECT_EQ(ComPortOeffnen(comm, 4, baud), -2);

    EXPECT_FALSE(comm.PortOpen());
    EXPECT_TRUE(FehlerText.contains(QStringLiteral("abgezogen")));
}

TEST_F(ComPortOeffnenTest, portOpenInAnotherControlIsFailedOpen)
{
    SerielleSchnittstelle andere;
    QString baud = QStringLiteral("2400");
    ASSERT_EQ(ComPortOeffnen(andere, 3, baud), 0);
    SerielleSchnittstelle comm;

    EXPECT_EQ(ComPortOeffnen(comm, 3, baud), -2);

    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_TRUE(andere.PortOpen());
}

TEST_F(ComPortOeffnenTest, openPortOfTheControlIsClosedFirst)
{
    PtyBus zweiterBus;
    comZuordnen(4, zweiterBus.geraet());
    SerielleSchnittstelle comm;
    QString baud = QStringLiteral("2400");
    ASSERT_EQ(ComPortOeffnen(comm, 3, baud), 0);

    ASSERT_EQ(ComPortOeffnen(comm, 4, baud), 0);

    EXPECT_EQ(comm.geraet(), zweiterBus.geraet());
    EXPECT_FALSE(Geraetebelegung::belegt(m_bus.geraet()));
}

TEST_F(ComPortOeffnenTest, controlBusyWithAnExchangeIsTurnedAway)
{
    SerielleSchnittstelle comm;
    comm.setBeschaeftigt(true);
    QString baud = QStringLiteral("2400");

    EXPECT_EQ(ComPortOeffnen(comm, 3, baud), -1);

    EXPECT_FALSE(comm.PortOpen());
    EXPECT_FALSE(FehlerText.isEmpty());
}

} // namespace
