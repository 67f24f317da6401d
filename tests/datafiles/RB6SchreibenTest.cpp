#include "WertdateiTest.h"

class RB6SchreibenTest : public WertdateiTest
{
protected:
    // A file of one block holding the values at records 10 on.
    QByteArray dateiMit(const QList<std::pair<qint32, double>>& werte, int bloecke = 1)
    {
        QByteArray datei = NeueDateiBytes(bloecke);
        qint64 satz = 9;
        for (const auto& [tm, wert] : werte)
            SatzSetzen(datei, ++satz, tm, wert);
        if (!werte.isEmpty())
            SatzSetzen(datei, 2, werte.last().first, double(satz));
        return datei;
    }
};

constexpr qint32 kT = 1'700'000'000;

TEST_F(RB6SchreibenTest, ersterWertLegtDieDateiAnUndGehtInSatz10)
{
    RB6_StandardGroesse = 1;
    QString name;
    ASSERT_EQ(RB6_WertSchreiben(DBPath, 1234, kT, 12.5, 1, name), 0);
    EXPECT_EQ(name, "db\\Z200\\001234001.zep");
    QByteArray soll = NeueDateiBytes(1);
    SatzSetzen(soll, 10, kT, 12.5);
    SatzSetzen(soll, 2, kT, 10.0);
    EXPECT_TRUE(GleicheBytes(lesen(Datei()), soll));
}

TEST_F(RB6SchreibenTest, neueDateiNimmtDieStandardgroesse)
{
    RB6_StandardGroesse = 3;
    ASSERT_EQ(anhaengen(kT, 1.0), 0);
    EXPECT_EQ(QFileInfo(pfad(Datei())).size(), 3 * 1212);
    RB6_StandardGroesse = 0;
    QString name;
    ASSERT_EQ(RB6_WertSchreiben(DBPath, 1234, kT, 1.0, 2, name), 0);
    EXPECT_EQ(QFileInfo(pfad("db/Z200/001234002.zep")).size(), 6000 * 1212);
}

TEST_F(RB6SchreibenTest, gegebenerDateinameWirdBenutzt)
{
    QDir().mkdir(pfad("andere"));
    QString name = "andere\\werte.zep";
    RB6_StandardGroesse = 1;
    ASSERT_EQ(RB6_WertSchreiben(DBPath, 1234, kT, 3.0, 1, name), 0);
    EXPECT_EQ(name, "andere\\werte.zep");
    EXPECT_EQ(lesen("andere/werte.zep").mid(9 * 12, 12), SatzBytes(kT, 3.0));
    EXPECT_FALSE(vorhanden(Datei()));
}

TEST_F(RB6SchreibenTest, neuereZeitenWerdenAngehaengt)
{
    schreiben(Datei(), dateiMit({{kT, 1.0}}));
    ASSERT_EQ(anhaengen(kT + 60, 2.0), 0);
    ASSERT_EQ(anhaengen(kT + 120, 3.0), 0);
    EXPECT_TRUE(
        GleicheBytes(lesen(Datei()), dateiMit({{kT, 1.0}, {kT + 60, 2.0}, {kT + 120, 3.0}})));
}

TEST_F(RB6SchreibenTest, gleicheZeitUeberschreibtDenNeuestenWert)
{
    schreiben(Datei(), dateiMit({{kT, 1.0}, {kT + 60, 2.0}}));
    ASSERT_EQ(anhaengen(kT + 60, 7.0), 0);
    EXPECT_TRUE(GleicheBytes(lesen(Datei()), dateiMit({{kT, 1.0}, {kT + 60, 7.0}})));
}

TEST_F(RB6SchreibenTest, aeltereZeitAendertNichts)
{
    const QByteArray vorher = dateiMit({{kT, 1.0}, {kT + 60, 2.0}});
    schreiben(Datei(), vorher);
    EXPECT_EQ(anhaengen(kT + 30, 5.0), -2);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(lesen(Datei()), vorher);
}

TEST_F(RB6SchreibenTest, zeitNullOderNegativWirdAbgelehntOhneDateiAnzulegen)
{
    for (const qint32 tm : {0, -1, -2'000'000'000}) {
        FehlerText.clear();
        EXPECT_EQ(anhaengen(tm, 1.0), -2) << tm;
        EXPECT_FALSE(FehlerText.isEmpty()) << tm;
    }
    EXPECT_FALSE(vorhanden(Datei()));
    EXPECT_FALSE(vorhanden("db/Z200"));
}

TEST_F(RB6SchreibenTest, zeitNullTrifftNieDenKopf)
{
    const QByteArray vorher = dateiMit({});
    schreiben(Datei(), vorher);
    EXPECT_EQ(anhaengen(0, 99.0), -2);
    EXPECT_EQ(lesen(Datei()), vorher);
}

TEST_F(RB6SchreibenTest, gleicheZeitOhneGespeichertenWertTrifftNieDenKopf)
{
    // A header that names a newest time but no stored value yet (record 2 = (t, 9)).
    QByteArray vorher = dateiMit({});
    SatzSetzen(vorher, 2, kT, 9.0);
    schreiben(Datei(), vorher);
    EXPECT_EQ(anhaengen(kT, 99.0), -2);
    EXPECT_EQ(lesen(Datei()), vorher);
}

TEST_F(RB6SchreibenTest, ueberDieKapazitaetHinausWirdSieAngehoben)
{
    // One block: capacity 100, 101 records allocated.
    QList<std::pair<qint32, double>> werte;
    for (int i = 0; i < 90; ++i)
        werte.append({kT + 60 * i, double(i)});
    schreiben(Datei(), dateiMit(werte));
    ASSERT_EQ(anhaengen(kT + 60 * 90, 90.0), 0); // record 100
    EXPECT_EQ(lesen(Datei()).mid(4 * 12, 12), SatzBytes(100, 0.0));
    ASSERT_EQ(anhaengen(kT + 60 * 91, 91.0), 0); // record 101
    EXPECT_EQ(lesen(Datei()).mid(4 * 12, 12), SatzBytes(101, 0.0));
    EXPECT_EQ(lesen(Datei()).size(), 1212);
    ASSERT_EQ(anhaengen(kT + 60 * 92, 92.0), 0); // record 102: the file grows by one record
    const QByteArray nachher = lesen(Datei());
    EXPECT_EQ(nachher.size(), 1224);
    EXPECT_EQ(nachher.mid(4 * 12, 12), SatzBytes(102, 0.0));
    EXPECT_EQ(nachher.mid(101 * 12, 12), SatzBytes(kT + 60 * 92, 92.0));
    EXPECT_EQ(nachher.mid(12, 12), SatzBytes(kT + 60 * 92, 102.0));
}

TEST_F(RB6SchreibenTest, kapazitaetBehaeltDenParameterDesSatzes5)
{
    QByteArray vorher = dateiMit({{kT, 1.0}});
    SatzSetzen(vorher, 5, 10, 4.25); // capacity already reached
    schreiben(Datei(), vorher);
    ASSERT_EQ(anhaengen(kT + 60, 2.0), 0);
    EXPECT_EQ(lesen(Datei()).mid(4 * 12, 12), SatzBytes(11, 4.25));
}

TEST_F(RB6SchreibenTest, misslungenesAnhaengenLaesstDenKopfUnveraendert)
{
    const QByteArray vorher = dateiMit({{kT, 1.0}});
    schreiben(Datei(), vorher);
    Wertdatei::schreibfehlerNach(0);
    EXPECT_EQ(anhaengen(kT + 60, 2.0), -3);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(lesen(Datei()), vorher);

    // The value reached its record, the header did not: the file still ends at the old value.
    Wertdatei::schreibfehlerNach(1);
    EXPECT_EQ(anhaengen(kT + 60, 2.0), -3);
    EXPECT_EQ(lesen(Datei()).mid(12, 12), SatzBytes(kT, 10.0));
}

TEST_F(RB6SchreibenTest, misslungenesUeberschreibenGibtMinus4)
{
    const QByteArray vorher = dateiMit({{kT, 1.0}});
    schreiben(Datei(), vorher);
    Wertdatei::schreibfehlerNach(0);
    EXPECT_EQ(anhaengen(kT, 2.0), -4);
    EXPECT_EQ(lesen(Datei()), vorher);
}

TEST_F(RB6SchreibenTest, misslungenesAnlegenGibtMinus1)
{
    Wertdatei::schreibfehlerNach(0);
    EXPECT_EQ(anhaengen(kT, 2.0), -1);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_FALSE(vorhanden(Datei()));
}

TEST_F(RB6SchreibenTest, anhaengenLiestNurDenKopf)
{
    QList<std::pair<qint32, double>> werte;
    for (int i = 0; i < 500; ++i)
        werte.append({kT + 60 * i, double(i)});
    schreiben(Datei(), dateiMit(werte, 6)); // below the capacity of 600
    Wertdatei::zugriffeZuruecksetzen();
    ASSERT_EQ(anhaengen(kT + 60 * 500, 1.0), 0);
    EXPECT_EQ(Wertdatei::leseZugriffe(), 1);
    EXPECT_EQ(Wertdatei::schreibZugriffe(), 2);
}
