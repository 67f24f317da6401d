#include "SerielleUmgebung.h"
#include "platform/Global.h"
#include "serial/Geraetebelegung.h"
#include "serial/SerielleDienste.h"

namespace {

using ComPortOeffnenTest = PtyUmgebung;

TEST_F(ComPortOeffnenTest, opensEvenParityEightDataOneStopDtrOnRtsOffAndWritesBaudBack)
{
    const struct
    {
        const char* baud;
        const char* zurueck;
    } faelle[] = {{"2400", "2400"}, {"", "9600"}, {"0", "9600"}, {"abc", "9600"}, {"-", "9600"}};
    for (const auto& fall : faelle) {
        SerielleSchnittstelle comm;
        comm.setRTSEnable(true);
        QString baud = QString::fromLatin1(fall.baud);
        ASSERT_EQ(ComPortOeffnen(comm, 3, baud), 0) << fall.baud << FehlerText.toStdString();
        const QString zurueck = QString::fromLatin1(fall.zurueck);
        EXPECT_EQ(baud, zurueck);
        EXPECT_EQ(comm.Settings(), zurueck + QStringLiteral(",E,8,1"));
        EXPECT_EQ(m_bus.baud(), zurueck.toInt());
        EXPECT_TRUE(comm.DTREnable());
        EXPECT_FALSE(comm.RTSEnable());
        EXPECT_EQ(comm.InBufferSize(), 8000);
        EXPECT_EQ(comm.OutBufferSize(), 8000);
    }
}

// -1: refused before the open (bad baud text, bad port number, control busy with an exchange);
// -2: the open failed (device missing, port open in another control).
TEST_F(ComPortOeffnenTest, failureBeforeTheOpenIsMinusOneAndFailedOpenMinusTwo)
{
    comZuordnen(4, pfad(QStringLiteral("abgezogen")));
    SerielleSchnittstelle andere;
    QString baud = QStringLiteral("2400");
    ASSERT_EQ(ComPortOeffnen(andere, 3, baud), 0);
    SerielleSchnittstelle comm;
    QString schlecht = QStringLiteral("2400x");
    EXPECT_EQ(ComPortOeffnen(comm, 3, schlecht), -1);
    EXPECT_EQ(ComPortOeffnen(comm, 0, baud), -1);
    EXPECT_EQ(ComPortOeffnen(comm, 4, baud), -2);
    EXPECT_TRUE(FehlerText.contains(QStringLiteral("abgezogen")));
    EXPECT_EQ(ComPortOeffnen(comm, 3, baud), -2);
    EXPECT_TRUE(andere.PortOpen());
    andere.setPortOpen(false);
    comm.setBeschaeftigt(true);
    EXPECT_EQ(ComPortOeffnen(comm, 3, baud), -1);
    EXPECT_FALSE(comm.PortOpen());
}

TEST_F(ComPortOeffnenTest, openPortOfTheControlIsClosedFirst)
{
    PtyBus zweiterBus;
    comZuordnen(4, zweiterBus.geraet());
    oeffnen(QStringLiteral("2400"));
    oeffnen(QStringLiteral("2400"), 4);
    EXPECT_EQ(m_comm.geraet(), zweiterBus.geraet());
    EXPECT_FALSE(Geraetebelegung::belegt(m_bus.geraet()));
}

} // namespace
