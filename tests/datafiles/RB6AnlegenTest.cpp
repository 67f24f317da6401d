#include "WertdateiTest.h"

using RB6AnlegenTest = WertdateiTest;

TEST_F(RB6AnlegenTest, satzBytesFolgenDemLayout)
{
    // 1 as a little-endian 32-bit integer, then 1.0 as a little-endian double.
    EXPECT_EQ(SatzBytes(1, 1.0), QByteArray::fromHex("01000000"
                                                     "000000000000f03f"));
    EXPECT_EQ(SatzBytes(-2, 9.0), QByteArray::fromHex("feffffff"
                                                      "0000000000002240"));
}

TEST_F(RB6AnlegenTest, dateiNameMitMandantOhneFuehrendeNullen)
{
    Mandant = "200";
    EXPECT_EQ(RB6_DateiName("D:\\Daten\\", 1234, 2), "D:\\Daten\\Z200\\001234002.zep");
    Mandant = "045";
    EXPECT_EQ(RB6_DateiName("", 7, 12), "Z45\\000007012.zep");
    Mandant = "";
    EXPECT_EQ(RB6_DateiName("x\\", 1234567, 1000), "x\\Z0\\12345671000.zep");
}

TEST_F(RB6AnlegenTest, neueDateiHatKopfUndNullbloecke)
{
    ASSERT_EQ(RB6_DateiAnlegen(DBPath, 1234, 1, 3, 1.5, 2.5, 3.5, 4.5), 0);
    EXPECT_TRUE(GleicheBytes(lesen(Datei()), NeueDateiBytes(3, 1.5, 2.5, 3.5, 4.5)));
    EXPECT_TRUE(FehlerText.isEmpty());
}

TEST_F(RB6AnlegenTest, vorgabegroesseSind6000Bloecke)
{
    ASSERT_EQ(RB6_DateiAnlegen(DBPath, 1234, 1, 0, 1, 1, 0, 0), 0);
    const QByteArray datei = lesen(Datei());
    EXPECT_EQ(datei.size(), 7'272'000);
    EXPECT_TRUE(GleicheBytes(datei, NeueDateiBytes(6000)));
}

TEST_F(RB6AnlegenTest, blockzahlNullNimmtDieStandardgroesse)
{
    RB6_StandardGroesse = 2;
    ASSERT_EQ(RB6_DateiAnlegen(DBPath, 1234, 1, 0, 1, 1, 0, 0), 0);
    EXPECT_TRUE(GleicheBytes(lesen(Datei()), NeueDateiBytes(2)));
}

TEST_F(RB6AnlegenTest, standardgroesseNullBedeutet6000)
{
    RB6_StandardGroesse = 0;
    ASSERT_EQ(RB6_DateiAnlegen(DBPath, 1234, 1, 0, 1, 1, 0, 0), 0);
    EXPECT_EQ(QFileInfo(pfad(Datei())).size(), 7'272'000);
}

TEST_F(RB6AnlegenTest, dateiMitInhaltBleibtUnveraendert)
{
    QByteArray inhalt = NeueDateiBytes(1);
    SatzSetzen(inhalt, 2, 1000, 10.0);
    SatzSetzen(inhalt, 10, 1000, 42.0);
    schreiben(Datei(), inhalt);
    EXPECT_EQ(RB6_DateiAnlegen(DBPath, 1234, 1, 5, 7, 7, 7, 7), 0);
    EXPECT_EQ(lesen(Datei()), inhalt);
}

TEST_F(RB6AnlegenTest, leereDateiWirdAngelegt)
{
    schreiben(Datei(), {});
    ASSERT_EQ(RB6_DateiAnlegen(DBPath, 1234, 1, 1, 1, 1, 0, 0), 0);
    EXPECT_TRUE(GleicheBytes(lesen(Datei()), NeueDateiBytes(1)));
}

TEST_F(RB6AnlegenTest, fehlenderOrdnerDesMandantenWirdAngelegt)
{
    Mandant = "045";
    ASSERT_EQ(RB6_DateiAnlegen(DBPath, 1234, 1, 1, 1, 1, 0, 0), 0);
    EXPECT_TRUE(QFileInfo(pfad("db/Z45")).isDir());
    EXPECT_TRUE(GleicheBytes(lesen("db/Z45/001234001.zep"), NeueDateiBytes(1)));
}

TEST_F(RB6AnlegenTest, fehlenderPfadDarueberWirdNichtAngelegt)
{
    EXPECT_EQ(RB6_DateiAnlegen("fehlt\\tiefer\\", 1234, 1, 1, 1, 1, 0, 0), -1);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_FALSE(vorhanden("fehlt"));
}

TEST_F(RB6AnlegenTest, ordnerStattDateiIstEinFehler)
{
    QDir().mkpath(pfad(Datei()));
    EXPECT_EQ(RB6_DateiAnlegen(DBPath, 1234, 1, 1, 1, 1, 0, 0), -1);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_TRUE(QFileInfo(pfad(Datei())).isDir());
}

TEST_F(RB6AnlegenTest, ungueltigeBlockzahlWirdAbgelehnt)
{
    EXPECT_EQ(RB6_DateiAnlegen(DBPath, 1234, 1, -1, 1, 1, 0, 0), -1);
    EXPECT_FALSE(FehlerText.isEmpty());
    // The capacity (100 a block) would not fit the 32-bit time field.
    EXPECT_EQ(RB6_DateiAnlegen(DBPath, 1234, 1, 21'474'837, 1, 1, 0, 0), -1);
    EXPECT_FALSE(vorhanden(Datei()));
}

TEST_F(RB6AnlegenTest, misslungenerKopfLaesstKeineDateiZurueck)
{
    // The header is the very first write.
    Wertdatei::schreibfehlerNach(0);
    EXPECT_EQ(RB6_DateiAnlegen(DBPath, 1234, 1, 1, 1, 1, 0, 0), -4);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_FALSE(vorhanden(Datei()));
}

TEST_F(RB6AnlegenTest, misslungenesVergroessernLaesstKeineDateiZurueck)
{
    // The header went in, extending the file failed.
    Wertdatei::schreibfehlerNach(1);
    EXPECT_EQ(RB6_DateiAnlegen(DBPath, 1234, 1, 1, 1, 1, 0, 0), -2);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_FALSE(vorhanden(Datei()));
}
