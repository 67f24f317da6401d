#include "SerielleUmgebung.h"
#include "frames/TelegrammText.h"

#include <thread>

using namespace std::chrono_literals;

namespace {

const QByteArray kSelekt = QByteArray::fromHex("680B0B6853FD5278563412FFFFFFFFB216");
const QByteArray kReset = QByteArray::fromHex("68030368"
                                              "73FD50C016");
const QByteArray kReqUd2 = QByteArray::fromHex("107BFD7816");
const QByteArray kAntwort =
    LangerRahmen(QByteArray::fromHex("08FD72785634122D2C010E010000000C1312345678"));
const QString kSelektLog = QStringLiteral(
    "05.12.26 12:00:00 Send Hex   : \t68;0B;0B;68;53;FD;52;78;56;34;12;FF;FF;FF;FF;B2;16;\r\n");

class MBusRawREQUD2Test : public PtyUmgebung
{
protected:
    void SetUp() override
    {
        PtyUmgebung::SetUp();
        oeffnen(QStringLiteral("2400"));
    }
    // A meter that acknowledges its select, its application reset and its select again (E5, the
    // reset only with resetQuittieren) and answers REQ_UD2 in two pieces; echo: a level
    // converter that sends every frame of the master back first. It notes the frames it got in
    // the expected order in m_erhalten and stops at the first other one (or after 3 s without).
    std::jthread zaehler(bool quittieren, bool antworten, bool echo = false,
                         bool resetQuittieren = true)
    {
        m_erhalten.clear();
        return std::jthread([=, this] {
            for (const QByteArray& anfrage : {kSelekt, kReset, kSelekt, kReqUd2}) {
                if (m_bus.lesen(anfrage.size(), 3s) != anfrage)
                    return;
                m_erhalten.append(anfrage);
                m_bus.schreiben(echo ? anfrage : QByteArray());
                // 20 ms behind the request's time on the wire (11 bits a byte at 2400 baud).
                std::this_thread::sleep_for(anfrage.size() * 11 * 1000ms / 2400 + 20ms);
                if (anfrage == kSelekt && !quittieren)
                    return;
                const bool quittung = anfrage == kSelekt || (anfrage == kReset && resetQuittieren);
                m_bus.schreiben(quittung ? "\xE5" : "");
            }
            if (antworten) {
                m_bus.schreiben(kAntwort.left(10));
                std::this_thread::sleep_for(30ms);
                m_bus.schreiben(kAntwort.mid(10));
            }
        });
    }
    int auslesen(bool log = false, double zeitlimit = 0.8)
    {
        return MBusRawREQUD2(m_comm, kSelekt, m_antwort, log, 0, 0, 0, zeitlimit);
    }
    QByteArray m_antwort = "alt";
    QList<QByteArray> m_erhalten; // written by the meter's thread, read after it has ended
};

// The select is always logged, requests and answers only with the receive log flag. The echo
// comes while the frame is on the wire and is no part of what is read.
TEST_F(MBusRawREQUD2Test, answeringMeterGivesFrameEvenBehindAnEchoAndLogsFollowTheFlag)
{
    for (bool echo : {false, true}) {
        auto meter = zaehler(true, true, echo);
        EXPECT_EQ(auslesen(echo), kAntwort.size()) << FehlerText.toStdString();
        EXPECT_EQ(m_antwort, kAntwort);
    }
    const QStringList zeilen = programmlog().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(zeilen.size(), 10) << qPrintable(zeilen.join(u'\n'));
    EXPECT_EQ(zeilen[0] + QStringLiteral("\r\n"), kSelektLog);
    for (const int i : {1, 2, 6})
        EXPECT_EQ(zeilen[i], zeilen[0]) << i;
    for (const int i : {3, 5, 7})
        EXPECT_TRUE(zeilen[i].endsWith(QStringLiteral("Gelesen Hex   : \tE5;")))
            << qPrintable(zeilen[i]);
    EXPECT_TRUE(zeilen[4].endsWith(QStringLiteral("Send Hex   : \t68;03;03;68;73;FD;50;C0;16;")))
        << qPrintable(zeilen[4]);
    EXPECT_TRUE(zeilen[8].endsWith(QStringLiteral("Send Hex   : \t10;7B;FD;78;16;")));
    EXPECT_TRUE(zeilen[9].contains(QStringLiteral("Gelesen Hex   : \t68;15;15;68;")))
        << qPrintable(zeilen[9]);
}

// A meter that ignores the application reset is selected again and asked all the same. Its
// silence is awaited for the answer window only, not for the caller's limit of silence (here
// 5 s): the meter, which leaves after 3 s without the next frame, still gets the select and the
// REQ_UD2.
TEST_F(MBusRawREQUD2Test, ignoredApplicationResetCostsOnlyTheAnswerWindowAndStillGetsTheData)
{
    {
        auto meter = zaehler(true, true, false, false);
        EXPECT_EQ(auslesen(false, 5), kAntwort.size()) << FehlerText.toStdString();
    }
    EXPECT_EQ(m_erhalten, (QList<QByteArray>{kSelekt, kReset, kSelekt, kReqUd2}));
    EXPECT_EQ(m_antwort, kAntwort);
    EXPECT_TRUE(FehlerText.isEmpty()) << FehlerText.toStdString();
}

// The select again after the reset is needed: without its acknowledgement the read fails as
// after the first select.
TEST_F(MBusRawREQUD2Test, unacknowledgedSecondSelectFailsTheRead)
{
    std::jthread meter([this] {
        for (const QByteArray& anfrage : {kSelekt, kReset, kSelekt}) {
            if (m_bus.lesen(anfrage.size(), 3s) != anfrage)
                return;
            m_erhalten.append(anfrage);
            std::this_thread::sleep_for(anfrage.size() * 11 * 1000ms / 2400 + 20ms);
            if (m_erhalten.size() < 3)
                m_bus.schreiben("\xE5");
        }
    });
    EXPECT_EQ(auslesen(false, 0.3), -3);
    EXPECT_TRUE(m_antwort.isEmpty());
    EXPECT_TRUE(
        FehlerText.startsWith(QStringLiteral("Keine Quittung auf den Auswahlrahmen: Timeout : ")))
        << FehlerText.toStdString();
    meter.join();
    EXPECT_EQ(m_erhalten, (QList<QByteArray>{kSelekt, kReset, kSelekt}));
}

TEST_F(MBusRawREQUD2Test, acknowledgementWithoutFrameGivesZeroAndNoAcknowledgementMinusThree)
{
    {
        auto meter = zaehler(true, false);
        EXPECT_EQ(auslesen(), 0);
        EXPECT_TRUE(m_antwort.isEmpty());
    }
    auto stumm = zaehler(false, false);
    m_antwort = "alt";
    EXPECT_GE(dauerMs([&] { EXPECT_EQ(auslesen(), -3); }), 800);
    EXPECT_TRUE(m_antwort.isEmpty());
    EXPECT_TRUE(FehlerText.contains(QStringLiteral("Timeout : "))) << FehlerText.toStdString();
}

TEST_F(MBusRawREQUD2Test, selectFromBadHexTextEndsWithoutAcknowledgementInsteadOfHanging)
{
    for (const char* text : {"", "zz", "68 0B 0", "\xff\xfe"}) {
        const QByteArray selekt = HexToStr(QString::fromLatin1(text));
        EXPECT_LT(dauerMs([&] {
                      EXPECT_EQ(MBusRawREQUD2(m_comm, selekt, m_antwort, true, 0, 0, 0, 0.1), -3);
                  }),
                  1000)
            << text;
        EXPECT_TRUE(m_antwort.isEmpty());
    }
}

// Unplugged while waiting for the frame: -4; then the port is closed: -1; a select that cannot
// be sent: -2.
TEST_F(MBusRawREQUD2Test, lostDeviceEndsTheReadWithItsCode)
{
    std::jthread meter([this] {
        m_bus.lesen(kSelekt.size(), 3s);
        std::this_thread::sleep_for(100ms); // the select's time on the wire
        m_bus.schreiben("\xE5");
        m_bus.lesen(kReset.size(), 3s);
        std::this_thread::sleep_for(60ms);
        m_bus.schreiben("\xE5");
        m_bus.lesen(kSelekt.size(), 3s);
        std::this_thread::sleep_for(100ms);
        m_bus.schreiben("\xE5");
        // Gone while the program waits for the answer (not while it is still sending).
        if (m_bus.lesen(kReqUd2.size(), 3s) == kReqUd2) {
            std::this_thread::sleep_for(100ms);
            m_bus.schliessen();
        }
    });
    EXPECT_EQ(auslesen(), -4);
    EXPECT_TRUE(m_antwort.isEmpty());
    EXPECT_EQ(auslesen(), -1);
    PtyBus abgezogen;
    comZuordnen(3, abgezogen.geraet());
    oeffnen(QStringLiteral("2400"));
    abgezogen.schliessen();
    EXPECT_EQ(auslesen(), -2);
}

} // namespace
