#include "SerielleUmgebung.h"
#include "platform/Warten.h"

#include <QRegularExpression>
#include <QTimer>

#include <atomic>
#include <thread>

using namespace std::chrono_literals;

namespace {

// RSP_UD of a meter at address 5 (9 bytes of user data).
const QByteArray kAntwort = LangerRahmen(QByteArray::fromHex("0805720100000005"));
const QByteArray kEcho = QByteArray::fromHex("107BFD7816");

class V3CommReadMsgTest : public PtyUmgebung
{
protected:
    void SetUp() override
    {
        PtyUmgebung::SetUp();
        oeffnen(QStringLiteral("9600"));
    }
    LeseErgebnis lesen(double zeitlimit = 0.8, bool log = false, quint8 start = 0x68,
                       quint8 ende = 0x16)
    {
        m_zeitlimit = zeitlimit;
        return V3CommReadMsg(m_comm, start, ende, m_zeitlimit, m_antwort, log);
    }
    double m_zeitlimit = 0.8;
    QByteArray m_antwort;
};

TEST_F(V3CommReadMsgTest, answerIsFoundAmidEchoAndNoiseAndTheBufferIsEmptied)
{
    const QByteArray neun = QByteArray::fromHex("680303680805727F16");
    const struct
    {
        QByteArray bytes;
        quint8 start, ende;
        QByteArray antwort;
    } faelle[] = {
        {"\xE5", 0xE5, 0xE5, "\xE5"},
        {QByteArray::fromHex("00FFE5AA"), 0xE5, 0xE5, "\xE5"},
        {neun, 0x68, 0x16, neun},
        {kEcho + kAntwort + QByteArray::fromHex("16") + "Rest", 0x68, 0x16, kAntwort},
    };
    for (const auto& fall : faelle) {
        m_bus.schreiben(fall.bytes);
        const LeseErgebnis r = lesen(0.8, false, fall.start, fall.ende);
        EXPECT_TRUE(r == fall.antwort.size()) << r.text().toStdString();
        EXPECT_EQ(m_antwort, fall.antwort);
        EXPECT_EQ(m_comm.InBufferCount(), 0);
    }
    m_bus.schreiben(kEcho + kAntwort);
    ASSERT_TRUE(lesen(0.8, true) == kAntwort.size());
    EXPECT_EQ(programmlog(), QStringLiteral("05.12.26 12:00:00 Gelesen Hex   : \t10;7B;FD;78;16;"
                                            "68;08;08;68;08;05;72;01;00;00;00;05;85;16;\r\n"));
}

// A frame whose length bytes and end character fit but whose checksum is wrong is the answer
// once the line falls silent (a sound frame behind it would still be taken at once).
TEST_F(V3CommReadMsgTest, frameWithWrongChecksumIsTheAnswerWhenTheLineFallsSilent)
{
    QByteArray falsch = kAntwort;
    falsch[falsch.size() - 2] = static_cast<char>(falsch[falsch.size() - 2] + 1);
    m_bus.schreiben(kEcho + falsch + "\x55");
    const LeseErgebnis r = lesen(0.3, true);
    EXPECT_TRUE(r == falsch.size()) << r.text().toStdString();
    EXPECT_EQ(m_antwort, falsch);
    EXPECT_EQ(m_comm.InBufferCount(), 0);
    EXPECT_TRUE(programmlog().contains(QStringLiteral("Gelesen Hex   : \t10;7B;FD;78;16;68;")));

    m_bus.schreiben(falsch + kAntwort);
    EXPECT_TRUE(lesen(0.3) == kAntwort.size());
    EXPECT_EQ(m_antwort, kAntwort);
}

// The wait sleeps in the event loop: a timer set before the read fires during it, and ending
// the program during it ends the read at once with -1.
TEST_F(V3CommReadMsgTest, eventsRunDuringTheWaitAndTheEndOfTheProgramEndsIt)
{
    int waehrendDesLesens = 0;
    QTimer::singleShot(100, [&] { waehrendDesLesens += m_comm.beschaeftigt() ? 1 : 0; });
    LeseErgebnis r = lesen(0.8);
    EXPECT_TRUE(r.istZeitueberschreitung());
    EXPECT_EQ(waehrendDesLesens, 1);

    QTimer::singleShot(100, [] { ProgrammEndeMelden(); });
    r = lesen(0.8);
    EXPECT_TRUE(r == -1) << r.text().toStdString();
    EXPECT_EQ(FehlerText, QStringLiteral("Abbruch: Das Programm wird beendet"));
}

TEST_F(V3CommReadMsgTest, frameArrivingInPiecesKeepsTheWaitGoing)
{
    std::jthread zaehler([&] {
        m_bus.schreiben(kAntwort.left(3));
        std::this_thread::sleep_for(500ms);
        m_bus.schreiben(kAntwort.mid(3, 5));
        std::this_thread::sleep_for(500ms);
        m_bus.schreiben(kAntwort.mid(8));
    });
    LeseErgebnis r(-1);
    EXPECT_GE(dauerMs([&] { r = lesen(); }), 1000); // silence counts, not the whole read
    EXPECT_TRUE(r == kAntwort.size()) << r.text().toStdString();
    EXPECT_EQ(m_antwort, kAntwort);
}

// No limit given: 0.8 s, written back. The text names the bytes that came.
TEST_F(V3CommReadMsgTest, incompleteAnswerTimesOutAfterZeroPointEightSecondsOfSilence)
{
    m_bus.schreiben("ab");
    LeseErgebnis r(-1);
    const qint64 ms = dauerMs([&] { r = lesen(0, true); });
    EXPECT_TRUE(ms >= 800 && ms < 1300) << ms;
    EXPECT_EQ(m_zeitlimit, 0.8);
    EXPECT_TRUE(r.istZeitueberschreitung() && r > 0 && !(r == 1)); // above every count, equal to none
    EXPECT_TRUE(m_antwort.isEmpty());
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^Timeout : ab  0,8\\d*$")).match(r.text()).hasMatch())
        << r.text().toStdString();
    const QRegularExpression zeile(QStringLiteral(
        "^05\\.12\\.26 12:00:00 Timeout V3CommReadMsg : ab  0,8\\d*  abTmOut=0,8\r\n$"));
    EXPECT_TRUE(zeile.match(programmlog()).hasMatch()) << programmlog().toStdString();
}

TEST_F(V3CommReadMsgTest, lineThatNeverFallsSilentStillEnds)
{
    std::atomic<bool> weiter{true};
    std::jthread stoerer([&] {
        while (weiter) {
            m_bus.schreiben(QByteArray(1, '\x55'));
            std::this_thread::sleep_for(5ms);
        }
    });
    LeseErgebnis r(-1);
    const qint64 ms = dauerMs([&] { r = lesen(0.8); });
    weiter = false;
    EXPECT_TRUE(r.istZeitueberschreitung());
    EXPECT_GE(ms, 3900); // three time-outs, one second, twice the longest frame at 9600 baud
    EXPECT_LT(ms, 5000);
}

// A control busy with another exchange, a port closed by a window or unplugged while waiting,
// a closed port, the end of the program.
TEST_F(V3CommReadMsgTest, readThatCannotGoOnEndsAtOnceWithMinusOne)
{
    m_comm.setBeschaeftigt(true);
    EXPECT_TRUE(lesen() == -1);
    m_comm.setBeschaeftigt(false);
    QTimer::singleShot(100, [this] { m_comm.setPortOpen(false); });
    EXPECT_LT(dauerMs([&] { EXPECT_TRUE(lesen(5) == -1); }), 1000);
    FehlerText.clear();
    EXPECT_TRUE(lesen() == -1);
    EXPECT_FALSE(FehlerText.isEmpty());
    oeffnen(QStringLiteral("9600"));
    std::jthread abzieher([&] {
        std::this_thread::sleep_for(100ms);
        m_bus.schliessen();
    });
    EXPECT_LT(dauerMs([&] { EXPECT_TRUE(lesen(5) == -1); }), 1000);
    EXPECT_FALSE(m_comm.PortOpen());
    ProgrammEndeMelden();
    EXPECT_TRUE(lesen(5) == -1);
}

} // namespace
