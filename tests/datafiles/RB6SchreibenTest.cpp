#include "DatendateiTest.h"

namespace {

constexpr qint32 kT = 1'700'000'000;

// A file of the given blocks holding the values at records 10 on.
QByteArray DateiMit(const QList<std::pair<qint32, double>>& werte, int bloecke = 1)
{
    QByteArray datei = NeueDateiBytes(bloecke);
    qint64 satz = 9;
    for (const auto& [tm, wert] : werte)
        SatzSetzen(datei, ++satz, tm, wert);
    if (!werte.isEmpty())
        SatzSetzen(datei, 2, werte.last().first, double(satz));
    return datei;
}

using RB6SchreibenTest = DatendateiTest;

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

TEST_F(RB6SchreibenTest, neuereZeitAnhaengenGleicheUeberschreibenAeltereNicht)
{
    schreiben(Datei(), DateiMit({{kT, 1.0}}));
    ASSERT_EQ(anhaengen(kT + 60, 2.0), 0);
    ASSERT_EQ(anhaengen(kT + 120, 3.0), 0);
    ASSERT_EQ(anhaengen(kT + 120, 7.0), 0);
    const QByteArray soll = DateiMit({{kT, 1.0}, {kT + 60, 2.0}, {kT + 120, 7.0}});
    EXPECT_TRUE(GleicheBytes(lesen(Datei()), soll));
    EXPECT_EQ(anhaengen(kT + 30, 5.0), -2);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(lesen(Datei()), soll);
}

TEST_F(RB6SchreibenTest, zeitenDieDenKopfTreffenWerdenAbgelehnt)
{
    for (const qint32 tm : {0, -1, -2'000'000'000}) {
        EXPECT_EQ(anhaengen(tm, 1.0), -2) << tm;
        EXPECT_FALSE(FehlerText.isEmpty()) << tm;
    }
    EXPECT_FALSE(vorhanden("db/Z200")); // and no file made for them
    // A header naming a newest time but no stored value yet: that time again would overwrite
    // record 9; time 0 "again" the same.
    QByteArray vorher = DateiMit({});
    SatzSetzen(vorher, 2, kT, 9.0);
    schreiben(Datei(), vorher);
    EXPECT_EQ(anhaengen(kT, 99.0), -2);
    EXPECT_EQ(anhaengen(0, 99.0), -2);
    EXPECT_EQ(lesen(Datei()), vorher);
}

TEST_F(RB6SchreibenTest, ueberDieKapazitaetHinausWaechstDieDatei)
{
    // One block: capacity 100, 101 records allocated.
    QList<std::pair<qint32, double>> werte;
    for (int i = 0; i < 91; ++i)
        werte.append({kT + 60 * i, double(i)});
    schreiben(Datei(), DateiMit(werte));         // up to record 100
    ASSERT_EQ(anhaengen(kT + 60 * 91, 91.0), 0); // record 101
    EXPECT_EQ(lesen(Datei()).mid(4 * 12, 12), SatzBytes(101, 0.0));
    EXPECT_EQ(lesen(Datei()).size(), 1212);
    ASSERT_EQ(anhaengen(kT + 60 * 92, 92.0), 0); // record 102: one record more
    const QByteArray nachher = lesen(Datei());
    EXPECT_EQ(nachher.size(), 1224);
    EXPECT_EQ(nachher.mid(4 * 12, 12), SatzBytes(102, 0.0));
    EXPECT_EQ(nachher.mid(101 * 12, 12), SatzBytes(kT + 60 * 92, 92.0));
    EXPECT_EQ(nachher.mid(12, 12), SatzBytes(kT + 60 * 92, 102.0));
}

TEST_F(RB6SchreibenTest, misslungenesSchreibenLaesstNichtsHalbes)
{
    const QByteArray vorher = DateiMit({{kT, 1.0}});
    // Write that fails, time -> status: append (value, then header), overwrite.
    const std::tuple<int, qint32, int> faelle[] = {{0, kT + 60, -3}, {1, kT + 60, -3}, {0, kT, -4}};
    for (const auto& [schreibfehler, tm, status] : faelle) {
        schreiben(Datei(), vorher);
        Wertdatei::schreibfehlerNach(schreibfehler);
        EXPECT_EQ(anhaengen(tm, 2.0), status);
        EXPECT_FALSE(FehlerText.isEmpty());
        // The file still ends at the old value.
        EXPECT_EQ(lesen(Datei()).left(9 * 12), vorher.left(9 * 12)) << schreibfehler;
        EXPECT_EQ(lesen(Datei()).mid(9 * 12, 12), vorher.mid(9 * 12, 12));
    }
    // A creation that fails (header, extending) leaves no file behind.
    QFile::remove(pfad(Datei()));
    Wertdatei::schreibfehlerNach(0);
    EXPECT_EQ(anhaengen(kT, 2.0), -1);
    const std::pair<int, int> anlegen[] = {{0, -4}, {1, -2}};
    for (const auto& [schreibfehler, status] : anlegen) {
        Wertdatei::schreibfehlerNach(schreibfehler);
        EXPECT_EQ(RB6_DateiAnlegen(DBPath, 1234, 1, 1, 1, 1, 0, 0), status);
        EXPECT_FALSE(FehlerText.isEmpty());
    }
    EXPECT_FALSE(vorhanden(Datei()));
}

} // namespace
