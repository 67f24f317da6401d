// The fixed-interface driver face on a scripted line: the port only after a baud rate, requests
// that run to their end, records from 0, and the guards of a wait that yields.

#include "support/TestUmgebung.h"

#include "DekodierHilfen.h"
#include "SkriptKanal.h"
#include "driver/faces/MBusOLEAutoServer.h"
#include "platform/Warten.h"

#include <QTimer>

#include <chrono>

namespace {

using namespace std::chrono_literals;
using dekodiertest::BaueRahmen;
using dekodiertest::Hex;
using dekodiertest::VariablerKopf;
using treibertest::Leitung;
using treibertest::SkriptKanal;
using treibertest::SkriptUhr;

class MBusOLEAutoServerTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        m_leitung->schritt = 1ms; // the clock runs while the face waits
    }
    void oeffnen()
    {
        bool ok = false;
        m_server.OLESetBaud(QStringLiteral("2400"), ok);
        ASSERT_TRUE(ok);
        m_server.OLEOpenPort(QStringLiteral("Com 3"), ok);
        ASSERT_TRUE(ok);
        m_leitung->jetzt += 1s;
    }

    std::shared_ptr<Leitung> m_leitung = std::make_shared<Leitung>();
    MBusOLEAutoServer m_server{std::make_unique<SkriptKanal>(m_leitung),
                               std::make_unique<SkriptUhr>(m_leitung)};
};

// Energy 100000 kWh, volume 12.345 m^3 from meter 12345678 ("EFE", heat) at address 5.
QByteArray Telegramm()
{
    return BaueRahmen(VariablerKopf() + Hex("0406A0860100") + Hex("0C1345230100"));
}

TEST_F(MBusOLEAutoServerTest, portOpensOnlyAfterSetBaudGaveTrue)
{
    bool ok = true;
    m_server.OLEOpenPort(QStringLiteral("Com 3"), ok);
    EXPECT_FALSE(ok);
    m_server.OLESetBaud(QStringLiteral("abc"), ok);
    EXPECT_FALSE(ok);
    m_server.OLEOpenPort(QStringLiteral("Com 3"), ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(m_leitung->oeffnungen, 0);

    m_server.OLESetBaud(QStringLiteral("2400"), ok);
    EXPECT_TRUE(ok);
    m_server.OLEOpenPort(QStringLiteral("Com 3"), ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(m_leitung->geoeffnetMitBaud, 2400);
}

TEST_F(MBusOLEAutoServerTest, refusedBaudWithdrawsTheOneBefore)
{
    bool ok = false;
    m_server.OLESetBaud(QStringLiteral("9600"), ok);
    m_server.OLESetBaud(QStringLiteral("9601"), ok);
    EXPECT_FALSE(ok);
    m_server.OLEOpenPort(QStringLiteral("Com 3"), ok);
    EXPECT_FALSE(ok);
}

TEST_F(MBusOLEAutoServerTest, portTextsItUnderstands)
{
    const struct
    {
        const char* port;
        bool ok;
    } faelle[] = {{"Com 3", true},  {"COM3", true}, {"3", true},      {" com 12 ", true},
                  {"Com x", false}, {"", false},    {"Com 0", false}, {"Com 256", false}};
    bool ok = false;
    m_server.OLESetBaud(QStringLiteral("2400"), ok);
    for (const auto& fall : faelle) {
        m_server.OLEOpenPort(QString::fromLatin1(fall.port), ok);
        EXPECT_EQ(ok, fall.ok) << fall.port;
    }
}

TEST_F(MBusOLEAutoServerTest, failedOpenReportsFalse)
{
    bool ok = false;
    m_server.OLESetBaud(QStringLiteral("2400"), ok);
    m_leitung->oeffnenFehler = 8005;
    m_server.OLEOpenPort(QStringLiteral("Com 3"), ok);
    EXPECT_FALSE(ok);
}

TEST_F(MBusOLEAutoServerTest, setBaudOnAnOpenPortReopensAtTheNewRate)
{
    oeffnen();
    bool ok = false;
    m_server.OLESetBaud(QStringLiteral("9600"), ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(m_leitung->oeffnungen, 2);
    EXPECT_EQ(m_leitung->geoeffnetMitBaud, 9600);
}

TEST_F(MBusOLEAutoServerTest, reqUd2RunsToTheEndAndGivesRecordsFrom0)
{
    oeffnen();
    m_leitung->antworten << Telegramm();
    bool beantwortet = false;

    m_server.OLEReqUD2(5, beantwortet);

    EXPECT_TRUE(beantwortet);
    EXPECT_EQ(m_leitung->gesendet.value(0), Hex("107B058016"));
    EXPECT_EQ(m_server.OLEDeviceIdText(), "12345678");
    EXPECT_EQ(m_server.OLEDeviceIdNumber(), 12345678);
    EXPECT_EQ(m_server.OLEManufacturerText(), "EFE");
    EXPECT_EQ(m_server.OLEManufacturerNumber(), 0x14C5);
    EXPECT_EQ(m_server.OLEGenerationText(), "1");
    EXPECT_EQ(m_server.OLEMediumText(), "Heat");
    EXPECT_EQ(m_server.OLEMediumNumber(), 4);
    ASSERT_EQ(m_server.OLERecordCount(), 2);
    EXPECT_EQ(m_server.OLERecordValueText(0), "100000");
    EXPECT_EQ(m_server.OLERecordUnitText(0), "kWh");
    EXPECT_EQ(m_server.OLERecordKindText(0), "Energy");
    EXPECT_EQ(m_server.OLERecordValueText(1), "12.345");
    EXPECT_EQ(m_server.OLERecordValueText(2), "");
    EXPECT_EQ(m_server.OLERecordUnitText(-1), "");
    EXPECT_EQ(m_server.OLERawTelegram(), Telegramm());
}

TEST_F(MBusOLEAutoServerTest, sndNkeIsAnsweredByTheAcknowledgement)
{
    oeffnen();
    m_leitung->antworten << Hex("E5");
    bool beantwortet = false;
    m_server.OLESndNke(5, beantwortet);
    EXPECT_TRUE(beantwortet);
    EXPECT_EQ(m_leitung->gesendet.value(0), Hex("1040054516"));
    m_server.OLESndNke(6, beantwortet);
    EXPECT_FALSE(beantwortet);
}

TEST_F(MBusOLEAutoServerTest, silentMeterIsNotAnsweredAndLeavesNoData)
{
    oeffnen();
    m_leitung->antworten << Telegramm();
    bool beantwortet = false;
    m_server.OLEReqUD2(5, beantwortet);
    ASSERT_TRUE(beantwortet);

    const mbus::Buszeit start = m_leitung->jetzt;
    m_server.OLEReqUD2(6, beantwortet);

    EXPECT_FALSE(beantwortet);
    EXPECT_GE(m_leitung->jetzt - start, 187ms);
    EXPECT_EQ(m_server.OLERecordCount(), 0);
    EXPECT_EQ(m_server.OLEDeviceIdText(), "");
    EXPECT_EQ(m_server.OLEDeviceIdNumber(), -1);
    EXPECT_EQ(m_server.OLERecordValueText(0), "");
}

TEST_F(MBusOLEAutoServerTest, setTimeoutAddsMillisecondsToTheAnswerWindow)
{
    oeffnen();
    bool beantwortet = false;
    m_server.OLESetTimeout(500);
    mbus::Buszeit start = m_leitung->jetzt;
    m_server.OLEReqUD2(6, beantwortet);
    EXPECT_GE(m_leitung->jetzt - start, 20ms + 137ms + 500ms);
    EXPECT_LT(m_leitung->jetzt - start, 20ms + 137ms + 520ms);

    m_server.OLESetTimeout(0); // back to 50 ms
    start = m_leitung->jetzt;
    m_server.OLEReqUD2(6, beantwortet);
    EXPECT_LT(m_leitung->jetzt - start, 20ms + 137ms + 70ms);
}

TEST_F(MBusOLEAutoServerTest, requestOnAClosedPortIsNotAnswered)
{
    bool beantwortet = true;
    m_server.OLEReqUD2(5, beantwortet);
    EXPECT_FALSE(beantwortet);
    oeffnen();
    m_server.OLEClosePort();
    m_server.OLEReqUD2(5, beantwortet);
    EXPECT_FALSE(beantwortet);
    EXPECT_TRUE(m_leitung->gesendet.isEmpty());
}

TEST_F(MBusOLEAutoServerTest, secondCallFromInsideTheWaitIsTurnedAway)
{
    oeffnen();
    bool innen = true;
    QTimer::singleShot(0, [&] { m_server.OLEReqUD2(7, innen); });
    bool beantwortet = false;
    m_server.OLEReqUD2(6, beantwortet);
    EXPECT_FALSE(innen);
    EXPECT_EQ(m_leitung->gesendet.size(), 1);
}

TEST_F(MBusOLEAutoServerTest, programEndingDuringTheWaitGivesTheRequestUp)
{
    oeffnen();
    m_leitung->schritt = 0us; // time stands still: only the program's end can end the wait
    QTimer::singleShot(0, [] { ProgrammEndeMelden(); });
    bool beantwortet = true;
    m_server.OLEReqUD2(6, beantwortet);
    EXPECT_FALSE(beantwortet);
}

} // namespace
