// The line the bus master shares with a modem, on a scripted port: connected, the bus side gets
// the remote bus's bytes and "NO CARRIER" ends the connection instead of reaching it; without a
// connection nothing goes to the bus; DTR and bytes still leaving reach the modem dialogue. And
// the name-bound driver's modem members over such a line, where the test sees every byte and
// moves the bus clock. (Without modem operation the line is the plain bus of every other test.)

#include "support/TestUmgebung.h"

#include "SkriptKanal.h"
#include "driver/faces/MBusRacX4.h"
#include "driver/transport/Modemkanal.h"

#include <QElapsedTimer>
#include <QThread>

#include <chrono>
#include <memory>

namespace {

using namespace mbus;
using namespace std::chrono_literals;
using treibertest::Leitung;
using treibertest::SkriptKanal;
using treibertest::SkriptUhr;

Modemzeiten SchnelleZeiten()
{
    Modemzeiten z;
    z.befehlsfrist = 50ms;
    z.waehlfrist = 200ms;
    z.schutzzeit = 20ms;
    z.schutzreserve = 5ms;
    z.befehlspause = 0ms;
    z.dtrAbfall = 10ms;
    return z;
}

const QByteArray kOk = "\r\nOK\r\n";
const QByteArray kConnect = "\r\nCONNECT 9600\r\n";
const QByteArray kNoCarrier = "\r\nNO CARRIER\r\n";
const QByteArray kAnfrage = QByteArray::fromHex("107B058016");

// Polls TELStatus until it leaves 1 (at most two seconds of real time).
template <typename Modem> int BisFertig(Modem& modem)
{
    QElapsedTimer seit;
    seit.start();
    int status = modem.telStatus();
    while (status == kTelStatusLaeuft && seit.elapsed() < 2000) {
        QThread::msleep(1);
        status = modem.telStatus();
    }
    return status;
}

class ModemkanalTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        ASSERT_EQ(m_kanal.oeffnen(3, 9600), 0);
    }
    void verbinden()
    {
        m_leitung->antworten = {kConnect};
        m_kanal.waehlen(QStringLiteral("0302222"));
        ASSERT_EQ(BisFertig(m_kanal), kTelStatusVerbunden);
        m_leitung->gesendet.clear();
    }

    std::shared_ptr<Leitung> m_leitung = std::make_shared<Leitung>();
    Modemkanal m_kanal{std::make_unique<SkriptKanal>(m_leitung), SchnelleZeiten()};
};

TEST_F(ModemkanalTest, connectedTheBusSideGoesThroughUntilNoCarrier)
{
    verbinden();
    EXPECT_TRUE(m_kanal.schreiben(kAnfrage));
    EXPECT_EQ(m_leitung->gesendet, QList<QByteArray>{kAnfrage});
    m_leitung->eingang = "\xE5";
    EXPECT_EQ(m_kanal.telStatus(), kTelStatusVerbunden); // a status poll leaves bus bytes alone
    EXPECT_EQ(m_kanal.lesen(), "\xE5");

    m_leitung->eingang = QByteArray::fromHex("6803036808") + kNoCarrier;
    EXPECT_EQ(m_kanal.lesen(), QByteArray::fromHex("6803036808"));
    EXPECT_FALSE(m_kanal.busErreichbar());
    EXPECT_EQ(m_kanal.telStatus(), kTelStatusLeerlauf);
    EXPECT_EQ(m_kanal.dialog().meldung(), "NO CARRIER");
    // Later bytes are the modem's, not the bus's, and nothing goes out to the bus any more.
    m_leitung->eingang = "\r\nRING\r\n";
    EXPECT_TRUE(m_kanal.lesen().isEmpty());
    EXPECT_FALSE(m_kanal.schreiben(kAnfrage));
    EXPECT_EQ(m_leitung->gesendet.size(), 1);
}

TEST_F(ModemkanalTest, whileADialogueRunsOrWithoutConnectionTheBusGetsNothing)
{
    m_kanal.waehlen(QStringLiteral("0302222"));
    EXPECT_FALSE(m_kanal.busErreichbar());
    EXPECT_FALSE(m_kanal.schreiben(kAnfrage));
    m_leitung->eingang = kConnect;
    EXPECT_TRUE(m_kanal.lesen().isEmpty());
    EXPECT_EQ(m_kanal.telStatus(), kTelStatusVerbunden) << "the dialogue still got CONNECT";

    // Hang up first ("+++", ATH), then initialise (ATZ, ATE0V1, ATX1L3).
    m_leitung->antworten = {kOk, kOk, kOk, kOk, kOk};
    m_kanal.initialisieren(QStringLiteral("ATX1L3"));
    ASSERT_EQ(BisFertig(m_kanal), kTelStatusBereit);
    m_leitung->gesendet.clear();
    EXPECT_FALSE(m_kanal.busErreichbar());
    EXPECT_FALSE(m_kanal.schreiben(kAnfrage));
    EXPECT_TRUE(m_leitung->gesendet.isEmpty());
}

TEST_F(ModemkanalTest, silentModemIsForcedOnHookThroughDtrOfThePort)
{
    verbinden();
    m_kanal.auflegen();
    EXPECT_EQ(BisFertig(m_kanal), kTelStatusLeerlauf);
    EXPECT_EQ(m_leitung->gesendet, QList<QByteArray>{"+++"});
    EXPECT_EQ(m_leitung->dtr, (QList<bool>{false, true}));
}

TEST_F(ModemkanalTest, bytesStillLeavingPutThePlusOff)
{
    verbinden();
    m_leitung->sendetNoch = true;
    m_kanal.auflegen();
    QElapsedTimer seit;
    seit.start();
    while (seit.elapsed() < 100)
        m_kanal.telStatus();
    EXPECT_TRUE(m_leitung->gesendet.isEmpty()) << "no + while bytes are still leaving";
    // The guard time counts from the last look that still saw bytes leaving.
    m_kanal.telStatus();
    seit.restart();
    m_leitung->sendetNoch = false;
    while (m_leitung->gesendet.isEmpty() && seit.elapsed() < 1000)
        m_kanal.telStatus();
    EXPECT_EQ(m_leitung->gesendet, QList<QByteArray>{"+++"});
    // The guard time from the last byte out (20 ms; a few ms may pass between that look and the
    // start of the clock here on a loaded machine).
    EXPECT_GE(seit.elapsed(), 15);
}

// The driver's modem members on a scripted line.
class RacX4ModemTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        m_treiber.setzeModemzeiten(SchnelleZeiten());
    }
    int telWarten()
    {
        QElapsedTimer seit;
        seit.start();
        int status = m_treiber.TELStatus();
        while (status == kTelStatusLaeuft && seit.elapsed() < 2000) {
            QThread::msleep(1);
            status = m_treiber.TELStatus();
        }
        return status;
    }
    void verbinden()
    {
        m_leitung->antworten = {kConnect};
        m_treiber.TELMakeCall(3, 9600, QStringLiteral("0302222"));
        ASSERT_EQ(telWarten(), kTelStatusVerbunden);
    }
    int abwarten()
    {
        int test = m_treiber.APPReceiveTest();
        for (int i = 0; i < 5000 && test == 255; ++i) {
            m_leitung->jetzt += 1ms;
            test = m_treiber.APPReceiveTest();
        }
        return test;
    }

    std::shared_ptr<Leitung> m_leitung = std::make_shared<Leitung>();
    MBusRacX4 m_treiber{std::make_unique<SkriptKanal>(m_leitung),
                        std::make_unique<SkriptUhr>(m_leitung)};
};

TEST_F(RacX4ModemTest, telInitOpensThePortAndDialUsesItWithoutReopening)
{
    m_leitung->antworten = {kOk, kOk, kOk, kConnect};
    m_treiber.TELInit(QStringLiteral("Com 3"), QStringLiteral("9600"), QStringLiteral(" X1L3 "));
    EXPECT_EQ(m_treiber.APPIsComOpen(), 0);
    EXPECT_EQ(m_leitung->geoeffnetMitBaud, 9600);
    EXPECT_EQ(telWarten(), kTelStatusBereit);
    m_treiber.TELMakeCall(3, 9600, QStringLiteral("ATDT0302222"));
    EXPECT_EQ(telWarten(), kTelStatusVerbunden);
    EXPECT_EQ(m_treiber.ModemMeldung(), "CONNECT 9600");
    EXPECT_EQ(m_leitung->oeffnungen, 1);
    EXPECT_EQ(m_leitung->gesendet,
              QList<QByteArray>({"ATZ\r", "ATE0V1\r", "ATX1L3\r", "ATDT0302222\r"}));
}

TEST_F(RacX4ModemTest, portThatDoesNotOpenEndsInitUnconfirmedAndDialIdle)
{
    m_leitung->oeffnenFehler = 8002;
    m_treiber.TELInit(3, 9600, QStringLiteral("ATX1L3"));
    EXPECT_EQ(m_treiber.TELStatus(), kTelStatusUnbestaetigt);
    m_treiber.TELMakeCall(3, 9600, QStringLiteral("0302222"));
    EXPECT_EQ(m_treiber.TELStatus(), kTelStatusLeerlauf);
    EXPECT_TRUE(m_leitung->gesendet.isEmpty());
}

TEST_F(RacX4ModemTest, requestThroughTheConnectionGetsTheLongerAnswerWindow)
{
    verbinden();
    m_treiber.APPREQUD2(5);
    const Buszeit start = m_leitung->jetzt;
    EXPECT_EQ(abwarten(), 5);
    // 5 bytes and 330 bit times at 9600 baud (40 ms), 50 ms, and the modems' 1000 ms.
    EXPECT_GE(m_leitung->jetzt - start, 1090ms);
    EXPECT_LT(m_leitung->jetzt - start, 1100ms);
    EXPECT_EQ(m_leitung->gesendet.last(), kAnfrage);
}

TEST_F(RacX4ModemTest, hangUpEndsARunningExchangeAndReopeningGivesTheBusBack)
{
    verbinden();
    m_treiber.APPREQUD2(5);
    m_leitung->antworten = {kOk, kOk}; // to "+++" and "ATH"
    m_treiber.APPBreak();
    m_treiber.TELHangUp();
    EXPECT_EQ(m_treiber.APPReceiveTest(), 5);
    EXPECT_EQ(telWarten(), kTelStatusLeerlauf);
    EXPECT_EQ(m_leitung->gesendet.mid(m_leitung->gesendet.size() - 2),
              QList<QByteArray>({"+++", "ATH\r"}));

    m_treiber.APPInitCom(3, 2400);
    m_leitung->jetzt += 1s;
    m_leitung->antworten = {QByteArray("\xE5")};
    m_treiber.APPSNDNKE(5);
    EXPECT_EQ(abwarten(), 1);
}

} // namespace
