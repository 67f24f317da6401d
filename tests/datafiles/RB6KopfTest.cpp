#include "WertdateiTest.h"

class RB6KopfTest : public WertdateiTest
{
protected:
    // One block with values at records 10 and 11.
    static QByteArray ZweiWerte()
    {
        QByteArray datei = NeueDateiBytes(1, 1.5, 2.5, 3.5, 4.5);
        SatzSetzen(datei, 10, 1000, 10.5);
        SatzSetzen(datei, 11, 2000, 11.5);
        SatzSetzen(datei, 2, 2000, 11.0);
        return datei;
    }
};

TEST_F(RB6KopfTest, lesenFuelltDenKopfMitDemAeltestenWert)
{
    schreiben(Datei(), ZweiWerte());
    RB6_Kopf kopf;
    ASSERT_EQ(RB6_KopfLesen(Datei(), kopf), 0);
    RB6_Kopf soll;
    soll.Tm1 = 1;
    soll.Wert1 = 1.0;
    soll.Tm2 = 2000;
    soll.Wert2 = 11.0;
    soll.Wert3 = 1.5;
    soll.Wert4 = 2.5;
    soll.Tm5 = 100;
    soll.Wert5 = 3.5;
    soll.Wert6 = 4.5;
    soll.Tm10 = 1000;
    soll.Wert10 = 10.5;
    EXPECT_EQ(kopf, soll);
}

TEST_F(RB6KopfTest, schreibenAendertNurDieSaetze1Bis9)
{
    schreiben(Datei(), ZweiWerte());
    RB6_Kopf kopf;
    ASSERT_EQ(RB6_KopfLesen(Datei(), kopf), 0);
    kopf.Wert3 = 8.0;
    kopf.Tm10 = 5; // a held copy of a value is never written back
    kopf.Wert10 = -1.0;
    ASSERT_EQ(RB6_KopfSchreiben(Datei(), kopf), 0);
    QByteArray soll = ZweiWerte();
    SatzSetzen(soll, 3, 0, 8.0);
    EXPECT_TRUE(GleicheBytes(lesen(Datei()), soll));
}

TEST_F(RB6KopfTest, schreibenSetztDieNichtGehaltenenKopffelderAufNull)
{
    QByteArray datei = ZweiWerte();
    SatzSetzen(datei, 7, 77, 7.0);
    SatzSetzen(datei, 6, 66, 4.5);
    schreiben(Datei(), datei);
    RB6_Kopf kopf;
    ASSERT_EQ(RB6_KopfLesen(Datei(), kopf), 0);
    ASSERT_EQ(RB6_KopfSchreiben(Datei(), kopf), 0);
    EXPECT_TRUE(GleicheBytes(lesen(Datei()), ZweiWerte()));
}

TEST_F(RB6KopfTest, dateiNurAusDemKopfIstGueltig)
{
    schreiben(Datei(), NeueDateiBytes(1).left(9 * 12));
    RB6_Kopf kopf;
    EXPECT_EQ(RB6_KopfLesen(Datei(), kopf), 0);
    EXPECT_EQ(kopf.Wert2, 9.0);
    EXPECT_EQ(kopf.Tm10, 0);
}

TEST_F(RB6KopfTest, leereDateiWirdGeloescht)
{
    schreiben(Datei(), {});
    RB6_Kopf kopf;
    EXPECT_EQ(RB6_KopfLesen(Datei(), kopf), -1);
    EXPECT_FALSE(vorhanden(Datei()));
    schreiben(Datei(), {});
    EXPECT_EQ(RB6_KopfSchreiben(Datei(), RB6_NeuerKopf(1, 1, 1, 0, 0)), -1);
    EXPECT_FALSE(vorhanden(Datei()));
    EXPECT_FALSE(FehlerText.isEmpty());
}

TEST_F(RB6KopfTest, fehlendeDateiWirdNichtAngelegt)
{
    RB6_Kopf kopf;
    EXPECT_EQ(RB6_KopfLesen(Datei(), kopf), -1);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(RB6_KopfSchreiben(Datei(), RB6_NeuerKopf(1, 1, 1, 0, 0)), -1);
    EXPECT_FALSE(vorhanden(Datei()));
    EXPECT_FALSE(vorhanden("db/Z200"));
}

TEST_F(RB6KopfTest, neuerKopfDerUeberDasDateiendeZeigtWirdAbgelehnt)
{
    schreiben(Datei(), ZweiWerte());
    RB6_Kopf kopf = RB6_NeuerKopf(1, 1, 1, 0, 0);
    kopf.Wert2 = 102.0; // the file has 101 records
    EXPECT_EQ(RB6_KopfSchreiben(Datei(), kopf), -2);
    kopf.Wert2 = 8.0; // would let the next value overwrite record 9
    EXPECT_EQ(RB6_KopfSchreiben(Datei(), kopf), -2);
    kopf = RB6_NeuerKopf(1, 1, 1, 0, 0);
    kopf.Tm1 = 0;
    EXPECT_EQ(RB6_KopfSchreiben(Datei(), kopf), -2);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(lesen(Datei()), ZweiWerte());
}

TEST_F(RB6KopfTest, misslungenerSchreibvorgangGibtMinus2)
{
    schreiben(Datei(), ZweiWerte());
    Wertdatei::schreibfehlerNach(0);
    RB6_Kopf kopf;
    ASSERT_EQ(RB6_KopfLesen(Datei(), kopf), 0);
    EXPECT_EQ(RB6_KopfSchreiben(Datei(), kopf), -2);
    EXPECT_FALSE(FehlerText.isEmpty());
}
