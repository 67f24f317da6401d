// The name-bound driver's modem members end to end against the bus simulator's AT modem on a
// pseudo-terminal (mapped to COM3), as the test window uses them: initialise, dial, read meters
// behind the remote modem through the same driver, hang up; a busy number, an aborted dial, the
// remote side hanging up, and a port without modem where every wait ends by its deadline. And
// the modem dialogue on the serial control itself.

#include "SimulatorTest.h"
#include "driver/modem/Modemleitung.h"
#include "driver/modem/SeriellerModemport.h"
#include "serial/AntwortSuche.h"
#include "serial/SerielleSchnittstelle.h"

#include <chrono>

namespace {

using namespace std::chrono_literals;
using treibertest::kPort;

constexpr int kBaud = 9600;

// Guard time 200 ms on both sides; the remote bus runs at 2400 baud behind a 9600 baud line.
const QString kModemBus =
    QStringLiteral("modem waehlzeit=100 schutzzeit=200 connect=9600 busbaud=2400\n"
                   "nummer 0301111 BUSY\n"
                   "zaehler adresse=5 id=12345678 hersteller=LUG version=07 medium=04 baud=2400\n"
                   "satz 0406 A0860100\nsatz 0C13 45230100\n");

mbus::Modemzeiten KurzeModemzeiten()
{
    mbus::Modemzeiten z;
    z.befehlsfrist = 300ms;
    z.waehlfrist = 1000ms;
    z.schutzzeit = 200ms;
    z.schutzreserve = 50ms;
    z.befehlspause = 20ms;
    z.dtrAbfall = 50ms;
    return z;
}

class TreiberModemTest : public treibertest::SimulatorTest
{
protected:
    // The bus (paced as a real line unless told) and a driver on it with short modem times.
    MBusRacX4& starten(const QString& bus, bool takt = true)
    {
        SimulatorTest::starten(bus, takt);
        MBusRacX4& treiber = rac(kBaud);
        treiber.setzeModemzeiten(KurzeModemzeiten());
        return treiber;
    }

    // The window's wait: poll TELStatus, yielding, until a dialogue has ended (or, when told, until
    // the status is `ziel`).
    static int telWarten(MBusRacX4& treiber, int ziel = -1)
    {
        QElapsedTimer uhr;
        uhr.start();
        int status = treiber.TELStatus();
        while ((ziel < 0 ? status == mbus::kTelStatusLaeuft : status != ziel) &&
               uhr.elapsed() < 10000) {
            Warten(1);
            status = treiber.TELStatus();
        }
        return status;
    }

    // Initialises and dials 0302222 until connected.
    static void verbinden(MBusRacX4& treiber)
    {
        treiber.TELInit(kPort, kBaud, QStringLiteral("ATX1L3"));
        ASSERT_EQ(telWarten(treiber), 2);
        treiber.TELMakeCall(kPort, kBaud, QStringLiteral("ATDT0302222"));
        ASSERT_EQ(telWarten(treiber), 4);
    }
};

TEST_F(TreiberModemTest, dialReadAMeterBehindTheModemAndHangUp)
{
    MBusRacX4& treiber = starten(kModemBus);
    treiber.TELInit(kPort, kBaud, QStringLiteral("ATX1L3"));
    EXPECT_EQ(telWarten(treiber), 2);
    treiber.TELMakeCall(kPort, kBaud, QStringLiteral("ATDT0301111"));
    EXPECT_EQ(telWarten(treiber), 3);
    EXPECT_EQ(treiber.ModemMeldung(), "BUSY");
    EXPECT_FALSE(m_sim->modemVerbunden());
    treiber.TELMakeCall(kPort, kBaud, QStringLiteral("ATDT0302222"));
    ASSERT_EQ(telWarten(treiber), 4);
    EXPECT_EQ(treiber.ModemMeldung(), "CONNECT 9600");
    EXPECT_TRUE(m_sim->modemVerbunden());
    EXPECT_EQ(m_sim->modemNummer(), "0302222");

    treiber.APPREQUD2(5);
    ASSERT_EQ(abwarten(treiber), mbus::kEmpfangTelegramm);
    EXPECT_EQ(treiber.APPAField(), 5);
    EXPECT_EQ(treiber.APPDeviceIDDec(), "12345678");
    EXPECT_EQ(treiber.APPManufacturerIDAsc(), "LUG");
    EXPECT_EQ(treiber.APPGenerationNo(), 7);
    EXPECT_EQ(treiber.APPMediumAsc(), "Heat");
    ASSERT_EQ(treiber.APPDataRecordNumber(), 2);
    EXPECT_EQ(treiber.APPValueDec(2), "12.345");
    EXPECT_EQ(treiber.TELStatus(), 4);

    // The search of the test window: select by secondary address, then REQ_UD2 to 253.
    treiber.APPSelect(0, QStringLiteral("1234567f"), "", "", "");
    EXPECT_EQ(abwarten(treiber), mbus::kEmpfangQuittung);
    treiber.APPREQUD2(253);
    EXPECT_EQ(abwarten(treiber), mbus::kEmpfangTelegramm);
    EXPECT_EQ(treiber.APPDeviceIDDec(), "12345678");
    treiber.APPSendHex(QStringLiteral("1040FD3D16"));
    EXPECT_EQ(abwarten(treiber), mbus::kEmpfangQuittung);

    QElapsedTimer uhr;
    uhr.start();
    treiber.APPBreak();
    treiber.TELHangUp();
    EXPECT_EQ(telWarten(treiber, 3), 3);
    EXPECT_GE(uhr.elapsed(), 2 * 200) << "guard silence before and after +++";
    EXPECT_EQ(treiber.ModemMeldung(), "OK");
    EXPECT_FALSE(m_sim->modemVerbunden());

    // Hung up: a request reaches nobody and ends at once, nothing sent.
    const qsizetype rahmen = m_sim->empfangeneRahmen().size();
    treiber.APPREQUD2(5);
    EXPECT_EQ(treiber.APPReceiveTest(), mbus::kEmpfangZeitueberschreitung);
    EXPECT_EQ(treiber.APPReceiveError(), mbus::kFehlerZeitueberschreitung);
    EXPECT_EQ(m_sim->empfangeneRahmen().size(), rahmen);
}

TEST_F(TreiberModemTest, breakDuringTheDialStopsIt)
{
    MBusRacX4& treiber = starten(QStringLiteral("modem waehlzeit=5000 schutzzeit=200\n"));
    treiber.TELMakeCall(kPort, kBaud, QStringLiteral("0302222"));
    Warten(100);
    EXPECT_EQ(treiber.TELStatus(), 1);
    QElapsedTimer uhr;
    uhr.start();
    treiber.APPBreak();
    EXPECT_EQ(telWarten(treiber), 3);
    EXPECT_LT(uhr.elapsed(), 1000);
    EXPECT_EQ(treiber.ModemMeldung(), "NO CARRIER");
    EXPECT_FALSE(m_sim->modemVerbunden());
    treiber.TELHangUp();
    EXPECT_EQ(treiber.TELStatus(), 3);
}

TEST_F(TreiberModemTest, remoteHangUpDuringAnExchangeEndsItAndTheConnection)
{
    // Address 7 has no meter: the exchange would wait for its whole window (over 1 s through the
    // modem) but the remote side hangs up 300 ms after the connection.
    MBusRacX4& treiber = starten(QStringLiteral("modem waehlzeit=50 schutzzeit=200 auflegen=300\n"
                                                "zaehler adresse=5 id=12345678\n"));
    verbinden(treiber);
    QElapsedTimer uhr;
    uhr.start();
    treiber.APPREQUD2(7);
    EXPECT_EQ(abwarten(treiber), mbus::kEmpfangZeitueberschreitung);
    EXPECT_LT(uhr.elapsed(), 900);
    EXPECT_EQ(treiber.TELStatus(), 3);
    EXPECT_EQ(treiber.ModemMeldung(), "NO CARRIER");
    EXPECT_EQ(treiber.APPRetrieveRawDataHex(), "") << "NO CARRIER is no bus data";
    treiber.APPREQUD2(5);
    EXPECT_EQ(treiber.APPReceiveTest(), mbus::kEmpfangZeitueberschreitung);
}

TEST_F(TreiberModemTest, remoteHangUpBetweenExchangesIsSeenByTheStatusPoll)
{
    MBusRacX4& treiber =
        starten(QStringLiteral("modem waehlzeit=50 schutzzeit=200 auflegen=200\n"));
    verbinden(treiber);
    EXPECT_EQ(telWarten(treiber, 3), 3);
    EXPECT_EQ(treiber.ModemMeldung(), "NO CARRIER");
}

TEST_F(TreiberModemTest, silentModemEndsEveryWaitByItsDeadline)
{
    // A plain bus: nobody answers AT commands.
    MBusRacX4& treiber = starten(QStringLiteral("zaehler adresse=5 id=12345678\n"), false);
    QElapsedTimer uhr;
    uhr.start();
    treiber.TELInit(kPort, kBaud, QStringLiteral("ATX1L3"));
    EXPECT_EQ(telWarten(treiber), 0);
    // ATZ 0.3 s; leaving data mode: 0.25 s, "+++" 0.25 + 0.3 s, DTR 0.05 s; pause; ATZ 0.3 s.
    EXPECT_GE(uhr.elapsed(), 1400);
    EXPECT_LT(uhr.elapsed(), 2500);

    uhr.restart();
    treiber.TELMakeCall(kPort, kBaud, QStringLiteral("ATDT0302222"));
    EXPECT_EQ(telWarten(treiber), 3);
    // No result within 1 s, the stop unanswered for 0.3 s.
    EXPECT_GE(uhr.elapsed(), 1300);
    EXPECT_LT(uhr.elapsed(), 2300);

    treiber.APPREQUD2(5);
    EXPECT_EQ(treiber.APPReceiveTest(), mbus::kEmpfangZeitueberschreitung);
    uhr.restart();
    treiber.TELHangUp();
    EXPECT_EQ(telWarten(treiber, 3), 3);
    EXPECT_LT(uhr.elapsed(), 100);
}

TEST_F(TreiberModemTest, initAfterAConnectionHangsUpFirst)
{
    MBusRacX4& treiber = starten(kModemBus);
    verbinden(treiber);
    treiber.TELInit(kPort, kBaud, QStringLiteral("ATX1L3"));
    EXPECT_EQ(telWarten(treiber), 2);
    EXPECT_FALSE(m_sim->modemVerbunden());
}

TEST_F(TreiberModemTest, modemLineOnTheSerialControlDialsAsksAndHangsUp)
{
    SimulatorTest::starten(kModemBus, false); // no driver: the port is the serial control's
    SerielleSchnittstelle comm;
    mbus::SeriellerModemport port(comm);
    mbus::Modemleitung leitung(port, KurzeModemzeiten());
    ASSERT_EQ(port.oeffnen(kPort, QStringLiteral("9600")), 0);
    ASSERT_TRUE(leitung.waehlen(QStringLiteral("ATDT0302222")));
    ASSERT_TRUE(leitung.warten(5000));
    ASSERT_EQ(leitung.status(), mbus::kTelStatusVerbunden);

    // REQ_UD2 to address 5 reaches the meter behind the remote modem.
    comm.setOutput(QByteArray::fromHex("107B058016"));
    QByteArray empfangen = leitung.datenNehmen();
    std::optional<GefundeneAntwort> antwort;
    QElapsedTimer uhr;
    uhr.start();
    while (!antwort && uhr.elapsed() < 2000) {
        Warten(2);
        empfangen += comm.Input();
        antwort = AntwortSuchen(empfangen, 0x68, 0x16);
    }
    ASSERT_TRUE(antwort);
    EXPECT_EQ(empfangen.mid(antwort->anfang + 7, 4), QByteArray::fromHex("78563412"));

    leitung.auflegen();
    EXPECT_TRUE(leitung.warten(5000));
    EXPECT_EQ(leitung.status(), mbus::kTelStatusLeerlauf);
    EXPECT_FALSE(m_sim->modemVerbunden());
}

} // namespace
