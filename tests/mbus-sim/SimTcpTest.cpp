// The simulated bus behind a TCP port, as behind a serial device server.

#include "BusSimulator.h"

#include "Gegenstelle.h"
#include "TcpGegenstelle.h"
#include "support/TestUmgebung.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QProcess>

namespace {

const QByteArray E5("\xE5", 1);

std::unique_ptr<BusSimulator> tcpBus(const QString& text, int baud)
{
    SimBus bus;
    QString fehler;
    EXPECT_TRUE(BusSimulator::busTextLesen("bus takt=nein\n" + text, bus, &fehler))
        << qPrintable(fehler);
    auto sim = std::make_unique<BusSimulator>(bus);
    EXPECT_TRUE(sim->startenTcp(0, baud, &fehler)) << qPrintable(fehler);
    return sim;
}

} // namespace

using SimTcpTest = TestUmgebung;

TEST_F(SimTcpTest, metersAnswerOnlyAtTheRateOfTheDeviceServersLine)
{
    const struct
    {
        int zaehlerBaud;
        int leitungBaud;
        bool antwort;
    } faelle[] = {{2400, 2400, true}, {9600, 9600, true}, {9600, 2400, false}};
    for (const auto& f : faelle) {
        auto sim = tcpBus(QString("zaehler adresse=3 id=12345678 baud=%1\n"
                                  "satz 0C13 45230100\n")
                              .arg(f.zaehlerBaud),
                          f.leitungBaud);
        ASSERT_NE(sim->tcpPort(), 0);
        EXPECT_EQ(sim->geraet(), QString("127.0.0.1:%1").arg(sim->tcpPort()));
        EXPECT_EQ(sim->leitungsBaud(), f.leitungBaud);
        TcpGegenstelle programm;
        ASSERT_TRUE(programm.verbinden("127.0.0.1", sim->tcpPort()));
        const QByteArray t = programm.austausch(Kurz(0x7B, 3));
        ASSERT_TRUE(sim->warteAufRahmen(1, 2000));
        EXPECT_EQ(sim->empfangeneRahmen().first().baud, f.leitungBaud);
        if (f.antwort) {
            ASSERT_GT(t.size(), 20) << t.toHex(' ').constData();
            EXPECT_EQ(t.mid(7, 4), Hex("78 56 34 12"));
            EXPECT_EQ(t.right(1), Hex("16"));
        } else {
            EXPECT_TRUE(t.isEmpty()) << t.toHex(' ').constData();
        }
    }
}

TEST_F(SimTcpTest, nextConnectionIsServedOnceTheFirstHasEnded)
{
    auto sim = tcpBus("zaehler adresse=1 id=1\n", 2400);
    TcpGegenstelle erste;
    ASSERT_TRUE(erste.verbinden("127.0.0.1", sim->tcpPort()));
    EXPECT_EQ(erste.austausch(Kurz(0x40, 1)), E5);
    erste.trennen();
    TcpGegenstelle zweite;
    ASSERT_TRUE(zweite.verbinden("127.0.0.1", sim->tcpPort()));
    EXPECT_EQ(zweite.austausch(Kurz(0x40, 1)), E5);
    EXPECT_EQ(sim->empfangeneRahmen().size(), 2);
}

TEST_F(SimTcpTest, listensOnLoopbackOnly)
{
    QHostAddress aussen;
    for (const QHostAddress& a : QNetworkInterface::allAddresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback())
            aussen = a;
    if (aussen.isNull())
        GTEST_SKIP() << "no IPv4 address besides loopback";
    auto sim = tcpBus("zaehler adresse=1 id=1\n", 2400);
    TcpGegenstelle fremd;
    EXPECT_FALSE(fremd.verbinden(aussen.toString(), sim->tcpPort()))
        << qPrintable(aussen.toString());
}

TEST_F(SimTcpTest, commandPrintsItsAddressAndServesTheBusFile)
{
    schreiben("test.bus", "zaehler adresse=1 id=12345678 baud=9600\n");
    QProcess sim;
    sim.start(MBUS_SIM_BEFEHL, {"--ohne-takt", "--tcp", "0", "--baud", "9600", pfad("test.bus")});
    ASSERT_TRUE(sim.waitForStarted(5000));
    ASSERT_TRUE(sim.waitForReadyRead(5000));
    const QString adresse = QString::fromLocal8Bit(sim.readLine()).trimmed();
    ASSERT_TRUE(adresse.startsWith("127.0.0.1:")) << qPrintable(adresse);

    TcpGegenstelle programm;
    ASSERT_TRUE(programm.verbinden("127.0.0.1", adresse.section(':', 1).toUShort()));
    EXPECT_EQ(programm.austausch(Kurz(0x40, 1), 60, 2000), E5);

    sim.terminate();
    EXPECT_TRUE(sim.waitForFinished(5000));
    EXPECT_EQ(sim.exitCode(), 0);
}

TEST_F(SimTcpTest, commandRefusesABadPort)
{
    schreiben("test.bus", "zaehler adresse=1 id=1\n");
    for (const QStringList& argumente : {QStringList{"--tcp", "70000"},
                                         {"--tcp", "x"},
                                         {"--tcp", "0", "--baud", "0"},
                                         {"--tcp", "0", "--link", pfad("l")}}) {
        QProcess sim;
        sim.start(MBUS_SIM_BEFEHL, argumente + QStringList{pfad("test.bus")});
        ASSERT_TRUE(sim.waitForFinished(5000));
        EXPECT_EQ(sim.exitCode(), 2) << qPrintable(argumente.join(' '));
    }
}
