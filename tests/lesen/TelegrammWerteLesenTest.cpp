// Copying the answer the driver decoded last into the master's meter record.

#include "TelegrammBauer.h"

#include "driver/faces/MBusRacX4.h"
#include "lesen/Zaehlerlesen.h"

#include <gtest/gtest.h>

using lesentest::AlsHex;
using lesentest::Antwort;
using lesentest::EnergieUndVorlauf;

namespace {

class TelegrammWerteLesenTest : public ::testing::Test
{
protected:
    void deuten(const QByteArray& rahmen)
    {
        m_treiber.APPInterpretTelegramHex(AlsHex(rahmen));
        ASSERT_EQ(m_treiber.APPReceiveTest(), 3);
    }

    MBusRacX4 m_treiber;
    MBZaehler m_zaehler;
};

} // namespace

TEST_F(TelegrammWerteLesenTest, firstAnswerFillsTheRecordWithoutRate)
{
    deuten(Antwort(EnergieUndVorlauf(100, 55)));
    ASSERT_EQ(TelegrammWerteLesen(m_treiber, m_zaehler, 1000), 0);
    EXPECT_EQ(m_zaehler.AnzWerte, 2);
    EXPECT_EQ(m_zaehler.Werte[1].Wert, 100.0);
    EXPECT_EQ(m_zaehler.Werte[1].Einheit, "kWh            ");
    EXPECT_EQ(m_zaehler.Werte[1].MomWert, 0.0);
    EXPECT_EQ(m_zaehler.Werte[2].Wert, 55.0);
    EXPECT_EQ(m_zaehler.Werte[1].Art.size(), 15);
}

TEST_F(TelegrammWerteLesenTest, secondAnswerAnHourLaterGivesTheRatePerHour)
{
    deuten(Antwort(EnergieUndVorlauf(100, 55)));
    ASSERT_EQ(TelegrammWerteLesen(m_treiber, m_zaehler, 1000), 0);
    deuten(Antwort(EnergieUndVorlauf(112, 55)));
    ASSERT_EQ(TelegrammWerteLesen(m_treiber, m_zaehler, 4600), 0);
    EXPECT_EQ(m_zaehler.Werte[1].WertAlt, 100.0);
    EXPECT_DOUBLE_EQ(m_zaehler.Werte[1].MomWert, 12.0);
    EXPECT_DOUBLE_EQ(m_zaehler.Werte[2].MomWert, 0.0);
}

TEST_F(TelegrammWerteLesenTest, longRecordTextIsCutToFifteen)
{
    deuten(Antwort(EnergieUndVorlauf(100, 55)));
    const QString text = m_treiber.APPVIBAsc(2);
    ASSERT_GT(text.size(), 15) << qPrintable(text);
    ASSERT_EQ(TelegrammWerteLesen(m_treiber, m_zaehler, 1000), 0);
    EXPECT_EQ(m_zaehler.Werte[2].Art, text.left(15));
}

TEST_F(TelegrammWerteLesenTest, withoutDecodedAnswerFailsAndLeavesTheRecord)
{
    deuten(Antwort(EnergieUndVorlauf(100, 55)));
    ASSERT_EQ(TelegrammWerteLesen(m_treiber, m_zaehler, 1000), 0);
    m_treiber.APPInterpretTelegramHex(QStringLiteral("6805"));
    EXPECT_EQ(TelegrammWerteLesen(m_treiber, m_zaehler, 2000), -1);
    EXPECT_EQ(m_zaehler.AnzWerte, 2);
    EXPECT_EQ(m_zaehler.Werte[1].Tm, 1000);
}
