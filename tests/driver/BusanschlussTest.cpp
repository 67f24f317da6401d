// The bus master on a scripted line with a hand-moved clock: what the engine cannot see by
// itself. Dead time, echo, repetition, closed and lost ports, and the hard limit of an exchange.

#include "support/TestUmgebung.h"

#include "DekodierHilfen.h"
#include "SkriptKanal.h"
#include "driver/engine/Rahmenbau.h"
#include "driver/transport/Busanschluss.h"

#include <QDir>

#include <chrono>
#include <functional>

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
        return Sendedauer(z, bytes) + Antwortfrist(z);
    }

    std::shared_ptr<Leitung> m_leitung = std::make_shared<Leitung>();
    Busanschluss m_anschluss{std::make_unique<SkriptKanal>(m_leitung),
                             std::make_unique<SkriptUhr>(m_leitung)};
};

QByteArray Telegramm()
{
    return BaueRahmen(VariablerKopf() + Hex("0C1378563412"));
}

// abwarten sleeps from one moment at which the exchange moves on by itself to the next: the end
// of the dead time, the end of the answer window, the pause behind an answer. Nothing polls in
// between.
TEST_F(BusanschlussTest, waitSleepsFromDeadlineToDeadline)
{
    m_leitung->schlafMitUhr = true;
    Zeitparameter z;
    z.totzeitBits = 600; // 250 ms at 2400 baud, longer than the answer window
    m_anschluss.setzeZeiten(z);
    m_anschluss.sndNke(kAdresse5); // at once on a silent line
    EXPECT_EQ(m_anschluss.abwarten(), kEmpfangZeitueberschreitung);
    EXPECT_EQ(m_leitung->schlaefe, QList<Dauer>({fenster(5)}));

    m_leitung->schlaefe.clear();
    m_leitung->antworten << Hex("E5");
    m_anschluss.sndNke(kAdresse5);
    EXPECT_EQ(m_anschluss.abwarten(), kEmpfangQuittung);
    EXPECT_EQ(m_leitung->schlaefe, QList<Dauer>({Totzeit(z) - Antwortfrist(z), Antwortpause(z)}));
}

TEST_F(BusanschlussTest, requestWaitsOutTheDeadTimeBehindTheLastByte)
{
    Zeitparameter z;
    z.totzeitBits = 330; // 137.5 ms at 2400 baud
    m_anschluss.setzeZeiten(z);
    m_anschluss.sndNke(kAdresse5);
    EXPECT_EQ(m_leitung->gesendet.value(0), Hex("1040054516")); // at once on a silent line
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
    while (m_leitung->gesendet.size() == 1 && gewartet < 3s) {
        m_leitung->eingang = Hex("00"); // a line that never falls silent
        nach(2ms);
        gewartet += 2ms;
    }
    EXPECT_EQ(m_leitung->gesendet.size(), 2);
    Zeitparameter z;
    EXPECT_LE(gewartet, Totzeit(z) + Antwortfenster(z) + Sendedauer(z, kLaengsteAntwort) + 2ms);
}

// Bytes read while the request is still on the wire (22.9 ms for 5 bytes at 2400 baud, plus
// 11 bit times) answer something else; bytes while a request waits hold it back until the line
// has been silent for an answer's end (four characters, 18.3 ms).
TEST_F(BusanschlussTest, lateBytesAreNoAnswerAndHoldBackTheNextRequest)
{
    m_anschluss.sndNke(kAdresse5);
    m_leitung->eingang = Hex("E5");
    nach(10ms);
    m_leitung->eingang = Hex("E5");
    nach(20ms);
    EXPECT_EQ(nach(20ms), kEmpfangQuittung);
    EXPECT_EQ(m_anschluss.ereignis().antwort, Hex("E5"));

    m_leitung->eingang = Hex("E5");
    m_anschluss.reqUd2(kAdresse5);
    EXPECT_EQ(nach(10ms), kEmpfangLaeuft);
    EXPECT_EQ(m_leitung->gesendet.size(), 1);
    nach(10ms);
    EXPECT_EQ(m_leitung->gesendet.size(), 2);
    const QStringList logs = QDir(pfad(QString())).entryList({QStringLiteral("*ed.log")});
    ASSERT_EQ(logs.size(), 1);
    EXPECT_EQ(QString::fromLatin1(lesen(logs.first())).count(QStringLiteral("verworfen : \tE5;")),
              2);
}

// A meter that answers an earlier request too late: its frame began while the request was on
// the wire, and the rest of it, following without the pause that ends an answer, is late too;
// the meter asked answers behind it and is heard. A whole frame that names another primary
// address than the one asked is dropped the same way, and the own answer behind it is taken.
// Each drop is one line of the program log.
TEST_F(BusanschlussTest, restOfALateFrameAndAFrameOfAnotherAddressAreNoAnswer)
{
    const QByteArray fremd = BaueRahmen(VariablerKopf() + Hex("0C1378563412"), 0x72, 0x08, 0x09);
    m_anschluss.sndNke(kAdresse5);
    m_leitung->eingang = fremd.first(4);
    nach(20ms); // the request is still on the wire
    for (qsizetype i = 4; i < fremd.size(); ++i) {
        m_leitung->eingang = fremd.sliced(i, 1);
        nach(5ms);
    }
    EXPECT_EQ(nach(30ms), kEmpfangLaeuft);
    m_leitung->eingang = Hex("E5");
    EXPECT_EQ(bisZumEnde(), kEmpfangQuittung);
    EXPECT_EQ(m_anschluss.ereignis().antwort, Hex("E5"));

    m_anschluss.reqUd2(kAdresse5);
    ASSERT_EQ(m_leitung->gesendet.size(), 2);
    nach(40ms);
    m_leitung->eingang = fremd;
    EXPECT_EQ(nach(1ms), kEmpfangLaeuft);
    nach(60ms);
    m_leitung->eingang = Telegramm();
    EXPECT_EQ(bisZumEnde(), kEmpfangTelegramm);
    EXPECT_EQ(m_anschluss.ereignis().antwort, Telegramm());

    const QStringList logs = QDir(pfad(QString())).entryList({QStringLiteral("*ed.log")});
    ASSERT_EQ(logs.size(), 1);
    const QString zeile = QStringLiteral("Verspätete Bytes verworfen : \t") +
                          QString::fromLatin1(fremd.toHex(';').toUpper()) + QLatin1Char(';');
    EXPECT_EQ(QString::fromLatin1(lesen(logs.first())).count(zeile), 2)
        << qPrintable(QString::fromLatin1(lesen(logs.first())));
}

// A byte read while the request is on the wire that begins no frame (line noise, a stray echo
// byte) is dropped alone: the meter's prompt answer right behind it is read.
TEST_F(BusanschlussTest, aStrayByteBeforeAPromptAnswerHoldsNothingBack)
{
    for (const QByteArray& streu : {Hex("FF"), Hex("E5"), Hex("16")}) {
        m_anschluss.reqUd2(kAdresse5);
        m_leitung->eingang = streu;
        nach(20ms); // the request is still on the wire
        m_leitung->eingang = Telegramm();
        nach(10ms); // 7 ms behind the request: a prompt meter
        EXPECT_EQ(bisZumEnde(), kEmpfangTelegramm) << streu.toHex().constData();
        EXPECT_EQ(m_anschluss.ereignis().antwort, Telegramm()) << streu.toHex().constData();
        nach(100ms);
    }
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

TEST_F(BusanschlussTest, retryAfterAFailedEndStartsAtOnceAndItsOwnOutcomeCounts)
{
    m_anschluss.reqUd2(kAdresse5);
    ASSERT_EQ(nach(fenster(5)), kEmpfangZeitueberschreitung);
    nach(10ms);
    EXPECT_TRUE(m_anschluss.wiederholen());
    EXPECT_EQ(m_leitung->gesendet.size(), 2);
    EXPECT_FALSE(m_anschluss.wiederholen());
    m_leitung->eingang = Hex("E5E5");
    nach(30ms);
    EXPECT_EQ(nach(30ms), kEmpfangUngueltig);
    EXPECT_EQ(m_anschluss.ereignis().empfangsfehler, kFehlerKollision);
    EXPECT_EQ(m_leitung->gesendet.size(), 2);
}

TEST_F(BusanschlussTest, acknowledgementAndTheRequestBeforeAreNeverRepeated)
{
    m_anschluss.sndNke(kAdresse5);
    m_anschluss.wiederholen();
    m_leitung->eingang = Hex("E5");
    nach(30ms);
    EXPECT_EQ(nach(30ms), kEmpfangQuittung);
    EXPECT_FALSE(m_anschluss.wiederholen());
    nach(fenster(5));
    EXPECT_EQ(m_leitung->gesendet.size(), 1);

    m_anschluss.reqUd2(kAdresse5);
    m_anschluss.wiederholen();
    m_anschluss.sndNke(kAdresse5); // a new request forgets the retry of the one before
    EXPECT_EQ(bisZumEnde(), kEmpfangZeitueberschreitung);
    EXPECT_EQ(m_leitung->gesendet.size(), 3);
}

TEST_F(BusanschlussTest, echoOfTheRequestIsTakenOutButNotAnAnswerThatBeginsLikeIt)
{
    m_anschluss.reqUd2(kAdresse5);
    m_leitung->eingang = Hex("107B05");
    nach(5ms);
    m_leitung->eingang = Hex("8016") + Telegramm();
    nach(30ms); // 35 ms: the request has left the wire
    EXPECT_EQ(nach(30ms), kEmpfangTelegramm);
    EXPECT_EQ(m_anschluss.ereignis().antwort, Telegramm());

    // A raw long frame, and an answer of the same length: both begin 68 09 09 68.
    const QByteArray anfrage = BaueRahmen(Hex("0C1378563412"), 0x51, 0x53, 0x05);
    const QByteArray antwort = BaueRahmen(Hex("0C1378563412"), 0x72, 0x08, 0x05);
    ASSERT_EQ(anfrage.left(4), antwort.left(4));
    nach(1s);
    m_anschluss.sendeRoh(anfrage);
    m_leitung->eingang = antwort;
    nach(80ms); // behind the 15 bytes of the request
    EXPECT_NE(nach(30ms), kEmpfangLaeuft);
    EXPECT_EQ(m_anschluss.ereignis().antwort, antwort);
}

TEST_F(BusanschlussTest, closedLostOrRefusingPortEndsTheRequestAsTimeOut)
{
    const struct
    {
        bool waehrendDesAustauschs;
        std::function<void()> stoerung;
    } faelle[] = {
        {false, [&] { m_anschluss.schliessen(); }},
        {false, [&] { m_leitung->schreibenScheitert = true; }},
        {true, [&] { m_anschluss.schliessen(); }},
        {true, [&] { m_leitung->offen = false; }}, // the device went away
    };
    for (const auto& fall : faelle) {
        ASSERT_EQ(m_anschluss.oeffnen(3, 2400), 0);
        m_leitung->schreibenScheitert = false;
        m_leitung->gesendet.clear();
        nach(1s);
        if (!fall.waehrendDesAustauschs)
            fall.stoerung();
        m_anschluss.reqUd2(kAdresse5);
        if (fall.waehrendDesAustauschs)
            fall.stoerung();
        EXPECT_EQ(nach(1ms), kEmpfangZeitueberschreitung);
        EXPECT_EQ(m_anschluss.ereignis().empfangsfehler, kFehlerZeitueberschreitung);
        if (!fall.waehrendDesAustauschs) {
            EXPECT_FALSE(m_anschluss.wiederholen());
            EXPECT_TRUE(m_leitung->gesendet.isEmpty());
        }
    }
}

TEST_F(BusanschlussTest, timingFollowsTheBaudRateOfTheOpenPort)
{
    ASSERT_EQ(m_anschluss.oeffnen(3, 9600), 0);
    EXPECT_EQ(m_leitung->geoeffnetMitBaud, 9600);
    m_leitung->jetzt += 1s;
    m_anschluss.reqUd2(kAdresse5);
    Zeitparameter z;
    z.baud = 9600;
    const Dauer f = Sendedauer(z, 5) + Antwortfrist(z);
    EXPECT_EQ(nach(f - 1us), kEmpfangLaeuft);
    EXPECT_EQ(nach(1us), kEmpfangZeitueberschreitung);
}

} // namespace
