#include "DatendateiTest.h"

using RB_DateiZeitraumTest = DatendateiTest;

TEST_F(RB_DateiZeitraumTest, fuenfzehnMinutenDateiVonIhrenSlots)
{
    // Slot k holds time t(k) = start + 900 k + 7; a row of the table lists the slots written.
    const auto t = [this](int k) { return m_start + 900 * k + 7; };
    QList<int> bis95;
    for (int k = 1; k <= 95; ++k)
        bis95 << k;
    const QList<int> bisFuenf = bis95.first(5);
    struct Fall
    {
        qint32 h1;
        QList<int> belegt;
        qint32 neu, alt, h2;
    };
    const Fall faelle[] = {
        {0, {}, m_start, m_start, 0}, // nothing written: the header's date
        {5, bisFuenf, t(5), t(1), 0}, // before the wrap slot 1 is the oldest
        {95, bis95, t(95), t(1), 0},  // the last slot of the ring: slot 1 again
        {3, {0, 3}, t(3), t(0), 1},   // the slot after is empty: slot 0 when written
    };
    for (const Fall& f : faelle) {
        QByteArray d = NeueIntervallBytes(96, 3, 0, m_start, 0);
        for (const int k : f.belegt)
            SaetzeSetzen(d, Slot15p(k), {t(k), 900, k});
        SaetzeSetzen(d, 2, {f.h1});
        schreiben("db/00001234.15p", d);
        RB_Kopf kopf;
        UnixZeit neu = -7, alt = -7;
        EXPECT_EQ(RB_DateiZeitraum15p("db\\00001234.15p", kopf, neu, alt), 0);
        EXPECT_EQ(neu, f.neu) << f.h1;
        EXPECT_EQ(alt, f.alt) << f.h1;
        EXPECT_EQ(kopf.h[2], f.h2) << f.h1;
        EXPECT_EQ(lesen("db/00001234.15p"), d); // h2 is changed in the copy only
    }
}

TEST_F(RB_DateiZeitraumTest, nachDemUmlaufIstDerSlotNachH1DerAelteste)
{
    // Every slot written, slot h1 last: the slot after it (slot 0 after the last slot) holds
    // the oldest time t(0), slot h1 the newest t(95).
    const auto t = [this](int alter) { return m_start + 900 * alter + 7; };
    for (const qint32 h1 : {92, 93, 94, 95, 0, 1, 2}) {
        QByteArray d = NeueIntervallBytes(96, 3, 0, m_start, 0);
        for (int k = 0; k < 96; ++k) {
            const int alter = (k - h1 - 1 + 96) % 96;
            SaetzeSetzen(d, Slot15p(k), {t(alter), 900, alter});
        }
        SaetzeSetzen(d, 2, {h1});
        schreiben("db/00001234.15p", d);
        RB_Kopf kopf;
        UnixZeit neu = -7, alt = -7;
        EXPECT_EQ(RB_DateiZeitraum15p("db\\00001234.15p", kopf, neu, alt), 0);
        EXPECT_EQ(neu, t(95)) << h1;
        EXPECT_EQ(alt, t(0)) << h1;
    }
}

TEST_F(RB_DateiZeitraumTest, andereDateienNachKopfdatumUndIntervall)
{
    RB_Kopf kopf;
    UnixZeit neu = -7, alt = -7;
    // An interval file reaches back over all its slots, not before 1970.
    for (const qint32 start : {m_start, 3600}) {
        schreiben("daten/S0003/z02a0015.dat", NeueIntervallBytes(192, 1, 15, start, 0));
        EXPECT_EQ(RB_DateiZeitraum("daten\\S0003\\z02a0015.dat", kopf, neu, alt), 0);
        EXPECT_EQ(neu, start);
        EXPECT_EQ(alt, qMax(0, start - 191 * 15 * 60));
    }
    // The same bytes with a slot written after the header's date: only a file name with
    // "15p" (not a folder) is read from its slots.
    QByteArray d = NeueIntervallBytes(96, 3, 0, m_start, 0);
    SaetzeSetzen(d, Slot15p(1), {m_start + 900, 900, 1});
    SaetzeSetzen(d, 2, {1});
    schreiben("db/00001234.15P", d);
    schreiben("daten15p/z02a0015.dat", d);
    EXPECT_EQ(RB_DateiZeitraum("db\\00001234.15P", kopf, neu, alt), 0);
    EXPECT_EQ(neu, m_start + 900);
    EXPECT_EQ(RB_DateiZeitraum("daten15p\\z02a0015.dat", kopf, neu, alt), 0);
    EXPECT_EQ(neu, m_start);
}
