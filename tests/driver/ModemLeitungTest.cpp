// The modem dialogue over the serial control against the bus simulator's AT modem on a
// pseudo-terminal: dialling, one request to a meter through the connection, hanging up. And the
// loop around the dialogue on a scripted line, where DTR can be seen.

#include "support/TestUmgebung.h"

#include "BusSimulator.h"
#include "driver/modem/Modemleitung.h"
#include "driver/modem/SeriellerModemport.h"
#include "serial/AntwortSuche.h"
#include "serial/SerielleSchnittstelle.h"

#include <QElapsedTimer>
#include <QThread>

#include <chrono>
#include <memory>

namespace {

using namespace mbus;
using namespace std::chrono_literals;

constexpr int kPort = 3;
// Guard time of both sides, kept short for the tests.
constexpr int kSchutzzeitMs = 200;

const QString kBusMitModem =
    QStringLiteral("bus takt=nein\n"
                   "modem waehlzeit=100 schutzzeit=200 connect=9600 busbaud=2400\n"
                   "nummer 0301111 BUSY\n"
                   "zaehler adresse=5 id=12345678 hersteller=LUG medium=04 baud=2400\n"
                   "satz 0C13 45230100\n");

Modemzeiten KurzeZeiten()
{
    Modemzeiten z;
    z.befehlsfrist = 1000ms;
    z.waehlfrist = 5000ms;
    z.schutzzeit = std::chrono::milliseconds(kSchutzzeitMs);
    z.schutzreserve = 100ms;
    z.befehlspause = 20ms;
    z.dtrAbfall = 100ms;
    return z;
}

class ModemLeitungTest : public TestUmgebung
{
protected:
    void TearDown() override
    {
        m_leitung.reset();
        m_port.reset();
        m_comm.reset();
        m_sim.reset();
        TestUmgebung::TearDown();
    }

    // Starts the simulator, maps it to COM3 and opens the port at 9600 baud.
    void starten(const QString& busText)
    {
        SimBus bus;
        QString fehler;
        ASSERT_TRUE(BusSimulator::busTextLesen(busText, bus, &fehler)) << qPrintable(fehler);
        m_sim = std::make_unique<BusSimulator>(bus);
        ASSERT_TRUE(m_sim->starten(&fehler)) << qPrintable(fehler);
        schreiben(QStringLiteral("ZEP.INI"),
                  QStringLiteral("[COM]\r\nCOM%1=%2\r\n").arg(kPort).arg(m_sim->geraet()).toUtf8());
        m_comm = std::make_unique<SerielleSchnittstelle>();
        m_port = std::make_unique<SeriellerModemport>(*m_comm);
        m_leitung = std::make_unique<Modemleitung>(*m_port, KurzeZeiten());
        ASSERT_EQ(m_port->oeffnen(kPort, QStringLiteral("9600")), 0);
    }

    // As a window does it: start, then poll TELStatus until it leaves 1.
    int bisFertig(int msMax = 10000)
    {
        QElapsedTimer seit;
        seit.start();
        int status = m_leitung->status();
        while (status == kTelStatusLaeuft && seit.elapsed() < msMax) {
            QThread::msleep(2);
            status = m_leitung->status();
        }
        return status;
    }

    // Sends a frame through the connection and collects the answer until a long frame is
    // complete or the time is over.
    QByteArray anfrage(const QByteArray& rahmen, int msMax = 2000)
    {
        m_comm->setOutput(rahmen);
        QByteArray empfangen = m_leitung->datenNehmen();
        QElapsedTimer seit;
        seit.start();
        while (seit.elapsed() < msMax) {
            empfangen += m_comm->Input();
            if (const auto antwort = AntwortSuchen(empfangen, 0x68, 0x16))
                return empfangen.mid(antwort->anfang, antwort->laenge);
            QThread::msleep(2);
        }
        return {};
    }

    std::unique_ptr<BusSimulator> m_sim;
    std::unique_ptr<SerielleSchnittstelle> m_comm;
    std::unique_ptr<SeriellerModemport> m_port;
    std::unique_ptr<Modemleitung> m_leitung;
};

TEST_F(ModemLeitungTest, waehlenFragenUndAuflegenUeberDasModem)
{
    starten(kBusMitModem);
    ASSERT_TRUE(m_leitung->initialisieren(QStringLiteral("ATX1L3")));
    ASSERT_EQ(bisFertig(), kTelStatusBereit);

    ASSERT_TRUE(m_leitung->waehlen(QStringLiteral("ATDT0302222")));
    ASSERT_EQ(bisFertig(), kTelStatusVerbunden);
    EXPECT_EQ(m_leitung->dialog().meldung(), "CONNECT 9600");
    EXPECT_TRUE(m_sim->modemVerbunden());
    EXPECT_EQ(m_sim->modemNummer(), "0302222");

    // REQ_UD2 to address 5 reaches the meter behind the remote modem.
    const QByteArray antwort = anfrage(QByteArray::fromHex("107B058016"));
    ASSERT_FALSE(antwort.isEmpty());
    EXPECT_EQ(quint8(antwort[4]), 0x08); // RSP_UD
    EXPECT_EQ(quint8(antwort[5]), 5);
    EXPECT_EQ(antwort.mid(7, 4), QByteArray::fromHex("78563412"));

    QElapsedTimer seit;
    seit.start();
    m_leitung->abbrechen();
    m_leitung->auflegen();
    EXPECT_EQ(bisFertig(), kTelStatusLeerlauf);
    EXPECT_EQ(m_leitung->dialog().ausgang(), Modemausgang::Erfolg);
    EXPECT_FALSE(m_sim->modemVerbunden());
    // Silence before and after "+++".
    EXPECT_GE(seit.elapsed(), 2 * kSchutzzeitMs);
}

TEST_F(ModemLeitungTest, besetzteNummerEndetImLeerlaufMitBusy)
{
    starten(kBusMitModem);
    ASSERT_TRUE(m_leitung->initialisieren(QStringLiteral("ATX1L3")));
    ASSERT_EQ(bisFertig(), kTelStatusBereit);
    ASSERT_TRUE(m_leitung->waehlen(QStringLiteral("ATDT0301111")));
    EXPECT_EQ(bisFertig(), kTelStatusLeerlauf);
    EXPECT_EQ(m_leitung->dialog().meldung(), "BUSY");
    EXPECT_FALSE(m_sim->modemVerbunden());
}

TEST_F(ModemLeitungTest, abbrechenStopptDieWahlDesModems)
{
    starten(QStringLiteral("bus takt=nein\nmodem waehlzeit=3000 schutzzeit=200\n"));
    ASSERT_TRUE(m_leitung->waehlen(QStringLiteral("ATDT0302222")));
    QThread::msleep(100);
    EXPECT_EQ(m_leitung->status(), kTelStatusLaeuft);
    m_leitung->abbrechen();
    EXPECT_EQ(bisFertig(2000), kTelStatusLeerlauf);
    EXPECT_EQ(m_leitung->dialog().ausgang(), Modemausgang::Abgebrochen);
    EXPECT_EQ(m_leitung->dialog().meldung(), "NO CARRIER");
    EXPECT_FALSE(m_sim->modemVerbunden());
}

TEST_F(ModemLeitungTest, auflegenDerGegenstelleWirdBeimMitlesenBemerkt)
{
    starten(QStringLiteral("bus takt=nein\nmodem waehlzeit=50 schutzzeit=200 auflegen=200\n"));
    ASSERT_TRUE(m_leitung->waehlen(QStringLiteral("ATDT0302222")));
    ASSERT_EQ(bisFertig(), kTelStatusVerbunden);
    QElapsedTimer seit;
    seit.start();
    while (m_leitung->status() == kTelStatusVerbunden && seit.elapsed() < 2000) {
        m_leitung->mitlesen(m_comm->Input());
        QThread::msleep(2);
    }
    EXPECT_EQ(m_leitung->status(), kTelStatusLeerlauf);
    EXPECT_EQ(m_leitung->dialog().meldung(), "NO CARRIER");
}

TEST_F(ModemLeitungTest, stummeLeitungEndetDieInitialisierungNachDerFrist)
{
    // A bus without a modem: nobody answers AT commands.
    starten(QStringLiteral("bus takt=nein\nzaehler adresse=1 id=1\n"));
    QElapsedTimer seit;
    seit.start();
    ASSERT_TRUE(m_leitung->initialisieren(QStringLiteral("ATX1L3")));
    EXPECT_EQ(bisFertig(), kTelStatusUnbestaetigt);
    EXPECT_EQ(m_leitung->dialog().ausgang(), Modemausgang::Zeitueberschreitung);
    // ATZ 1 s, guard 0.3 s, "+++" 0.3 + 1 s, DTR 0.1 s, pause, ATZ 1 s.
    EXPECT_GE(seit.elapsed(), 3700);
    EXPECT_LT(seit.elapsed(), 6000);
}

TEST_F(ModemLeitungTest, wartenLaeuftBisDerDialogEndet)
{
    starten(kBusMitModem);
    ASSERT_TRUE(m_leitung->initialisieren(QString()));
    EXPECT_TRUE(m_leitung->warten(5000));
    EXPECT_EQ(m_leitung->dialog().telStatus(), kTelStatusBereit);
    ASSERT_TRUE(m_leitung->waehlen(QStringLiteral("0302222")));
    EXPECT_FALSE(m_leitung->warten(20)) << "the dial takes 100 ms";
    EXPECT_TRUE(m_leitung->warten(5000));
    EXPECT_EQ(m_leitung->dialog().telStatus(), kTelStatusVerbunden);
}

TEST_F(ModemLeitungTest, geschlossenerPortStartetNichts)
{
    starten(kBusMitModem);
    m_comm->setPortOpen(false);
    EXPECT_FALSE(m_leitung->initialisieren(QStringLiteral("ATX1L3")));
    EXPECT_FALSE(m_leitung->waehlen(QStringLiteral("ATDT0302222")));
    m_leitung->auflegen();
    EXPECT_EQ(m_leitung->status(), kTelStatusLeerlauf);
}

// A line that records what goes out and gives what the test puts in.
class SkriptPort : public Modemport
{
public:
    bool offen() const override { return m_offen; }
    QByteArray lesen() override
    {
        QByteArray b;
        b.swap(m_eingang);
        return b;
    }
    bool schreiben(const QByteArray& bytes) override
    {
        m_gesendet += bytes;
        return m_offen;
    }
    void setzeDtr(bool an) override { m_dtr << an; }
    bool sendetNoch() override { return m_sendetNoch; }

    bool m_offen = true;
    bool m_sendetNoch = false;
    QByteArray m_eingang;
    QByteArray m_gesendet;
    QList<bool> m_dtr;
};

Modemzeiten SehrKurzeZeiten()
{
    Modemzeiten z = KurzeZeiten();
    z.befehlsfrist = 50ms;
    z.schutzzeit = 30ms;
    z.schutzreserve = 10ms;
    z.dtrAbfall = 20ms;
    return z;
}

TEST(ModemSchleifeTest, stummesModemLegtPerDtrAufUndDtrKommtWieder)
{
    SkriptPort port;
    Modemleitung leitung(port, SehrKurzeZeiten());
    ASSERT_TRUE(leitung.waehlen(QStringLiteral("ATDT0302222")));
    port.m_eingang = "\r\nCONNECT 9600\r\n";
    EXPECT_TRUE(leitung.warten(1000));
    ASSERT_EQ(leitung.status(), kTelStatusVerbunden);
    leitung.auflegen();
    EXPECT_TRUE(leitung.warten(2000));
    EXPECT_EQ(leitung.status(), kTelStatusLeerlauf);
    EXPECT_EQ(port.m_gesendet, "ATDT0302222\r+++");
    EXPECT_EQ(port.m_dtr, (QList<bool>{false, true}));
}

TEST(ModemSchleifeTest, ausgehendeBytesVerschiebenDasPlus)
{
    SkriptPort port;
    Modemleitung leitung(port, SehrKurzeZeiten());
    ASSERT_TRUE(leitung.waehlen(QStringLiteral("ATDT0302222")));
    port.m_eingang = "\r\nCONNECT 9600\r\n";
    leitung.warten(1000);
    port.m_sendetNoch = true;
    leitung.auflegen();
    EXPECT_FALSE(leitung.warten(150));
    EXPECT_EQ(port.m_gesendet, "ATDT0302222\r") << "no + while bytes are still leaving";
    port.m_sendetNoch = false;
    QElapsedTimer seit;
    seit.start();
    while (!port.m_gesendet.endsWith("+++") && seit.elapsed() < 1000)
        leitung.bewegen();
    EXPECT_GE(seit.elapsed(), 30);
}

TEST(ModemSchleifeTest, verlorenerPortBeendetDieVerbindung)
{
    SkriptPort port;
    Modemleitung leitung(port, SehrKurzeZeiten());
    ASSERT_TRUE(leitung.waehlen(QStringLiteral("ATDT0302222")));
    port.m_eingang = "\r\nCONNECT 9600\r\nxy";
    leitung.warten(1000);
    ASSERT_EQ(leitung.status(), kTelStatusVerbunden);
    EXPECT_EQ(leitung.datenNehmen(), "xy");
    port.m_offen = false;
    EXPECT_EQ(leitung.status(), kTelStatusLeerlauf);
}

} // namespace
