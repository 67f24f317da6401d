// The answer the driver decoded last shown in a grid and a text box.

#include "support/TestUmgebung.h"

#include "driver/faces/MBusRacX4.h"
#include "grid/GridModell.h"
#include "lesen/Zaehlerlesen.h"
#include "platform/Global.h"

#include <QFile>

namespace {

// A three-record electricity meter (address 1) from the shared test telegrams, 39 bytes.
QString GeteiltesTelegramm()
{
    QFile datei(QStringLiteral(TELVARIN_TESTDATA "/telegrams/good/emh_diz.hex"));
    if (!datei.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(datei.readAll()).simplified().remove(u' ');
}

class TelegrammInGridTest : public TestUmgebung
{
protected:
    void SetUp() override
    {
        TestUmgebung::SetUp();
        m_treiber.setLNGLanguage(1);
        const QString hex = GeteiltesTelegramm();
        ASSERT_FALSE(hex.isEmpty());
        m_treiber.APPInterpretTelegramHex(hex);
        ASSERT_EQ(m_treiber.APPReceiveTest(), 3);
    }
    MBusRacX4 m_treiber;
    GridModell m_grid;
    QString m_text;
};

} // namespace

TEST_F(TelegrammInGridTest, textBoxShowsHexLinesOfSixteenAndDecimalTriples)
{
    TelegrammInGrid(m_grid, m_treiber, m_text);
    EXPECT_EQ(m_text,
              "39 HEX Zeichen\r\n"
              "68 21 21 68 08 01 72 02 37 62 00 A8 15 00 02 07 \r\n"
              "00 00 00 8C 10 04 09 04 00 00 C4 00 2A 00 00 00 \r\n"
              "00 01 FD 17 00 8C 16 \r\n"
              "39 Dezimal\r\n"
              "104 033 033 104 008 001 114 002 055 098 000 168 021 000 002 007 000 000 000 140 016 "
              "004 009 004 000 000 196 000 042 000 000 000 000 001 253 023 000 140 022 ");
}

TEST_F(TelegrammInGridTest, gridHasHeaderEmptyRowAndOneRowPerRecord)
{
    m_grid.setRows(9);
    m_grid.setCols(8);
    m_grid.setTextMatrix(1, 1, QStringLiteral("alt"));
    TelegrammInGrid(m_grid, m_treiber, m_text);
    // The raw telegram stays in hex: the telegram tools read it back as the driver's form.
    EXPECT_EQ(RohdatenText, m_treiber.APPRetrieveRawDataHex());
    EXPECT_TRUE(RohdatenText.startsWith("68212168"));
    ASSERT_EQ(m_grid.Cols(), 5);
    ASSERT_EQ(m_grid.Rows(), 5);
    const QStringList kopf = {"Index", "Medium", QString::fromUtf8("Meßart"), "Wert", "Einh."};
    for (int spalte = 0; spalte < 5; ++spalte) {
        EXPECT_EQ(m_grid.TextMatrix(0, spalte), kopf[spalte]);
        EXPECT_EQ(m_grid.TextMatrix(1, spalte), "");
    }
    const QStringList zeile2 = {"1 [1]", m_treiber.APPMediumAsc(), m_treiber.APPVIBAsc(1), "4,09",
                                "kWh"};
    for (int spalte = 0; spalte < 5; ++spalte)
        EXPECT_EQ(m_grid.TextMatrix(2, spalte), zeile2[spalte]);
    EXPECT_EQ(m_grid.TextMatrix(4, 0), "1 [3]");
    EXPECT_EQ(m_grid.TextMatrix(3, 4), "kW");
}

TEST_F(TelegrammInGridTest, decodedAnswerFillsTheMeterRecordOrFailsWithoutTouchingIt)
{
    MBZaehler zaehler;
    ASSERT_EQ(TelegrammWerteLesen(m_treiber, zaehler, 1000), 0);
    EXPECT_EQ(zaehler.AnzWerte, 3);
    EXPECT_DOUBLE_EQ(zaehler.Werte[1].Wert, 4.09);
    EXPECT_EQ(zaehler.Werte[1].Einheit, "kWh            ");
    EXPECT_EQ(zaehler.Werte[2].Art, m_treiber.APPVIBAsc(2).left(15).leftJustified(15));
    m_treiber.APPInterpretTelegramHex(QStringLiteral("6805"));
    EXPECT_EQ(TelegrammWerteLesen(m_treiber, zaehler, 2000), -1);
    EXPECT_EQ(zaehler.AnzWerte, 3);
    EXPECT_EQ(zaehler.Werte[1].Tm, 1000);
}
