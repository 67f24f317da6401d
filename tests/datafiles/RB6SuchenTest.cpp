#include "WertdateiTest.h"

#include <QRandomGenerator>

namespace {

struct Bereichsfall
{
    UnixZeit gesucht;
    qint32 fenster;
    UnixZeit zeit;
    bool drin;
    RB6_Richtung richtung;
};

constexpr auto kAuf = RB6_Richtung::Aufwaerts;
constexpr auto kAb = RB6_Richtung::Abwaerts;
constexpr qint32 kMax = 2'147'483'647;

const Bereichsfall kBereichsfaelle[] = {
    // Positive window: [gesucht, gesucht + fenster].
    {100, 10, 100, true, kAuf},
    {100, 10, 110, true, kAb},
    {100, 10, 111, false, kAb},
    {100, 10, 99, false, kAuf},
    // Negative window: [gesucht + fenster, gesucht].
    {100, -10, 90, true, kAuf},
    {100, -10, 89, false, kAuf},
    {100, -10, 100, true, kAuf},
    {100, -10, 101, false, kAb},
    // Window 0: the time itself.
    {100, 0, 100, true, kAuf},
    {100, 0, 101, false, kAb},
    {100, 0, 99, false, kAuf},
    // Window -1 (the end window of an interval of 0): [gesucht - 1, gesucht].
    {100, -1, 99, true, kAuf},
    // No overflow at the ends of the time range.
    {kMax, 10, kMax, true, kAuf},
    {kMax - 5, 10, kMax, true, kAb},
    {-kMax, -10, -kMax, true, kAuf},
};

} // namespace

class RB6ZeitImBereichTest : public ::testing::TestWithParam<Bereichsfall>
{
};

TEST_P(RB6ZeitImBereichTest, fensterUndRichtung)
{
    const Bereichsfall& fall = GetParam();
    RB6_Richtung richtung = fall.richtung == kAuf ? kAb : kAuf;
    EXPECT_EQ(RB6_ZeitImBereich(fall.gesucht, fall.fenster, fall.zeit, richtung), fall.drin);
    EXPECT_EQ(richtung, fall.richtung);
}

INSTANTIATE_TEST_SUITE_P(Faelle, RB6ZeitImBereichTest, ::testing::ValuesIn(kBereichsfaelle));

class RB6SuchenTest : public WertdateiTest
{
protected:
    // A file of the given record times from record 1 on, opened for reading.
    Wertdatei& dateiMitZeiten(const QList<qint32>& zeiten)
    {
        QByteArray bytes;
        for (const qint32 tm : zeiten)
            bytes += SatzBytes(tm, 0.0);
        schreiben("suche.zep", bytes);
        m_datei.emplace(QStringLiteral("suche.zep"));
        EXPECT_TRUE(m_datei->oeffnenLesen());
        Wertdatei::zugriffeZuruecksetzen();
        return *m_datei;
    }

    std::optional<Wertdatei> m_datei;
};

TEST_F(RB6SuchenTest, aufwaertsIstDieMitteVonEinsUndSechsVier)
{
    Wertdatei& datei = dateiMitZeiten({10, 20, 30, 40, 50, 60});
    EXPECT_EQ(RB6_SatzSuchen(datei, 1, 6, 40, 0), 4);
    EXPECT_EQ(Wertdatei::leseZugriffe(), 2); // record 1, then straight to record 4
}

TEST_F(RB6SuchenTest, aufwaertsIstDieMitteVonZweiUndSiebenVier)
{
    Wertdatei& datei = dateiMitZeiten({10, 20, 30, 40, 50, 60, 70});
    EXPECT_EQ(RB6_SatzSuchen(datei, 2, 7, 40, 0), 4);
    EXPECT_EQ(Wertdatei::leseZugriffe(), 2);
}

TEST_F(RB6SuchenTest, abwaertsIstDieMitteVonEinsUndAchtVier)
{
    Wertdatei& datei = dateiMitZeiten({10, 20, 30, 40, 50, 60, 70, 80});
    EXPECT_EQ(RB6_SatzSuchen(datei, 8, 8, 40, 0), 4);
    EXPECT_EQ(Wertdatei::leseZugriffe(), 2);
}

TEST_F(RB6SuchenTest, ersterTrefferImFensterZaehlt)
{
    Wertdatei& datei = dateiMitZeiten({10, 20, 30, 40, 50, 60, 70, 80});
    EXPECT_EQ(RB6_SatzSuchen(datei, 1, 8, 45, -5), 4);  // [40, 45]
    EXPECT_EQ(RB6_SatzSuchen(datei, 1, 8, 45, 5), 5);   // [45, 50]
    EXPECT_EQ(RB6_SatzSuchen(datei, 1, 8, 40, -30), 1); // the first probe is inside already
}

TEST_F(RB6SuchenTest, derSatzNachDerLetztenProbeGewinntWennErNaeherIst)
{
    // Probes 1, 4, 6 and 5 read; the range ends at 5..6 with the probe 6 (even); record 7
    // (61) lies nearer to 58 than the last record read (50, record 5) and is taken.
    Wertdatei& datei = dateiMitZeiten({10, 20, 30, 40, 50, 60, 61, 70});
    EXPECT_EQ(RB6_SatzSuchen(datei, 1, 8, 58, 0), 7);
    EXPECT_EQ(Wertdatei::leseZugriffe(), 5);
    // Not nearer: the last probe stays.
    Wertdatei& zweite = dateiMitZeiten({10, 20, 30, 40, 50, 60, 75, 80});
    EXPECT_EQ(RB6_SatzSuchen(zweite, 1, 8, 58, 0), 6);
}

TEST_F(RB6SuchenTest, liestNieHinterDemLetztenSatz)
{
    // Record 9 would be nearer, but it is not part of the range searched.
    Wertdatei& datei = dateiMitZeiten({10, 20, 30, 40, 50, 60, 70, 80, 99});
    EXPECT_EQ(RB6_SatzSuchen(datei, 1, 8, 98, 0), 8);
    EXPECT_TRUE(datei.fehler().isEmpty());
}

TEST_F(RB6SuchenTest, zeitenVorUndHinterAllenWertenEndenAmRand)
{
    Wertdatei& datei = dateiMitZeiten({10, 20, 30, 40, 50, 60, 70, 80});
    EXPECT_LE(RB6_SatzSuchen(datei, 4, 8, 1, 0), 2);
    EXPECT_EQ(RB6_SatzSuchen(datei, 4, 8, 1000, 0), 8);
}

TEST_F(RB6SuchenTest, volleDateiBrauchtHoechstens25Lesezugriffe)
{
    constexpr qint32 kLetzter = 600'009;
    constexpr qint32 kStart = 1'600'000'000;
    QList<qint32> zeiten = {1, 0, 0, 0, 600'000, 0, 0, 0, 0};
    for (qint32 satz = 10; satz <= kLetzter; ++satz)
        zeiten << kStart + 60 * (satz - 10);
    Wertdatei& datei = dateiMitZeiten(zeiten);
    QRandomGenerator zufall(17);
    for (int i = 0; i < 200; ++i) {
        const qint32 satz = qint32(zufall.bounded(10, kLetzter + 1));
        const qint32 versatz = qint32(zufall.bounded(0, 31));
        Wertdatei::zugriffeZuruecksetzen();
        // The start window [gesucht - 30, gesucht] holds exactly this record.
        EXPECT_EQ(RB6_SatzSuchen(datei, 10, kLetzter, zeiten[satz - 1] + versatz, -30), satz);
        EXPECT_LE(Wertdatei::leseZugriffe(), 25);
        // A time between two values (no hit) ends next to it.
        Wertdatei::zugriffeZuruecksetzen();
        const qint32 gefunden = RB6_SatzSuchen(datei, 10, kLetzter, zeiten[satz - 1] + 31, -30);
        EXPECT_LE(qAbs(gefunden - satz), 2);
        EXPECT_LE(Wertdatei::leseZugriffe(), 25);
    }
}
