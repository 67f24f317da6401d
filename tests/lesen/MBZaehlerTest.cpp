// The update rule of the master's meter record.

#include "lesen/MBZaehler.h"

#include <gtest/gtest.h>

namespace {

QList<MBAntwortWert> Werte(int anzahl, double wert = 1.0)
{
    QList<MBAntwortWert> liste;
    for (int k = 1; k <= anzahl; ++k)
        liste.append({QStringLiteral("Art %1").arg(k), QString::number(wert + k),
                      QStringLiteral("kWh")});
    return liste;
}

} // namespace

TEST(MBZaehlerTest, rateIsChangePerHourAndKeptWithinTheSameSecond)
{
    const struct
    {
        const char* wert;
        qint64 tm;
        double wertAlt, momWert;
        qint64 tmAlt;
    } schritte[] = {
        {"100", 1000, 0.0, 0.0, 0},       // first answer: no rate yet
        {"112", 4600, 100.0, 12.0, 1000}, // an hour later
        {"500", 4600, 112.0, 12.0, 4600}, // same second: rate stays
    };
    MBZaehler zaehler;
    for (const auto& s : schritte) {
        SCOPED_TRACE(s.wert);
        ASSERT_TRUE(MBZaehlerAktualisieren(zaehler, {{"Energie", s.wert, "kWh"}}, s.tm));
        EXPECT_EQ(zaehler.AnzWerte, 1);
        EXPECT_EQ(zaehler.Werte[1].Wert, QString(s.wert).toDouble());
        EXPECT_EQ(zaehler.Werte[1].Tm, s.tm);
        EXPECT_DOUBLE_EQ(zaehler.Werte[1].MomWert, s.momWert);
        EXPECT_EQ(zaehler.Werte[1].WertAlt, s.wertAlt);
        EXPECT_EQ(zaehler.Werte[1].TmAlt, s.tmAlt);
    }
}

TEST(MBZaehlerTest, textsAreCutOrPaddedToFifteen)
{
    MBZaehler zaehler;
    ASSERT_TRUE(MBZaehlerAktualisieren(zaehler, {{"Vorlauftemperatur 1", "1,5", "°C"}}, 1000));
    EXPECT_EQ(zaehler.Werte[1].Art, "Vorlauftemperat");
    EXPECT_EQ(zaehler.Werte[1].Einheit, QString::fromUtf8("°C             "));
    EXPECT_EQ(zaehler.Werte[1].Wert, 1.5);
}

TEST(MBZaehlerTest, fewerRecordsKeepTheHigherOnesAndMoreThan255ChangeNothing)
{
    MBZaehler zaehler;
    ASSERT_TRUE(MBZaehlerAktualisieren(zaehler, Werte(20, 100.0), 1000));
    ASSERT_TRUE(MBZaehlerAktualisieren(zaehler, Werte(12, 200.0), 2000));
    EXPECT_EQ(zaehler.AnzWerte, 12);
    EXPECT_EQ(zaehler.Werte[12].Wert, 212.0);
    EXPECT_EQ(zaehler.Werte[13].Wert, 113.0);
    EXPECT_EQ(zaehler.Werte[20].Tm, 1000);

    EXPECT_FALSE(MBZaehlerAktualisieren(zaehler, Werte(256, 50.0), 3000));
    EXPECT_EQ(zaehler.AnzWerte, 12);
    EXPECT_EQ(zaehler.Werte[1].Tm, 2000);
    EXPECT_EQ(zaehler.Werte[21].Tm, 0);
    ASSERT_TRUE(MBZaehlerAktualisieren(zaehler, Werte(255), 3000));
    EXPECT_EQ(zaehler.Werte[255].Wert, 256.0);
}
