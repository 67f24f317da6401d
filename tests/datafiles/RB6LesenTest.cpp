#include "WertdateiTest.h"

namespace {

constexpr qint32 kT = 1'700'000'040;

// Time of record k in the test file: one value a minute from record 10 on.
constexpr qint32 Zeit(int satz)
{
    return kT + 60 * (satz - 10);
}

} // namespace

class RB6LesenTest : public WertdateiTest
{
protected:
    // Values at records 10 to letzter (value of record k: k / 2).
    void dateiMitWerten(int letzter)
    {
        QByteArray datei = NeueDateiBytes(3);
        for (int k = 10; k <= letzter; ++k)
            SatzSetzen(datei, k, Zeit(k), k / 2.0);
        SatzSetzen(datei, 2, letzter >= 10 ? Zeit(letzter) : 0, letzter);
        schreiben(Datei(), datei);
        m_vorher = datei;
    }

    int lesenVonBis(UnixZeit von, UnixZeit bis, qint32 intervall = 60)
    {
        m_von = von;
        m_bis = bis;
        return RB6_WerteLesen(1234, m_von, m_bis, m_feld, intervall, 1);
    }

    // Row 0 is record erster - 1, then one row per record up to letzter.
    static RB6_Tabelle Zeilen(int erster, int letzter)
    {
        RB6_Tabelle zeilen;
        for (int k = erster - 1; k <= letzter; ++k)
            zeilen << (k < 10 ? RB6_Zeile{0, 0, 0, 0} : RB6_Zeile{double(Zeit(k)), k / 2.0, 0, 0});
        return zeilen;
    }

    UnixZeit m_von = 0;
    UnixZeit m_bis = 0;
    RB6_Tabelle m_feld{{7, 7, 7, 7}};
    QByteArray m_vorher;
};

TEST_F(RB6LesenTest, zeitenNullLesenDieGanzeDateiAbSatz9)
{
    dateiMitWerten(209);
    ASSERT_EQ(lesenVonBis(0, 0), 0);
    EXPECT_EQ(m_von, Zeit(10));
    EXPECT_EQ(m_bis, Zeit(209));
    EXPECT_EQ(m_feld, Zeilen(10, 209));
    EXPECT_EQ(lesen(Datei()), m_vorher);
}

TEST_F(RB6LesenTest, startFensterReichtEinHalbesIntervallZurueck)
{
    dateiMitWerten(209);
    // [von - 30, von] holds record 50 at its lower edge; the record before is taken as well.
    ASSERT_EQ(lesenVonBis(Zeit(50) + 30, Zeit(150)), 0);
    EXPECT_EQ(m_feld, Zeilen(49, 150));
    // ... and at its upper edge.
    ASSERT_EQ(lesenVonBis(Zeit(50), Zeit(150)), 0);
    EXPECT_EQ(m_feld, Zeilen(49, 150));
    EXPECT_EQ(m_von, Zeit(50));
    EXPECT_EQ(m_bis, Zeit(150));
}

TEST_F(RB6LesenTest, endFensterReichtEinHalbesIntervallMinusEinsVor)
{
    dateiMitWerten(209);
    // [bis, bis + 29] holds record 150 at its upper edge ...
    ASSERT_EQ(lesenVonBis(Zeit(50), Zeit(150) - 29), 0);
    EXPECT_EQ(m_feld, Zeilen(49, 150));
    // ... and at its lower edge.
    ASSERT_EQ(lesenVonBis(Zeit(50), Zeit(150)), 0);
    EXPECT_EQ(m_feld, Zeilen(49, 150));
}

TEST_F(RB6LesenTest, endeZwischenZweiWertenEndetAmNaechstenWert)
{
    dateiMitWerten(209);
    // [bis, bis + 29] holds no value; the search ends next to it, here at the next one.
    ASSERT_EQ(lesenVonBis(Zeit(50), Zeit(150) - 30), 0);
    EXPECT_EQ(m_feld, Zeilen(49, 150));
}

TEST_F(RB6LesenTest, endeKurzVorDemLetztenWirdDerLetzte)
{
    dateiMitWerten(209);
    ASSERT_EQ(lesenVonBis(Zeit(50), Zeit(200)), 0); // 9 records before the last
    EXPECT_EQ(m_feld, Zeilen(49, 209));
    ASSERT_EQ(lesenVonBis(Zeit(50), Zeit(199)), 0); // 10 records before the last
    EXPECT_EQ(m_feld, Zeilen(49, 199));
}

TEST_F(RB6LesenTest, startAmErstenWertGehtNichtZurueck)
{
    dateiMitWerten(209);
    ASSERT_EQ(lesenVonBis(Zeit(10), Zeit(100)), 0);
    EXPECT_EQ(m_feld, Zeilen(10, 100));
    ASSERT_EQ(lesenVonBis(0, Zeit(100)), 0);
    EXPECT_EQ(m_feld, Zeilen(10, 100));
    EXPECT_EQ(m_von, Zeit(10));
}

TEST_F(RB6LesenTest, startVorAllenWertenBeginntAmErstenWert)
{
    dateiMitWerten(209);
    ASSERT_EQ(lesenVonBis(Zeit(10) - 86400, Zeit(100)), 0);
    EXPECT_EQ(m_feld, Zeilen(10, 100));
}

TEST_F(RB6LesenTest, intervallNullSuchtGenau)
{
    dateiMitWerten(209);
    ASSERT_EQ(lesenVonBis(Zeit(50), Zeit(150), 0), 0);
    EXPECT_EQ(m_feld, Zeilen(49, 150));
    // The end window is [bis - 1, bis].
    ASSERT_EQ(lesenVonBis(Zeit(50), Zeit(150) + 1, 0), 0);
    EXPECT_EQ(m_feld, Zeilen(49, 150));
}

TEST_F(RB6LesenTest, keinZeitraumGibtMinus5UndLaesstDieZeilen)
{
    dateiMitWerten(209);
    EXPECT_EQ(lesenVonBis(Zeit(10), Zeit(10)), -5);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(m_feld, RB6_Tabelle({{7, 7, 7, 7}}));
    dateiMitWerten(10);
    EXPECT_EQ(lesenVonBis(0, 0), -5);
    dateiMitWerten(9);
    EXPECT_EQ(lesenVonBis(0, 0), -5);
    EXPECT_EQ(lesenVonBis(Zeit(10), 0), -5);
    EXPECT_EQ(m_feld, RB6_Tabelle({{7, 7, 7, 7}}));
}

TEST_F(RB6LesenTest, fehlendeDateiWirdNichtAngelegt)
{
    EXPECT_EQ(lesenVonBis(0, 0), -1);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_FALSE(vorhanden("db/Z200"));
}

TEST_F(RB6LesenTest, leereDateiWirdGeloescht)
{
    schreiben(Datei(), {});
    EXPECT_LT(lesenVonBis(0, 0), 0);
    EXPECT_FALSE(vorhanden(Datei()));
    EXPECT_EQ(m_feld, RB6_Tabelle({{7, 7, 7, 7}}));
}

TEST_F(RB6LesenTest, mandant1450BekommtSeinenEigenenStatus)
{
    dateiMitWerten(209);
    Mandant = "1450";
    EXPECT_EQ(lesenVonBis(0, 0), kRB6_StatusMandant1450);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(m_feld, RB6_Tabelle({{7, 7, 7, 7}}));
    EXPECT_EQ(m_von, 0);
}

TEST_F(RB6LesenTest, zeitenVor1970WerdenAbgelehnt)
{
    dateiMitWerten(209);
    EXPECT_EQ(lesenVonBis(-1, 0), -3);
    EXPECT_EQ(lesenVonBis(0, -86400), -3);
    EXPECT_EQ(lesenVonBis(0, 0, -60), -3);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(m_feld, RB6_Tabelle({{7, 7, 7, 7}}));
}

TEST_F(RB6LesenTest, liestMitWenigenZugriffen)
{
    dateiMitWerten(300);
    Wertdatei::zugriffeZuruecksetzen();
    ASSERT_EQ(lesenVonBis(Zeit(50), Zeit(150)), 0);
    EXPECT_LE(Wertdatei::leseZugriffe(), 1 + 2 * 12 + 1); // header, two searches, the rows
    EXPECT_EQ(Wertdatei::schreibZugriffe(), 0);
}
