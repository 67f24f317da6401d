#include "DatendateiTest.h"

using RB6AnlegenTest = DatendateiTest;

TEST_F(RB6AnlegenTest, dateiNameMitMandantOhneFuehrendeNullen)
{
    EXPECT_EQ(RB6_DateiName("D:\\Daten\\", 1234, 2), "D:\\Daten\\Z200\\001234002.zep");
    Mandant = "045";
    EXPECT_EQ(RB6_DateiName("", 7, 12), "Z45\\000007012.zep");
    Mandant = "";
    EXPECT_EQ(RB6_DateiName("x\\", 1234567, 1000), "x\\Z0\\12345671000.zep");
}

TEST_F(RB6AnlegenTest, neueDateiHatKopfUndNullbloecke)
{
    // The record layout itself: 1 as a little-endian 32-bit integer, 9.0 as a double.
    ASSERT_EQ(SatzBytes(1, 9.0), QByteArray::fromHex("010000000000000000002240"));
    schreiben(Datei(), {}); // an empty file counts as missing
    ASSERT_EQ(RB6_DateiAnlegen(DBPath, 1234, 1, 3, 1.5, 2.5, 3.5, 4.5), 0);
    EXPECT_TRUE(GleicheBytes(lesen(Datei()), NeueDateiBytes(3, 1.5, 2.5, 3.5, 4.5)));
    EXPECT_TRUE(FehlerText.isEmpty());
}

TEST_F(RB6AnlegenTest, neueDateienNehmenDieStandardgroesse)
{
    // Standard size -> blocks of a new file, by RB6_DateiAnlegen with 0 and by appending.
    const std::pair<qint32, qint32> faelle[] = {{2, 2}, {0, 6000}};
    for (const auto& [standard, bloecke] : faelle) {
        RB6_StandardGroesse = standard;
        QFile::remove(pfad(Datei()));
        QFile::remove(pfad("db/Z200/001234002.zep"));
        ASSERT_EQ(RB6_DateiAnlegen(DBPath, 1234, 1, 0, 1, 1, 0, 0), 0);
        EXPECT_TRUE(GleicheBytes(lesen(Datei()), NeueDateiBytes(bloecke))) << standard;
        QString name;
        ASSERT_EQ(RB6_WertSchreiben(DBPath, 1234, 1'700'000'000, 1.0, 2, name), 0);
        EXPECT_EQ(QFileInfo(pfad("db/Z200/001234002.zep")).size(), bloecke * 1212) << standard;
    }
}

TEST_F(RB6AnlegenTest, nurDerOrdnerDesMandantenWirdAngelegt)
{
    Mandant = "045";
    ASSERT_EQ(RB6_DateiAnlegen(DBPath, 1234, 1, 1, 1, 1, 0, 0), 0);
    EXPECT_TRUE(GleicheBytes(lesen("db/Z45/001234001.zep"), NeueDateiBytes(1)));
    // No path above it, no block count out of range (the capacity fills the 32-bit time).
    EXPECT_EQ(RB6_DateiAnlegen("fehlt\\tiefer\\", 1234, 1, 1, 1, 1, 0, 0), -1);
    EXPECT_FALSE(vorhanden("fehlt"));
    EXPECT_EQ(RB6_DateiAnlegen(DBPath, 1234, 2, -1, 1, 1, 0, 0), -1);
    EXPECT_EQ(RB6_DateiAnlegen(DBPath, 1234, 2, 21'474'837, 1, 1, 0, 0), -1);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_FALSE(vorhanden("db/Z45/001234002.zep"));
}

TEST_F(RB6AnlegenTest, kopfLesenUndSchreibenNurDerSaetze1Bis9)
{
    // One block with values at records 10 and 11, and a stray number in record 7.
    QByteArray datei = NeueDateiBytes(1, 1.5, 2.5, 3.5, 4.5);
    SatzSetzen(datei, 10, 1000, 10.5);
    SatzSetzen(datei, 11, 2000, 11.5);
    SatzSetzen(datei, 2, 2000, 11.0);
    QByteArray soll = datei;
    SatzSetzen(datei, 7, 77, 7.0);
    schreiben(Datei(), datei);
    RB6_Kopf kopf;
    ASSERT_EQ(RB6_KopfLesen(Datei(), kopf), 0);
    EXPECT_EQ(kopf, (RB6_Kopf{.Tm1 = 1,
                              .Wert1 = 1.0,
                              .Tm2 = 2000,
                              .Wert2 = 11.0,
                              .Wert3 = 1.5,
                              .Wert4 = 2.5,
                              .Tm5 = 100,
                              .Wert5 = 3.5,
                              .Wert6 = 4.5,
                              .Tm10 = 1000,
                              .Wert10 = 10.5})); // with the oldest value

    kopf.Wert3 = 8.0;
    kopf.Tm10 = 5; // a held copy of a value is never written back
    kopf.Wert10 = -1.0;
    ASSERT_EQ(RB6_KopfSchreiben(Datei(), kopf), 0);
    SatzSetzen(soll, 3, 0, 8.0); // and the fields not held are written as 0
    EXPECT_TRUE(GleicheBytes(lesen(Datei()), soll));

    // A header that would point beyond the file or onto a header record is refused.
    kopf = RB6_NeuerKopf(1, 1, 1, 0, 0);
    for (const double letzter : {102.0, 8.0}) {
        kopf.Wert2 = letzter;
        EXPECT_EQ(RB6_KopfSchreiben(Datei(), kopf), -2) << letzter;
    }
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(lesen(Datei()), soll);
}
