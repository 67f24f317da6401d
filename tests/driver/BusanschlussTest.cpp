// The bus master on a scripted line with a hand-moved clock: dead time, answer window, echo,
// repetition, closed and lost ports, and the hard limit of an exchange.

#include "support/TestUmgebung.h"

#include "DekodierHilfen.h"
#include "SkriptKanal.h"
#include "driver/engine/Rahmenbau.h"
#include "driver/transport/Busanschluss.h"

#include <chrono>

namespace {

using namespace mbus;
using namespace std::chrono_literals;
using dekodiertest::BaueRahmen;
using dekodiertest::Hex;
using dekodiertest::VariablerKopf;
using treibertest::Leitung;
using treibertest::SkriptKanal;
using treibertest::SkriptUhr;

const MBusAdresse kAdresse5{5};

class BusanschlussTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        ASSERT_EQ(m_anschluss.oeffnen(3, 2400), 0);
        m_leitung->jetzt += 1s; // the line has been silent for long
    }

    // Moves the clock on and polls once.
    int nach(Dauer dauer)
    {
        m_leitung->jetzt += dauer;
        return m_anschluss.pruefen();
    }

    // Polls every millisecond until the exchange has ended (at most 10 s).
    int bisZumEnde()
    {
        int ergebnis = m_anschluss.pruefen();
        for (int i = 0; i < 10000 && ergebnis == kEmpfangLaeuft; ++i)
            ergebnis = nach(1ms);
        return ergebnis;
    }

    // The answer window after a request of so many bytes at 2400 baud, the default timing.
    static Dauer fenster(int bytes)
    {
        Zeitparameter z;
        return Sendedauer(z, bytes) + Antwortfenster(z);
    }

    std::shared_ptr<Leitung> m_leitung = std::make_shared<Leitung>();
    Busanschluss m_anschluss{std::make_unique<SkriptKanal>(m_leitung),
                             std::make_unique<SkriptUhr>(m_leitung)};
};

QByteArray Telegramm()
{
    return BaueRahmen(VariablerKopf() + Hex("0C1378563412"));
}

TEST_F(BusanschlussTest, requestGoesOutAtOnceOnASilentLine)
{
    m_anschluss.reqUd2(kAdresse5);
    ASSERT_EQ(m_leitung->gesendet.size(), 1);
    EXPECT_EQ(m_leitung->gesendet[0], Hex("107B058016"));
    EXPECT_EQ(m_anschluss.pruefen(), kEmpfangLaeuft);
}

TEST_F(BusanschlussTest, requestWaitsOutTheDeadTimeBehindTheLastByte)
{
    Zeitparameter z;
    z.totzeitBits = 330; // 137.5 ms at 2400 baud
    m_anschluss.setzeZeiten(z);
    m_anschluss.sndNke(kAdresse5);
    nach(25ms);
    m_leitung->eingang = Hex("E5");
    nach(5ms); // the last byte on the line, 30 ms after the request
    ASSERT_EQ(nach(20ms), kEmpfangQuittung);

    m_anschluss.reqUd2(kAdresse5);
    EXPECT_EQ(m_leitung->gesendet.size(), 1);
    EXPECT_EQ(nach(117ms), kEmpfangLaeuft); // 137 ms after the E5
    EXPECT_EQ(m_leitung->gesendet.size(), 1);
    nach(1ms);
    EXPECT_EQ(m_leitung->gesendet.size(), 2);
}

TEST_F(BusanschlussTest, noiseWhileWaitingDelaysTheRequestOnlyUpToItsLimit)
{
    m_anschluss.reqUd2(kAdresse5);
    m_anschluss.sndNke(kAdresse5); // waits behind the REQ_UD2 still on the wire
    ASSERT_EQ(m_leitung->gesendet.size(), 1);
    Dauer gewartet{0};
    while (m_leitung->gesendet.size() == 1 && gewartet < 1s) {
        m_leitung->eingang = Hex("00"); // a line that never falls silent
        nach(2ms);
        gewartet += 2ms;
    }
    EXPECT_EQ(m_leitung->gesendet.size(), 2);
    Zeitparameter z;
    EXPECT_LE(gewartet, Totzeit(z) + Antwortfenster(z) + 2ms);
}

TEST_F(BusanschlussTest, noAnswerEndsAsTimeOutExactlyAfterTheAnswerWindow)
{
    m_anschluss.reqUd2(kAdresse5);
    const Dauer f = fenster(5);
    EXPECT_EQ(nach(f - 1us), kEmpfangLaeuft);
    EXPECT_EQ(nach(1us), kEmpfangZeitueberschreitung);
    EXPECT_EQ(m_anschluss.ereignis().empfangsfehler, kFehlerZeitueberschreitung);
}

TEST_F(BusanschlussTest, answerInPiecesIsDecodedOnceTheLineFallsSilent)
{
    m_anschluss.reqUd2(kAdresse5);
    const QByteArray t = Telegramm();
    m_leitung->eingang = t.first(4);
    EXPECT_EQ(nach(30ms), kEmpfangLaeuft);
    m_leitung->eingang = t.sliced(4);
    EXPECT_EQ(nach(10ms), kEmpfangLaeuft);
    EXPECT_EQ(nach(19ms), kEmpfangTelegramm);
    EXPECT_EQ(m_anschluss.ereignis().antwort, t);
}

TEST_F(BusanschlussTest, echoOfTheRequestIsTakenOutOfTheAnswer)
{
    m_anschluss.reqUd2(kAdresse5);
    m_leitung->eingang = Hex("107B05");
    nach(5ms);
    m_leitung->eingang = Hex("8016") + Telegramm();
    nach(30ms);
    EXPECT_EQ(nach(30ms), kEmpfangTelegramm);
    EXPECT_EQ(m_anschluss.ereignis().antwort, Telegramm());
}

TEST_F(BusanschlussTest, answerThatOnlyBeginsLikeTheRequestIsKept)
{
    // A raw long frame, and an answer of the same length: both begin 68 09 09 68.
    const QByteArray anfrage = BaueRahmen(Hex("0C1378563412"), 0x51, 0x53, 0x05);
    const QByteArray antwort = BaueRahmen(Hex("0C1378563412"), 0x72, 0x08, 0x05);
    ASSERT_EQ(anfrage.left(4), antwort.left(4));
    m_anschluss.sendeRoh(anfrage);
    m_leitung->eingang = antwort;
    nach(30ms);
    EXPECT_NE(nach(30ms), kEmpfangLaeuft);
    EXPECT_EQ(m_anschluss.ereignis().antwort, antwort);
}

TEST_F(BusanschlussTest, retryRepeatsATimedOutRequestOnceWithTheSameFcb)
{
    m_anschluss.reqUd2(kAdresse5);
    EXPECT_TRUE(m_anschluss.wiederholen());
    EXPECT_TRUE(m_anschluss.wiederholen());
    EXPECT_EQ(nach(fenster(5)), kEmpfangLaeuft); // the repetition is under way
    nach(5ms);
    ASSERT_EQ(m_leitung->gesendet.size(), 2);
    EXPECT_EQ(m_leitung->gesendet[1], m_leitung->gesendet[0]);
    EXPECT_FALSE(m_anschluss.wiederholen());
    m_leitung->eingang = Telegramm();
    nach(30ms);
    EXPECT_EQ(nach(30ms), kEmpfangTelegramm);
    // the next request carries the other FCB
    nach(10ms);
    m_anschluss.reqUd2(kAdresse5);
    ASSERT_EQ(m_leitung->gesendet.size(), 3);
    EXPECT_EQ(m_leitung->gesendet[2], Hex("105B056016"));
}

TEST_F(BusanschlussTest, repetitionThatFailsTooEndsWithItsOwnOutcome)
{
    m_anschluss.reqUd2(kAdresse5);
    m_anschluss.wiederholen();
    nach(fenster(5));
    nach(5ms);
    m_leitung->eingang = Hex("E5E5");
    nach(30ms);
    EXPECT_EQ(nach(30ms), kEmpfangUngueltig);
    EXPECT_EQ(m_anschluss.ereignis().empfangsfehler, kFehlerKollision);
    EXPECT_EQ(m_leitung->gesendet.size(), 2);
}

TEST_F(BusanschlussTest, retryAfterAFailedEndStartsTheRepetitionAtOnce)
{
    m_anschluss.reqUd2(kAdresse5);
    ASSERT_EQ(nach(fenster(5)), kEmpfangZeitueberschreitung);
    nach(10ms);
    EXPECT_TRUE(m_anschluss.wiederholen());
    EXPECT_EQ(m_leitung->gesendet.size(), 2);
    EXPECT_EQ(m_anschluss.empfangsTest(), kEmpfangLaeuft);
    EXPECT_FALSE(m_anschluss.wiederholen());
}

TEST_F(BusanschlussTest, acknowledgementIsNeverRepeated)
{
    m_anschluss.sndNke(kAdresse5);
    m_anschluss.wiederholen();
    m_leitung->eingang = Hex("E5");
    nach(30ms);
    EXPECT_EQ(nach(30ms), kEmpfangQuittung);
    EXPECT_FALSE(m_anschluss.wiederholen());
    nach(fenster(5));
    EXPECT_EQ(m_leitung->gesendet.size(), 1);
}

TEST_F(BusanschlussTest, newRequestForgetsTheRetryOfTheOneBefore)
{
    m_anschluss.reqUd2(kAdresse5);
    m_anschluss.wiederholen();
    m_anschluss.sndNke(kAdresse5);
    EXPECT_EQ(bisZumEnde(), kEmpfangZeitueberschreitung);
    EXPECT_EQ(m_leitung->gesendet.size(), 2);
}

TEST_F(BusanschlussTest, closedPortEndsARequestAtOnceAsTimeOut)
{
    m_anschluss.schliessen();
    m_anschluss.reqUd2(kAdresse5);
    EXPECT_EQ(m_anschluss.empfangsTest(), kEmpfangZeitueberschreitung);
    EXPECT_EQ(m_anschluss.ereignis().empfangsfehler, kFehlerZeitueberschreitung);
    EXPECT_FALSE(m_anschluss.wiederholen());
    EXPECT_TRUE(m_leitung->gesendet.isEmpty());
}

TEST_F(BusanschlussTest, closingDuringAnExchangeEndsItAsTimeOut)
{
    m_anschluss.reqUd2(kAdresse5);
    m_anschluss.schliessen();
    EXPECT_EQ(m_anschluss.pruefen(), kEmpfangZeitueberschreitung);
    EXPECT_EQ(m_anschluss.ereignis().empfangsfehler, kFehlerZeitueberschreitung);
}

TEST_F(BusanschlussTest, lostDeviceEndsTheExchangeAsTimeOut)
{
    m_anschluss.reqUd2(kAdresse5);
    m_leitung->offen = false;
    EXPECT_EQ(nach(1ms), kEmpfangZeitueberschreitung);
}

TEST_F(BusanschlussTest, refusedWriteEndsTheExchangeAsTimeOut)
{
    m_leitung->schreibenScheitert = true;
    m_anschluss.reqUd2(kAdresse5);
    EXPECT_EQ(m_anschluss.empfangsTest(), kEmpfangZeitueberschreitung);
}

TEST_F(BusanschlussTest, bytesTricklingInForEverEndAtTheHardLimit)
{
    m_anschluss.reqUd2(kAdresse5);
    // One noise byte every 15 ms keeps the 18 ms pause from ever passing; the engine would stop
    // only at 262 bytes. The limit: window + 261 bytes each with 4 characters of pause.
    Zeitparameter z;
    const Dauer grenze = fenster(5) + Sendedauer(z, 261 * 5);
    Dauer vergangen{0};
    int ergebnis = kEmpfangLaeuft;
    while (ergebnis == kEmpfangLaeuft && vergangen < 10s) {
        m_leitung->eingang = Hex("00");
        ergebnis = nach(15ms);
        vergangen += 15ms;
    }
    EXPECT_NE(ergebnis, kEmpfangLaeuft);
    EXPECT_LE(vergangen, grenze + 15ms);
}

TEST_F(BusanschlussTest, lateBytesOfAnEarlierExchangeAreNoAnswer)
{
    m_anschluss.reqUd2(kAdresse5);
    nach(fenster(5));
    m_leitung->eingang = Telegramm(); // far too late
    nach(100ms);
    m_anschluss.reqUd2(kAdresse5);
    EXPECT_EQ(nach(fenster(5) + 100ms), kEmpfangZeitueberschreitung);
}

TEST_F(BusanschlussTest, requestToEveryMeterWithoutAnswerEndsIdle)
{
    m_anschluss.sndNke(MBusAdresse(MBusAdresse::kRundruf));
    EXPECT_EQ(nach(fenster(5)), kEmpfangLeerlauf);
    EXPECT_EQ(m_anschluss.ereignis().empfangsfehler, 0);
}

TEST_F(BusanschlussTest, invalidMaskOrEmptyFrameSendsNothing)
{
    Auswahlmaske maske;
    maske.ident = QStringLiteral("12x45678");
    m_anschluss.waehle(maske);
    EXPECT_EQ(m_anschluss.empfangsTest(), kEmpfangUngueltig);
    EXPECT_EQ(m_anschluss.ereignis().empfangsfehler, kFehlerSonstiger);
    m_anschluss.sendeRoh({});
    EXPECT_EQ(m_anschluss.ereignis().empfangsfehler, kFehlerSonstiger);
    EXPECT_TRUE(m_leitung->gesendet.isEmpty());
}

TEST_F(BusanschlussTest, decodingWithoutBusAcceptsOnlyALongFrame)
{
    const struct
    {
        QByteArray bytes;
        int test;
        int fehler;
    } faelle[] = {
        {Telegramm(), kEmpfangTelegramm, 0},
        {Hex("E5"), kEmpfangUngueltig, kFehlerStartzeichen},
        {Hex("0000"), kEmpfangUngueltig, kFehlerStartzeichen},
        {Telegramm().chopped(1) + Hex("17"), kEmpfangUngueltig, kFehlerStoppzeichen},
    };
    for (const auto& fall : faelle) {
        m_anschluss.deuten(fall.bytes);
        EXPECT_EQ(m_anschluss.empfangsTest(), fall.test) << fall.bytes.toHex().constData();
        EXPECT_EQ(m_anschluss.ereignis().empfangsfehler, fall.fehler)
            << fall.bytes.toHex().constData();
    }
}

TEST_F(BusanschlussTest, timingFollowsTheBaudRateOfTheOpenPort)
{
    ASSERT_EQ(m_anschluss.oeffnen(3, 9600), 0);
    EXPECT_EQ(m_leitung->geoeffnetMitBaud, 9600);
    EXPECT_EQ(m_anschluss.zeiten().baud, 9600);
    m_leitung->jetzt += 1s;
    m_anschluss.reqUd2(kAdresse5);
    Zeitparameter z;
    z.baud = 9600;
    const Dauer f = Sendedauer(z, 5) + Antwortfenster(z);
    EXPECT_EQ(nach(f - 1us), kEmpfangLaeuft);
    EXPECT_EQ(nach(1us), kEmpfangZeitueberschreitung);
}

TEST_F(BusanschlussTest, failedOpenLeavesThePortClosedWithItsError)
{
    m_leitung->oeffnenFehler = 8005;
    EXPECT_EQ(m_anschluss.oeffnen(3, 2400), 8005);
    EXPECT_FALSE(m_anschluss.offen());
    EXPECT_EQ(m_anschluss.oeffnenFehler(), 8005);
    m_leitung->oeffnenFehler = 0;
    EXPECT_NE(m_anschluss.oeffnen(3, 0), 0);
    EXPECT_FALSE(m_anschluss.offen());
}

} // namespace
