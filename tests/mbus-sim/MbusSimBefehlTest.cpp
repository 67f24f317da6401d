// The command mbus-sim: prints the terminal and plays the bus file until it is stopped.

#include "Gegenstelle.h"
#include "support/TestUmgebung.h"

#include <QProcess>

using MbusSimBefehlTest = TestUmgebung;

TEST_F(MbusSimBefehlTest, printsTheTerminalAndAnswersOnIt)
{
    schreiben("test.bus", "zaehler adresse=1 id=12345678 baud=2400\n");
    QProcess sim;
    sim.start(MBUS_SIM_BEFEHL, {"--ohne-takt", pfad("test.bus")});
    ASSERT_TRUE(sim.waitForStarted(5000));
    ASSERT_TRUE(sim.waitForReadyRead(5000));
    const QString geraet = QString::fromLocal8Bit(sim.readLine()).trimmed();
    EXPECT_TRUE(geraet.startsWith("/dev/pts/")) << qPrintable(geraet);

    Gegenstelle leitung(geraet, 2400);
    ASSERT_TRUE(leitung.offen());
    EXPECT_EQ(leitung.austausch(Kurz(0x40, 1), 60, 2000), QByteArray("\xE5", 1));

    sim.terminate();
    EXPECT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.exitCode(), 0);
}

TEST_F(MbusSimBefehlTest, badBusFileIsReportedWithItsLine)
{
    schreiben("falsch.bus", "zaehler id=1\nsatz 0C13 01\n");
    QProcess sim;
    sim.start(MBUS_SIM_BEFEHL, {pfad("falsch.bus")});
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitCode(), 1);
    EXPECT_TRUE(sim.readAllStandardError().startsWith("Zeile 2: Datensatz hat 1 Datenbytes"));
}

TEST_F(MbusSimBefehlTest, saveWritesEveryMetersAddressAndRateBackIntoTheBusFile)
{
    schreiben("test.bus", "# two meters\r\n"
                          "zaehler adresse=1 id=12345678 baud=2400   # heat\r\n"
                          "satz 0C13 45230100\r\n"
                          "zaehler id=22222222\r\n");
    QProcess sim;
    sim.start(MBUS_SIM_BEFEHL, {"--ohne-takt", "--save", pfad("neu.bus"), pfad("test.bus")});
    ASSERT_TRUE(sim.waitForStarted(5000));
    ASSERT_TRUE(sim.waitForReadyRead(5000));
    const QString geraet = QString::fromLocal8Bit(sim.readLine()).trimmed();
    {
        Gegenstelle leitung(geraet, 2400);
        ASSERT_TRUE(leitung.offen());
        // New address 7 for meter 1, then 9600 baud (acknowledged at 2400).
        EXPECT_EQ(leitung.austausch(Lang(0x53, 1, 0x51, QByteArray::fromHex("017A07")), 60, 2000),
                  QByteArray("\xE5", 1));
        EXPECT_EQ(leitung.austausch(Lang(0x53, 7, 0xBD, {}), 60, 2000), QByteArray("\xE5", 1));
    }
    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitCode(), 0);
    EXPECT_EQ(lesen("neu.bus"), "# two meters\r\n"
                                "zaehler adresse=7 id=12345678 baud=9600   # heat\r\n"
                                "satz 0C13 45230100\r\n"
                                "zaehler id=22222222 adresse=0 baud=2400\r\n");
    EXPECT_EQ(lesen("test.bus").count("adresse=1"), 1);
}
