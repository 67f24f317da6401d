// Both driver faces end to end against the bus simulator on a pseudo-terminal (mapped to COM3):
// primary and secondary addressing, several telegrams with FCB, raw frames, wrong baud rate, no
// stale data after a failed read, and a frame that pauses in its middle.

#include "SimulatorTest.h"
#include "driver/engine/Zeitparameter.h"
#include "driver/faces/IMBusOLEAutoServer.h"
#include "driver/transport/Busanschluss.h"
#include "frames/MBusRahmen.h"
#include "serial/SerielleSchnittstelle.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <fcntl.h>

#include <chrono>

namespace {

using treibertest::kPort;

// Heat meter 12345678 at address 5, 2400 baud: energy 100000 kWh, volume 12.345 m^3.
const QString kZaehler5 = QStringLiteral("zaehler adresse=5 id=12345678 hersteller=LUG version=07 "
                                         "medium=04 baud=2400\nsatz 0406 A0860100\n"
                                         "satz 0C13 45230100\n");

class TreiberSimulatorTest : public treibertest::SimulatorTest
{
protected:
    void starten(const QString& bus, bool takt = false) { SimulatorTest::starten(bus, takt); }
    MBusRacX4& rac(int baud = 2400) { return SimulatorTest::rac(baud); }

    // The frames the program sent, as upper-case hex.
    QStringList gesendet() const
    {
        QStringList rahmen;
        for (const SimEmpfangenerRahmen& r : m_sim->empfangeneRahmen())
            rahmen << QString::fromLatin1(r.bytes.toHex()).toUpper();
        return rahmen;
    }
};

// Marks every open file of this process on the device (O_APPEND, which a terminal ignores) and
// gives how many were not marked yet: a port opened since the last call counts, one kept open
// does not.
int NeueOeffnungen(const QString& geraet)
{
    int neu = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& name : fds.entryList(QDir::System | QDir::NoDotAndDotDot)) {
        if (QFileInfo(fds.filePath(name)).symLinkTarget() != geraet)
            continue;
        const int fd = name.toInt();
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags < 0 || (flags & O_APPEND) != 0)
            continue;
        ++neu;
        ::fcntl(fd, F_SETFL, flags | O_APPEND);
    }
    return neu;
}

QString OhneBlanks(const MBusRahmen& rahmen)
{
    return QString(rahmen.text).remove(' ');
}

TEST_F(TreiberSimulatorTest, sndNkeAndReqUd2ByPrimaryAddress)
{
    starten(kZaehler5);
    MBusRacX4& treiber = rac();

    treiber.APPSNDNKE(5);
    EXPECT_EQ(abwarten(treiber), mbus::kEmpfangQuittung);
    EXPECT_EQ(treiber.APPReceiveError(), 0);
    treiber.APPREQUD2(5);
    ASSERT_EQ(abwarten(treiber), mbus::kEmpfangTelegramm);

    EXPECT_EQ(gesendet(), QStringList({"1040054516", "107B058016"}));
    EXPECT_EQ(treiber.APPAField(), 5);
    EXPECT_EQ(treiber.APPDeviceIDDec(), "12345678");
    EXPECT_EQ(treiber.APPManufacturerIDAsc(), "LUG");
    EXPECT_EQ(treiber.APPMediumAsc(), "Heat");
    ASSERT_EQ(treiber.APPDataRecordNumber(), 2);
    EXPECT_EQ(treiber.APPValueDec(1), "100000");
    EXPECT_EQ(treiber.APPVIBUnitAsc(1), "kWh");
    EXPECT_EQ(treiber.APPValueDec(2), "12.345");
}

TEST_F(TreiberSimulatorTest, selectWithWildcardsAcknowledgedByOneMeter)
{
    starten(kZaehler5 + "zaehler adresse=6 id=22345678 hersteller=LUG medium=07 baud=2400\n"
                        "satz 0C13 11110000\n");
    MBusRacX4& treiber = rac();

    treiber.APPSelect(0, QStringLiteral("1fff5678"), "", "", "");
    EXPECT_EQ(abwarten(treiber), mbus::kEmpfangQuittung);
    EXPECT_EQ(treiber.APPReceiveError(), 0);
    treiber.APPREQUD2(253);
    ASSERT_EQ(abwarten(treiber), mbus::kEmpfangTelegramm);

    // 1fff5678: BCD least significant byte first, F nibbles as sent; FF for the rest.
    EXPECT_EQ(gesendet().value(0).mid(14, 16), "7856FF1FFFFFFFFF");
    EXPECT_EQ(treiber.APPDeviceIDDec(), "12345678");
    EXPECT_TRUE(m_sim->zaehlerStand(0).ausgewaehlt);
    EXPECT_FALSE(m_sim->zaehlerStand(1).ausgewaehlt);
}

TEST_F(TreiberSimulatorTest, selectAnsweredByTwoMetersReportsACollision)
{
    starten(kZaehler5 + "zaehler adresse=6 id=12345679 hersteller=LUG medium=04 baud=2400\n"
                        "satz 0C13 11110000\n");
    MBusRacX4& treiber = rac();

    treiber.APPSelect(0, QStringLiteral("1234567f"), "", "", "");

    EXPECT_EQ(abwarten(treiber), mbus::kEmpfangUngueltig);
    const int fehler = treiber.APPReceiveError();
    EXPECT_NE(fehler, 0);
    EXPECT_NE(fehler, mbus::kFehlerZeitueberschreitung);
    EXPECT_NE(fehler, 2);
    EXPECT_EQ(m_sim->statistik().kollisionen, 1);
}

TEST_F(TreiberSimulatorTest, selectWithoutMeterTimesOutAfterTheAnswerWindow)
{
    starten(kZaehler5);
    MBusRacX4& treiber = rac();
    QElapsedTimer uhr;
    uhr.start();

    treiber.APPSelect(0, QStringLiteral("9fffffff"), "", "", "");

    EXPECT_EQ(abwarten(treiber), mbus::kEmpfangZeitueberschreitung);
    EXPECT_EQ(treiber.APPReceiveError(), mbus::kFehlerZeitueberschreitung);
    mbus::Zeitparameter zeiten;
    const auto fenster = std::chrono::duration_cast<std::chrono::milliseconds>(
        mbus::Sendedauer(zeiten, 17) + mbus::Antwortfrist(zeiten));
    EXPECT_GE(uhr.elapsed(), fenster.count());
    EXPECT_LT(uhr.elapsed(), fenster.count() + 250);
}

// EmpfangAbwarten sleeps in the event loop: a timer set before the request fires during the
// wait for a silent address, and ending the program during the wait ends it with the exchange
// still running (the port's closing then ends that).
TEST_F(TreiberSimulatorTest, eventsRunDuringTheWaitAndTheEndOfTheProgramEndsIt)
{
    starten(kZaehler5, true);
    MBusRacX4& treiber = rac();
    int gelaufen = 0;
    QTimer::singleShot(50, [&] { ++gelaufen; });
    treiber.APPREQUD2(7);
    EXPECT_EQ(treiber.EmpfangAbwarten(), mbus::kEmpfangZeitueberschreitung);
    EXPECT_EQ(gelaufen, 1);

    QTimer::singleShot(50, [] { ProgrammEndeMelden(); });
    treiber.APPREQUD2(7);
    EXPECT_EQ(treiber.EmpfangAbwarten(), mbus::kEmpfangLaeuft);
    treiber.APPCloseCom();
    EXPECT_EQ(treiber.APPReceiveTest(), mbus::kEmpfangZeitueberschreitung);
}

TEST_F(TreiberSimulatorTest, severalTelegramsAreReadWithTheFrameCountBit)
{
    starten(QStringLiteral("zaehler adresse=14 id=50000014 hersteller=SEN version=02 medium=07 "
                           "baud=2400\nsatz 0C13 01000000\ntelegramm\nsatz 4C13 02000000\n"
                           "telegramm\nsatz 8C0113 03000000\n"));
    MBusRacX4& treiber = rac();
    treiber.APPSNDNKE(14);
    ASSERT_EQ(abwarten(treiber), mbus::kEmpfangQuittung);

    QStringList werte;
    QList<bool> weitere;
    for (int i = 0; i < 4; ++i) {
        treiber.APPREQUD2(14);
        ASSERT_EQ(abwarten(treiber), mbus::kEmpfangTelegramm) << i;
        werte << treiber.APPValueDec(1);
        weitere << treiber.WeitereDatensaetzeFolgen();
    }

    EXPECT_EQ(werte, QStringList({"0.001", "0.002", "0.003", "0.001"}));
    EXPECT_EQ(weitere, QList<bool>({true, true, false, true}));
    EXPECT_FALSE(treiber.HerstellerdatenAmEnde());
    const QStringList rahmen = gesendet();
    ASSERT_EQ(rahmen.size(), 5);
    EXPECT_EQ(rahmen.mid(1), QStringList({"107B0E8916", "105B0E6916", "107B0E8916", "105B0E6916"}));
}

TEST_F(TreiberSimulatorTest, rawFramesThroughSendHex)
{
    starten(kZaehler5);
    MBusRacX4& treiber = rac();

    treiber.APPSendHex(OhneBlanks(MB_TelSelectSekAdr(12345678, QStringLiteral("HEX"))));
    EXPECT_EQ(abwarten(treiber), mbus::kEmpfangQuittung);
    EXPECT_EQ(treiber.APPReceiveError(), 0);
    treiber.APPSendHex(QStringLiteral("107BFD7816"));
    ASSERT_EQ(abwarten(treiber), mbus::kEmpfangTelegramm);
    EXPECT_EQ(treiber.APPDeviceIDDec(), "12345678");
    treiber.APPSendHex(OhneBlanks(MB_TelSetPrimAdr(7, QStringLiteral("HEX"))));
    EXPECT_EQ(abwarten(treiber), mbus::kEmpfangQuittung);
    EXPECT_EQ(m_sim->zaehlerStand(0).primaerAdresse, 7);

    const int vorher = static_cast<int>(m_sim->empfangeneRahmen().size());
    treiber.APPSendHex(QStringLiteral("107BFD781"));
    EXPECT_EQ(abwarten(treiber), mbus::kEmpfangUngueltig);
    EXPECT_EQ(treiber.APPReceiveError(), mbus::kFehlerSonstiger);
    EXPECT_FALSE(m_sim->warteAufRahmen(vorher + 1, 100));
    EXPECT_EQ(m_sim->statistik().verworfeneBytes, 0);
}

TEST_F(TreiberSimulatorTest, meterAtAnotherBaudRateTimesOut)
{
    starten(QStringLiteral("zaehler adresse=10 id=40000010 hersteller=ELS medium=03 baud=9600\n"
                           "satz 0C13 99990000\n"));
    MBusRacX4& treiber = rac(2400);

    treiber.APPREQUD2(10);
    EXPECT_EQ(abwarten(treiber), mbus::kEmpfangZeitueberschreitung);
    EXPECT_EQ(treiber.APPReceiveError(), mbus::kFehlerZeitueberschreitung);

    treiber.APPInitCom(kPort, 9600);
    treiber.APPREQUD2(10);
    EXPECT_EQ(abwarten(treiber), mbus::kEmpfangTelegramm);
}

// A caller that opens the port before every meter: opening the open port at its rate sends
// nothing and leaves the port as it was; another rate, another device behind the number or a
// device gone opens anew.
TEST_F(TreiberSimulatorTest, openingTheOpenPortAgainKeepsItAndAnythingElseReopens)
{
    starten(kZaehler5);
    MBusRacX4& treiber = rac();
    EXPECT_GE(NeueOeffnungen(m_sim->geraet()), 1);
    for (int runde = 0; runde < 3; ++runde) {
        const qsizetype vorher = gesendet().size();
        treiber.APPInitCom(kPort, 2400);
        EXPECT_EQ(treiber.APPIsComOpen(), 0);
        EXPECT_EQ(NeueOeffnungen(m_sim->geraet()), 0);
        EXPECT_EQ(gesendet().size(), vorher);
        treiber.APPREQUD2(5);
        ASSERT_EQ(abwarten(treiber), mbus::kEmpfangTelegramm) << runde;
        EXPECT_EQ(treiber.APPDeviceIDDec(), "12345678");
    }

    // Another rate switches the line: the meter answers only at its own.
    treiber.APPInitCom(kPort, 9600);
    EXPECT_EQ(treiber.APPIsComOpen(), 0);
    EXPECT_EQ(NeueOeffnungen(m_sim->geraet()), 1);
    treiber.APPREQUD2(5);
    EXPECT_EQ(abwarten(treiber), mbus::kEmpfangZeitueberschreitung);
    treiber.APPInitCom(kPort, 2400);
    EXPECT_EQ(NeueOeffnungen(m_sim->geraet()), 1);
    treiber.APPREQUD2(5);
    EXPECT_EQ(abwarten(treiber), mbus::kEmpfangTelegramm);

    // The port number now stands for another bus: the same number and rate open that one.
    SimBus andererBus;
    QString fehler;
    ASSERT_TRUE(BusSimulator::busTextLesen(
        QStringLiteral("bus takt=nein\nzaehler adresse=5 id=87654321 baud=2400\n"
                       "satz 0406 01000000\n"),
        andererBus, &fehler));
    auto anderer = std::make_unique<BusSimulator>(andererBus);
    ASSERT_TRUE(anderer->starten(&fehler)) << qPrintable(fehler);
    schreiben(QStringLiteral("ZEP.INI"),
              QStringLiteral("[COM]\r\nCOM%1=%2\r\n").arg(kPort).arg(anderer->geraet()).toUtf8());
    treiber.APPInitCom(kPort, 2400);
    EXPECT_EQ(treiber.APPIsComOpen(), 0);
    const QString geraet = anderer->geraet();
    EXPECT_GE(NeueOeffnungen(geraet), 1);
    treiber.APPREQUD2(5);
    ASSERT_EQ(abwarten(treiber), mbus::kEmpfangTelegramm);
    EXPECT_EQ(treiber.APPDeviceIDDec(), "87654321");

    // That bus gone: the dead port is not kept. (Another program may get a terminal of the
    // same name at once, which then opens.)
    anderer->stoppen();
    treiber.APPInitCom(kPort, 2400);
    EXPECT_TRUE(treiber.APPIsComOpen() != 0 || NeueOeffnungen(geraet) >= 1);
}

TEST_F(TreiberSimulatorTest, noGetterShowsThePreviousMeterAfterAFailedRead)
{
    starten(kZaehler5);
    MBusRacX4& treiber = rac();
    treiber.APPREQUD2(5);
    ASSERT_EQ(abwarten(treiber), mbus::kEmpfangTelegramm);
    ASSERT_EQ(treiber.APPDataRecordNumber(), 2);

    treiber.APPREQUD2(6);
    EXPECT_EQ(treiber.APPDataRecordNumber(), 0); // cleared as the request starts
    EXPECT_EQ(abwarten(treiber), mbus::kEmpfangZeitueberschreitung);

    EXPECT_EQ(treiber.APPDataRecordNumber(), 0);
    EXPECT_EQ(treiber.APPAField(), -1);
    EXPECT_EQ(treiber.APPDeviceID(), -1);
    EXPECT_EQ(treiber.APPDeviceIDDec(), "");
    EXPECT_EQ(treiber.APPManufacturerID(), -1);
    EXPECT_EQ(treiber.APPManufacturerIDAsc(), "");
    EXPECT_EQ(treiber.APPGenerationNo(), -1);
    EXPECT_EQ(treiber.APPMediumAsc(), "");
    EXPECT_EQ(treiber.APPTransmissionCount(), -1);
    EXPECT_EQ(treiber.APPValueDec(1), "");
    EXPECT_EQ(treiber.APPRetrieveRawDataHex(), "");
    EXPECT_FALSE(treiber.WeitereDatensaetzeFolgen());
}

TEST_F(TreiberSimulatorTest, driverAndSerialControlNeverShareAPort)
{
    starten(kZaehler5);
    MBusRacX4& treiber = rac();
    SerielleSchnittstelle comm;
    comm.setCommPort(kPort);
    EXPECT_NE(comm.setPortOpen(true), 0);
    treiber.APPCloseCom();
    ASSERT_EQ(comm.setPortOpen(true), 0);
    treiber.APPInitCom(kPort, 2400);
    EXPECT_EQ(treiber.APPIsComOpen(), 8005);
}

TEST_F(TreiberSimulatorTest, oleFaceOpensAfterSetBaudAndReadsRecordsFrom0)
{
    starten(kZaehler5);
    m_treiber = MBusObjektErzeugen(QStringLiteral("MBus.OLEAutoServer"));
    IMBusOLEAutoServer& ole = *m_treiber->alsOleAutoServer();
    bool ok = true;
    ole.OLEOpenPort(QStringLiteral("Com 3"), ok);
    EXPECT_FALSE(ok);
    ole.OLESetBaud(QStringLiteral("2400"), ok);
    ASSERT_TRUE(ok);
    ole.OLEOpenPort(QStringLiteral("Com 3"), ok);
    ASSERT_TRUE(ok);

    bool beantwortet = false;
    ole.OLESndNke(5, beantwortet);
    EXPECT_TRUE(beantwortet);
    ole.OLEReqUD2(5, beantwortet);
    ASSERT_TRUE(beantwortet);
    EXPECT_EQ(ole.OLEDeviceIdText(), "12345678");
    EXPECT_EQ(ole.OLEDeviceIdNumber(), 12345678);
    EXPECT_EQ(ole.OLEMediumText(), "Heat");
    EXPECT_EQ(ole.OLERawTelegram().left(1), QByteArray("\x68"));
    EXPECT_EQ(ole.OLEManufacturerText(), "LUG");
    EXPECT_EQ(ole.OLEGenerationText(), "7");
    EXPECT_EQ(ole.OLEMediumNumber(), 4);
    ASSERT_EQ(ole.OLERecordCount(), 2);
    EXPECT_EQ(ole.OLERecordValueText(0), "100000");
    EXPECT_EQ(ole.OLERecordUnitText(0), "kWh");
    EXPECT_EQ(ole.OLERecordKindText(0), "Energy");
    EXPECT_EQ(ole.OLERecordValueText(1), "12.345");
    EXPECT_EQ(ole.OLERecordValueText(2), "");

    ole.OLEReqUD2(6, beantwortet);
    EXPECT_FALSE(beantwortet);
    EXPECT_EQ(ole.OLERecordCount(), 0);
    EXPECT_EQ(ole.OLEDeviceIdText(), "");
    ole.OLEClosePort();
    ole.OLEReqUD2(5, beantwortet);
    EXPECT_FALSE(beantwortet);
}

TEST_F(TreiberSimulatorTest, meterWhoseAnswerPausesIn25MsInsideTheFrameIsRead)
{
    // A USB line adapter hands on received bytes in bursts: at 9600 baud the frame seems to pause.
    starten(QStringLiteral("zaehler adresse=5 id=12345678 hersteller=LUG medium=04 baud=9600 "
                           "geteilt=25\nsatz 0406 A0860100\nsatz 0C13 45230100\n"),
            true);
    MBusRacX4& treiber = rac(9600);
    QElapsedTimer uhr;
    uhr.start();
    treiber.APPREQUD2(5);
    EXPECT_EQ(abwarten(treiber), mbus::kEmpfangTelegramm);
    EXPECT_EQ(treiber.APPDeviceIDDec(), "12345678");
    EXPECT_EQ(treiber.APPDataRecordNumber(), 2);
    EXPECT_GE(uhr.elapsed(), 25);
}

} // namespace
