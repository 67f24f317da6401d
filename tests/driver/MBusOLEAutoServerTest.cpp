// The fixed-interface driver face on a scripted line: the port only after a baud rate, the
// answer window, and the guards of a wait that yields (its requests end to end: see
// TreiberSimulatorTest).

#include "support/TestUmgebung.h"

#include "SkriptKanal.h"
#include "driver/faces/MBusOLEAutoServer.h"
#include "platform/Warten.h"

#include <QTimer>

#include <chrono>

namespace {

using namespace std::chrono_literals;
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

    m_server.OLESetBaud(QStringLiteral("9600"), ok);
    m_server.OLESetBaud(QStringLiteral("9601"), ok); // a refused rate withdraws the one before
    m_server.OLEOpenPort(QStringLiteral("Com 3"), ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(m_leitung->oeffnungen, 0);

    m_server.OLESetBaud(QStringLiteral("2400"), ok);
    EXPECT_TRUE(ok);
    m_leitung->oeffnenFehler = 8005;
    m_server.OLEOpenPort(QStringLiteral("Com 3"), ok);
    EXPECT_FALSE(ok);
    m_leitung->oeffnenFehler = 0;
    m_server.OLEOpenPort(QStringLiteral("Com 3"), ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(m_leitung->geoeffnetMitBaud, 2400);
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
