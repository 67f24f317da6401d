// The line the bus master shares with a modem, on a scripted port: bytes pass unchanged without
// modem operation; connected, the bus side gets the remote bus's bytes and "NO CARRIER" ends the
// connection instead of reaching it; without a connection nothing goes to the bus; the timing
// gets the modem's allowances. And the name-bound driver's modem members over such a line.

#include "support/TestUmgebung.h"

#include "SkriptKanal.h"
#include "driver/faces/MBusRacX4.h"
#include "driver/transport/Modemkanal.h"

#include <QElapsedTimer>
#include <QList>
#include <QPair>
#include <QThread>

#include <chrono>
#include <memory>

namespace {

using namespace mbus;
using namespace std::chrono_literals;
using treibertest::Leitung;
using treibertest::SkriptKanal;
using treibertest::SkriptUhr;

// A port with a modem behind it that the test scripts: each line written that begins with one of
// the commands gets that command's reply; DTR changes are recorded.
struct ModemSkript
{
    bool offen = true;
    QByteArray eingang;
    QByteArrayList gesendet;
    QList<bool> dtr;
    QList<QPair<QByteArray, QByteArray>> antworten;
};

class SkriptModemKanal : public Buskanal
{
public:
    explicit SkriptModemKanal(std::shared_ptr<ModemSkript> skript) : m_skript(std::move(skript)) {}
    int oeffnen(int, int) override
    {
        m_skript->offen = true;
        return 0;
    }
    void schliessen() override { m_skript->offen = false; }
    bool offen() const override { return m_skript->offen; }
    QByteArray lesen() override
    {
        QByteArray b;
        b.swap(m_skript->eingang);
        return b;
    }
    bool schreiben(const QByteArray& bytes) override
    {
        if (!m_skript->offen)
            return false;
        m_skript->gesendet << bytes;
        for (const auto& [befehl, antwort] : m_skript->antworten)
            if (bytes.startsWith(befehl)) {
                m_skript->eingang += antwort;
                break;
            }
        return true;
    }
    void setzeDtr(bool an) override { m_skript->dtr << an; }

private:
    std::shared_ptr<ModemSkript> m_skript;
};

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

const QByteArray kConnect = "\r\nCONNECT 9600\r\n";
const QByteArray kNoCarrier = "\r\nNO CARRIER\r\n";
const QByteArray kAnfrage = QByteArray::fromHex("107B058016");

class ModemkanalTest : public TestUmgebung
{
protected:
    // Polls TELStatus until it leaves 1 (at most two seconds of real time).
    int bisFertig()
    {
        QElapsedTimer seit;
        seit.start();
        int status = m_kanal.telStatus();
        while (status == 1 && seit.elapsed() < 2000) {
            QThread::msleep(1);
            status = m_kanal.telStatus();
        }
        return status;
    }

    void verbinden()
    {
        m_skript->antworten << qMakePair(QByteArray("ATD"), kConnect);
        m_kanal.waehlen(QStringLiteral("0302222"));
        ASSERT_EQ(bisFertig(), 4);
        m_skript->gesendet.clear();
    }

    std::shared_ptr<ModemSkript> m_skript = std::make_shared<ModemSkript>();
    Modemkanal m_kanal{std::make_unique<SkriptModemKanal>(m_skript), SchnelleZeiten()};
};

TEST_F(ModemkanalTest, withoutModemOperationBytesPassUnchanged)
{
    m_skript->eingang = kNoCarrier + "\xE5";
    EXPECT_EQ(m_kanal.lesen(), kNoCarrier + "\xE5");
    EXPECT_TRUE(m_kanal.schreiben(kAnfrage));
    EXPECT_EQ(m_skript->gesendet, QByteArrayList{kAnfrage});
    EXPECT_TRUE(m_kanal.busErreichbar());
    EXPECT_EQ(m_kanal.zeitenFuer(kStandardZeiten).antwortOffsetMs, 50);
}

TEST_F(ModemkanalTest, connectedTheBusSideSendsAndReadsThroughTheConnection)
{
    verbinden();
    EXPECT_TRUE(m_kanal.busErreichbar());
    EXPECT_TRUE(m_kanal.schreiben(kAnfrage));
    EXPECT_EQ(m_skript->gesendet, QByteArrayList{kAnfrage});
    m_skript->eingang = "\xE5";
    EXPECT_EQ(m_kanal.lesen(), "\xE5");
}

TEST_F(ModemkanalTest, noCarrierEndsTheConnectionAndIsNoBusData)
{
    verbinden();
    m_skript->eingang = QByteArray::fromHex("6803036808") + kNoCarrier;
    EXPECT_EQ(m_kanal.lesen(), QByteArray::fromHex("6803036808"));
    EXPECT_FALSE(m_kanal.busErreichbar());
    EXPECT_EQ(m_kanal.telStatus(), 3);
    EXPECT_EQ(m_kanal.dialog().meldung(), "NO CARRIER");
    // Later bytes are the modem's, not the bus's, and nothing goes out to the bus any more.
    m_skript->eingang = "\r\nRING\r\n";
    EXPECT_TRUE(m_kanal.lesen().isEmpty());
    EXPECT_FALSE(m_kanal.schreiben(kAnfrage));
    EXPECT_TRUE(m_skript->gesendet.isEmpty());
}

TEST_F(ModemkanalTest, statusPollNoticesNoCarrierBetweenExchanges)
{
    verbinden();
    m_skript->eingang = kNoCarrier;
    EXPECT_EQ(m_kanal.telStatus(), 3);
    EXPECT_FALSE(m_kanal.busErreichbar());
}

TEST_F(ModemkanalTest, statusPollLeavesTheBusBytesToTheBusSide)
{
    verbinden();
    m_skript->eingang = "\xE5";
    EXPECT_EQ(m_kanal.telStatus(), 4);
    EXPECT_EQ(m_kanal.lesen(), "\xE5");
}

TEST_F(ModemkanalTest, whileADialogueRunsTheLineIsItsOwn)
{
    m_kanal.waehlen(QStringLiteral("0302222"));
    EXPECT_FALSE(m_kanal.busErreichbar());
    EXPECT_FALSE(m_kanal.schreiben(kAnfrage));
    m_skript->eingang = kConnect;
    EXPECT_TRUE(m_kanal.lesen().isEmpty());
    EXPECT_EQ(m_kanal.telStatus(), 4) << "the dialogue still got CONNECT";
}

TEST_F(ModemkanalTest, idleModemTakesNoBusFrames)
{
    m_skript->antworten << qMakePair(QByteArray("AT"), QByteArray("\r\nOK\r\n"));
    m_kanal.initialisieren(QStringLiteral("ATX1L3"));
    ASSERT_EQ(bisFertig(), 2);
    m_skript->gesendet.clear();
    EXPECT_FALSE(m_kanal.busErreichbar());
    EXPECT_FALSE(m_kanal.schreiben(kAnfrage));
    EXPECT_TRUE(m_skript->gesendet.isEmpty());
}

TEST_F(ModemkanalTest, timingThroughTheModemGetsItsAllowances)
{
    verbinden();
    const Zeitparameter z = m_kanal.zeitenFuer(kStandardZeiten);
    EXPECT_EQ(z.antwortOffsetMs, 50 + 1000);
    EXPECT_EQ(z.pauseMindestMs, 100);
    EXPECT_EQ(z.pauseImRahmenMs, 500);
    EXPECT_EQ(z.antwortBits, kStandardZeiten.antwortBits);
}

TEST_F(ModemkanalTest, reopeningThePortEndsModemOperation)
{
    verbinden();
    ASSERT_EQ(m_kanal.oeffnen(3, 2400), 0);
    EXPECT_FALSE(m_kanal.modembetrieb());
    EXPECT_EQ(m_kanal.telStatus(), 3);
    m_skript->eingang = kNoCarrier;
    EXPECT_EQ(m_kanal.lesen(), kNoCarrier);
}

TEST_F(ModemkanalTest, silentModemIsForcedOnHookThroughDtrOfThePort)
{
    verbinden();
    m_kanal.auflegen();
    EXPECT_EQ(bisFertig(), 3);
    EXPECT_EQ(m_skript->gesendet, QByteArrayList{"+++"});
    EXPECT_EQ(m_skript->dtr, (QList<bool>{false, true}));
}

// The driver's modem members on a scripted line whose modem answers every command.
class RacX4ModemTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        m_treiber.setzeModemzeiten(SchnelleZeiten());
    }

    int telWarten(bool bisNichtEins = true)
    {
        QElapsedTimer seit;
        seit.start();
        int status = m_treiber.TELStatus();
        while (seit.elapsed() < 2000 &&
               (bisNichtEins ? status == 1 : (status != 0 && status != 2))) {
            QThread::msleep(1);
            status = m_treiber.TELStatus();
        }
        return status;
    }

    // The modem answers OK to every command and CONNECT to a dial.
    void modemAntwortet()
    {
        m_leitung->antworten = {"\r\nOK\r\n", "\r\nOK\r\n", "\r\nOK\r\n", kConnect};
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
    modemAntwortet();
    m_treiber.TELInit(QStringLiteral("Com 3"), QStringLiteral("9600"), QStringLiteral("ATX1L3"));
    EXPECT_EQ(m_treiber.APPIsComOpen(), 0);
    EXPECT_EQ(m_leitung->geoeffnetMitBaud, 9600);
    EXPECT_EQ(telWarten(false), 2);
    m_treiber.TELMakeCall(3, 9600, QStringLiteral("ATDT0302222"));
    EXPECT_EQ(telWarten(), 4);
    EXPECT_EQ(m_treiber.ModemMeldung(), "CONNECT 9600");
    EXPECT_EQ(m_leitung->oeffnungen, 1);
    EXPECT_EQ(m_leitung->gesendet,
              QList<QByteArray>({"ATZ\r", "ATE0V1\r", "ATX1L3\r", "ATDT0302222\r"}));
}

TEST_F(RacX4ModemTest, portThatDoesNotOpenEndsInitUnconfirmedAndDialIdle)
{
    m_leitung->oeffnenFehler = 8002;
    m_treiber.TELInit(3, 9600, QStringLiteral("ATX1L3"));
    EXPECT_EQ(m_treiber.TELStatus(), 0);
    m_treiber.TELMakeCall(3, 9600, QStringLiteral("0302222"));
    EXPECT_EQ(m_treiber.TELStatus(), 3);
    EXPECT_TRUE(m_leitung->gesendet.isEmpty());
}

TEST_F(RacX4ModemTest, requestThroughTheConnectionGetsTheLongerAnswerWindow)
{
    m_leitung->antworten = {kConnect};
    m_treiber.TELMakeCall(3, 9600, QStringLiteral("0302222"));
    ASSERT_EQ(telWarten(), 4);
    m_treiber.APPREQUD2(5);
    const Buszeit start = m_leitung->jetzt;
    EXPECT_EQ(abwarten(), 5);
    // 5 bytes and 330 bit times at 9600 baud (40 ms), 50 ms, and the modems' 1000 ms.
    EXPECT_GE(m_leitung->jetzt - start, 1090ms);
    EXPECT_LT(m_leitung->jetzt - start, 1100ms);
    EXPECT_EQ(m_leitung->gesendet.last(), kAnfrage);
}

TEST_F(RacX4ModemTest, noCarrierDuringAnExchangeEndsItAsTimeOutAndTheConnection)
{
    m_leitung->antworten = {kConnect};
    m_treiber.TELMakeCall(3, 9600, QStringLiteral("0302222"));
    ASSERT_EQ(telWarten(), 4);
    m_treiber.APPREQUD2(5);
    m_leitung->jetzt += 100ms;
    EXPECT_EQ(m_treiber.APPReceiveTest(), 255);
    m_leitung->eingang = kNoCarrier;
    m_leitung->jetzt += 1ms;
    EXPECT_EQ(m_treiber.APPReceiveTest(), 5);
    EXPECT_EQ(m_treiber.APPReceiveError(), 1);
    EXPECT_EQ(m_treiber.TELStatus(), 3);
    EXPECT_EQ(m_treiber.ModemMeldung(), "NO CARRIER");

    const qsizetype vorher = m_leitung->gesendet.size();
    m_treiber.APPREQUD2(5);
    EXPECT_EQ(m_treiber.APPReceiveTest(), 5) << "no connection: at once";
    EXPECT_EQ(m_leitung->gesendet.size(), vorher);
}

TEST_F(RacX4ModemTest, hangUpEndsARunningExchangeAndReopeningGivesTheBusBack)
{
    m_leitung->antworten = {kConnect};
    m_treiber.TELMakeCall(3, 9600, QStringLiteral("0302222"));
    ASSERT_EQ(telWarten(), 4);
    m_treiber.APPREQUD2(5);
    m_leitung->antworten = {"\r\nOK\r\n", "\r\nOK\r\n"}; // to "+++" and "ATH"
    m_treiber.APPBreak();
    m_treiber.TELHangUp();
    EXPECT_EQ(m_treiber.APPReceiveTest(), 5);
    EXPECT_EQ(telWarten(), 3);
    EXPECT_EQ(m_leitung->gesendet.mid(m_leitung->gesendet.size() - 2),
              QList<QByteArray>({"+++", "ATH\r"}));

    m_treiber.APPInitCom(3, 2400);
    m_leitung->jetzt += 1s;
    m_leitung->antworten = {QByteArray("\xE5")};
    m_treiber.APPSNDNKE(5);
    EXPECT_EQ(abwarten(), 1);
}

} // namespace
