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

TEST(MBZaehlerTest, firstAnswerLeavesMomWertAtZero)
{
    MBZaehler zaehler;
    ASSERT_TRUE(MBZaehlerAktualisieren(zaehler, {{"Energie", "100", "kWh"}}, 1000));
    EXPECT_EQ(zaehler.AnzWerte, 1);
    EXPECT_EQ(zaehler.Werte[1].Wert, 100.0);
    EXPECT_EQ(zaehler.Werte[1].Tm, 1000);
    EXPECT_EQ(zaehler.Werte[1].TmAlt, 0);
    EXPECT_EQ(zaehler.Werte[1].MomWert, 0.0);
}

TEST(MBZaehlerTest, rateIsChangePerHour)
{
    MBZaehler zaehler;
    ASSERT_TRUE(MBZaehlerAktualisieren(zaehler, {{"Energie", "100", "kWh"}}, 1000));
    ASSERT_TRUE(MBZaehlerAktualisieren(zaehler, {{"Energie", "112", "kWh"}}, 1000 + 3600));
    EXPECT_EQ(zaehler.Werte[1].WertAlt, 100.0);
    EXPECT_EQ(zaehler.Werte[1].Wert, 112.0);
    EXPECT_EQ(zaehler.Werte[1].TmAlt, 1000);
    EXPECT_DOUBLE_EQ(zaehler.Werte[1].MomWert, 12.0);
}

TEST(MBZaehlerTest, twoAnswersInTheSameSecondKeepMomWert)
{
    MBZaehler zaehler;
    MBZaehlerAktualisieren(zaehler, {{"E", "100", "kWh"}}, 1000);
    MBZaehlerAktualisieren(zaehler, {{"E", "112", "kWh"}}, 4600);
    ASSERT_TRUE(MBZaehlerAktualisieren(zaehler, {{"E", "500", "kWh"}}, 4600));
    EXPECT_DOUBLE_EQ(zaehler.Werte[1].MomWert, 12.0);
    EXPECT_EQ(zaehler.Werte[1].Wert, 500.0);
}

TEST(MBZaehlerTest, fewerRecordsKeepTheHigherOnes)
{
    MBZaehler zaehler;
    ASSERT_TRUE(MBZaehlerAktualisieren(zaehler, Werte(20, 100.0), 1000));
    ASSERT_TRUE(MBZaehlerAktualisieren(zaehler, Werte(12, 200.0), 2000));
    EXPECT_EQ(zaehler.AnzWerte, 12);
    EXPECT_EQ(zaehler.Werte[12].Wert, 212.0);
    for (int k = 13; k <= 20; ++k) {
        EXPECT_EQ(zaehler.Werte[k].Wert, 100.0 + k) << k;
        EXPECT_EQ(zaehler.Werte[k].Tm, 1000) << k;
    }
}

TEST(MBZaehlerTest, textsAreCutOrPaddedToFifteen)
{
    MBZaehler zaehler;
    ASSERT_TRUE(MBZaehlerAktualisieren(
        zaehler, {{"Vorlauftemperatur 1", "1,5", "°C"}}, 1000));
    EXPECT_EQ(zaehler.Werte[1].Art, "Vorlauftemperat");
    EXPECT_EQ(zaehler.Werte[1].Einheit, QString::fromUtf8("°C             "));
    EXPECT_EQ(zaehler.Werte[1].Wert, 1.5);
}

TEST(MBZaehlerTest, moreThan255RecordsFailAndChangeNothing)
{
    MBZaehler zaehler;
    ASSERT_TRUE(MBZaehlerAktualisieren(zaehler, Werte(3, 10.0), 1000));
    EXPECT_FALSE(MBZaehlerAktualisieren(zaehler, Werte(256, 50.0), 2000));
    EXPECT_EQ(zaehler.AnzWerte, 3);
    EXPECT_EQ(zaehler.Werte[1].Wert, 11.0);
    EXPECT_EQ(zaehler.Werte[1].Tm, 1000);
    EXPECT_EQ(zaehler.Werte[4].Tm, 0);
}

TEST(MBZaehlerTest, exactly255RecordsAreTaken)
{
    MBZaehler zaehler;
    ASSERT_TRUE(MBZaehlerAktualisieren(zaehler, Werte(255), 1000));
    EXPECT_EQ(zaehler.AnzWerte, 255);
    EXPECT_EQ(zaehler.Werte[255].Wert, 256.0);
}
