#include "PtyBus.h"
#include "SerielleUmgebung.h"
#include "frames/TelegrammText.h"
#include "platform/Global.h"
#include "serial/SerielleDienste.h"

#include <QElapsedTimer>

#include <thread>

using namespace std::chrono_literals;

namespace {

const QByteArray kSelekt = QByteArray::fromHex("680B0B6853FD5278563412FFFFFFFFB216");
const QByteArray kReqUd2 = QByteArray::fromHex("107BFD7816");
const QByteArray kAntwort =
    LangerRahmen(QByteArray::fromHex("08FD72785634122D2C010E010000000C1312345678"));

class MBusRawREQUD2Test : public SerielleUmgebung
{
protected:
    void SetUp() override
    {
        SerielleUmgebung::SetUp();
        ASSERT_TRUE(m_bus.gueltig());
        comZuordnen(3, m_bus.geraet());
        QString baud = QStringLiteral("2400");
        ASSERT_EQ(ComPortOeffnen(m_comm, 3, baud), 0) << FehlerText.toStdString();
    }

    // A meter that acknowledges its select and answers REQ_UD2; echo: a level converter that
    // sends every frame of the master back first.
    std::jthread zaehler(bool quittieren, bool antworten, bool echo = false)
    {
        return std::jthread([this, quittieren, antworten, echo] {
            const QByteArray selekt = m_bus.lesen(kSelekt.size(), 3s);
            if (selekt != kSelekt)
                return;
            if (echo)
                m_bus.schreiben(selekt);
            std::this_thread::sleep_for(20ms);
            if (!quittieren)
                return;
            m_bus.schreiben("\xE5");
            const QByteArray anfrage = m_bus.lesen(kReqUd2.size(), 3s);
            if (anfrage != kReqUd2)
                return;
            if (echo)
                m_bus.schreiben(anfrage);
            std::this_thread::sleep_for(20ms);
            if (antworten) {
                m_bus.schreiben(kAntwort.left(10));
                std::this_thread::sleep_for(30ms);
                m_bus.schreiben(kAntwort.mid(10));
            }
        });
    }

    int auslesen() { return MBusRawREQUD2(m_comm, kSelekt, m_antwort, false, 0, 0, 0, 0.8); }

    PtyBus m_bus;
    SerielleSchnittstelle m_comm;
    QByteArray m_antwort = "alt";
};

TEST_F(MBusRawREQUD2Test, answeringMeterGivesFrameAndItsLength)
{
    auto meter = zaehler(true, true);

    EXPECT_EQ(auslesen(), kAntwort.size()) << FehlerText.toStdString();

    EXPECT_EQ(m_antwort, kAntwort);
}

TEST_F(MBusRawREQUD2Test, selectIsAlwaysLoggedAndReceiveLogFollowsItsFlag)
{
    auto meter = zaehler(true, true);

    ASSERT_EQ(auslesen(), kAntwort.size());

    EXPECT_EQ(programmlog(),
              QStringLiteral("05.12.26 12:00:00 Send Hex   : \t68;0B;0B;68;53;FD;52;78;"
                             "56;34;12;FF;FF;FF;FF;B2;16;\r\n"));
}

TEST_F(MBusRawREQUD2Test, receiveLogFlagLogsRequestAndBothAnswers)
{
    auto meter = zaehler(true, true);

    ASSERT_EQ(MBusRawREQUD2(m_comm, kSelekt, m_antwort, true, 0, 0, 0, 0.8), kAntwort.size());

    const QStringList zeilen = programmlog().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(zeilen.size(), 4);
    EXPECT_TRUE(zeilen[0].contains(QStringLiteral("Send Hex   : \t68;0B;")));
    EXPECT_TRUE(zeilen[1].endsWith(QStringLiteral("Gelesen Hex   : \tE5;")));
    EXPECT_TRUE(zeilen[2].endsWith(QStringLiteral("Send Hex   : \t10;7B;FD;78;16;")));
    EXPECT_TRUE(zeilen[3].contains(QStringLiteral("Gelesen Hex   : \t68;15;15;68;08;FD;72;")));
}

TEST_F(MBusRawREQUD2Test, echoOfTheLevelConverterIsPassedOver)
{
    auto meter = zaehler(true, true, true);

    EXPECT_EQ(auslesen(), kAntwort.size());

    EXPECT_EQ(m_antwort, kAntwort);
}

TEST_F(MBusRawREQUD2Test, meterThatAcknowledgesButSendsNoFrameGivesZeroAndEmptyAnswer)
{
    auto meter = zaehler(true, false);

    EXPECT_EQ(auslesen(), 0);

    EXPECT_TRUE(m_antwort.isEmpty());
}

TEST_F(MBusRawREQUD2Test, missingAcknowledgementIsMinusThree)
{
    auto meter = zaehler(false, false);
    QElapsedTimer uhr;
    uhr.start();

    EXPECT_EQ(auslesen(), -3);

    EXPECT_TRUE(m_antwort.isEmpty());
    EXPECT_GE(uhr.elapsed(), 800);
}

TEST_F(MBusRawREQUD2Test, missingAcknowledgementIsNamedInFehlerText)
{
    EXPECT_EQ(MBusRawREQUD2(m_comm, kSelekt, m_antwort, false, 0, 0, 0, 0.1), -3);

    EXPECT_TRUE(FehlerText.contains(QStringLiteral("Timeout : "))) << FehlerText.toStdString();
}

class SelektAusSchlechtemHexText : public MBusRawREQUD2Test,
                                   public ::testing::WithParamInterface<const char*>
{
};

TEST_P(SelektAusSchlechtemHexText, endsWithoutAcknowledgementInsteadOfHanging)
{
    const QByteArray selekt = HexToStr(QString::fromLatin1(GetParam()));
    QElapsedTimer uhr;
    uhr.start();

    EXPECT_EQ(MBusRawREQUD2(m_comm, selekt, m_antwort, true, 0, 0, 0, 0.1), -3);

    EXPECT_TRUE(m_antwort.isEmpty());
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_LT(uhr.elapsed(), 1000);
}

INSTANTIATE_TEST_SUITE_P(Texte, SelektAusSchlechtemHexText,
                         ::testing::Values("", "zz", "6", "68 0B 0", "68;GG;0B;", "\xff\xfe"));

TEST_F(MBusRawREQUD2Test, closedPortIsMinusOne)
{
    m_comm.setPortOpen(false);

    EXPECT_EQ(auslesen(), -1);

    EXPECT_TRUE(m_antwort.isEmpty());
}

TEST_F(MBusRawREQUD2Test, failedSelectSendIsMinusTwo)
{
    m_bus.schliessen();

    EXPECT_EQ(auslesen(), -2);

    EXPECT_FALSE(FehlerText.isEmpty());
}

TEST_F(MBusRawREQUD2Test, deviceLostWhileWaitingForFrameIsMinusFour)
{
    std::jthread meter([this] {
        if (m_bus.lesen(kSelekt.size(), 3s) != kSelekt)
            return;
        m_bus.schreiben("\xE5");
        if (m_bus.lesen(kReqUd2.size(), 3s) == kReqUd2)
            m_bus.schliessen();
    });

    EXPECT_EQ(auslesen(), -4);

    EXPECT_TRUE(m_antwort.isEmpty());
    EXPECT_FALSE(m_comm.PortOpen());
}

} // namespace
