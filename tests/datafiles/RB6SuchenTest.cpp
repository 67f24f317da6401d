#include "DatendateiTest.h"

namespace {

TEST(RB6ZeitImBereichTest, fensterUndRichtung)
{
    constexpr auto kAuf = RB6_Richtung::Aufwaerts;
    constexpr auto kAb = RB6_Richtung::Abwaerts;
    constexpr qint32 kMax = 2'147'483'647;
    // Window above 0: [gesucht, gesucht + fenster]; else [gesucht + fenster, gesucht].
    // The direction of the next probe: downwards when the time is later than the wanted one.
    const std::tuple<UnixZeit, qint32, UnixZeit, bool, RB6_Richtung> faelle[] = {
        {100, 10, 100, true, kAuf},      {100, 10, 110, true, kAb},
        {100, 10, 111, false, kAb},      {100, 10, 99, false, kAuf},
        {100, -10, 90, true, kAuf},      {100, -10, 89, false, kAuf},
        {100, -10, 101, false, kAb},     {100, 0, 100, true, kAuf},
        {100, 0, 101, false, kAb},       {100, -1, 99, true, kAuf},
        {kMax - 5, 10, kMax, true, kAb}, // no overflow at the end
        {-kMax, -10, -kMax, true, kAuf},
    };
    for (const auto& [gesucht, fenster, zeit, drin, soll] : faelle) {
        RB6_Richtung richtung = soll == kAuf ? kAb : kAuf;
        EXPECT_EQ(RB6_ZeitImBereich(gesucht, fenster, zeit, richtung), drin) << gesucht << fenster;
        EXPECT_EQ(richtung, soll) << gesucht << " " << fenster << " " << zeit;
    }
}

using RB6SuchenTest = DatendateiTest;

TEST_F(RB6SuchenTest, mitteRundetHalbZurGeradenUndFensterTreffen)
{
    const QList<qint32> acht = {10, 20, 30, 40, 50, 60, 70, 80};
    struct Fall
    {
        QList<qint32> zeiten;
        qint32 erster, letzter, gesucht, fenster, satz, lesezugriffe;
    };
    const Fall faelle[] = {
        // Probe 1, then straight to the midpoint: 1 and 6 give 4, 2 and 7 give 4, 1 and 8
        // (downwards from 8) give 4.
        {acht.first(6), 1, 6, 40, 0, 4, 2},
        {acht.first(7), 2, 7, 40, 0, 4, 2},
        {acht, 8, 8, 40, 0, 4, 2},
        // The first probe inside the window wins.
        {acht, 1, 8, 45, -5, 4, -1},
        {acht, 1, 8, 45, 5, 5, -1},
        {acht, 1, 8, 40, -30, 1, -1},
        // Probes 1, 4, 6 and 5; record 7 (61) lies nearer to 58 than record 5 and is taken.
        {{10, 20, 30, 40, 50, 60, 61, 70}, 1, 8, 58, 0, 7, 5},
        {{10, 20, 30, 40, 50, 60, 75, 80}, 1, 8, 58, 0, 6, -1},
        // Never beyond the last record, even when record 9 would be nearer.
        {acht + QList<qint32>{99}, 1, 8, 98, 0, 8, -1},
        {acht, 4, 8, 1000, 0, 8, -1},
    };
    for (const Fall& f : faelle) {
        QByteArray bytes; // the times from record 1 on
        for (const qint32 tm : f.zeiten)
            bytes += SatzBytes(tm, 0.0);
        schreiben("suche.zep", bytes);
        Wertdatei datei(QStringLiteral("suche.zep"));
        ASSERT_TRUE(datei.oeffnenLesen());
        Wertdatei::zugriffeZuruecksetzen();
        EXPECT_EQ(RB6_SatzSuchen(datei, f.erster, f.letzter, f.gesucht, f.fenster), f.satz)
            << f.erster << " " << f.letzter << " " << f.gesucht;
        EXPECT_TRUE(f.lesezugriffe < 0 || Wertdatei::leseZugriffe() == f.lesezugriffe);
        EXPECT_TRUE(datei.fehler().isEmpty());
    }
}

} // namespace
