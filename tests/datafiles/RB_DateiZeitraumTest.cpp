#include "IntervalldateiTest.h"

#include "log/Log.h"

namespace {

class RB_DateiZeitraumTest : public IntervalldateiTest
{
protected:
    struct Ergebnis
    {
        int status = 99;
        RB_Kopf kopf;
        UnixZeit neu = -7;
        UnixZeit alt = -7;
    };

    Ergebnis zeitraum15p(const QString& name)
    {
        Ergebnis e;
        e.status = RB_DateiZeitraum15p(name, e.kopf, e.neu, e.alt);
        return e;
    }

    Ergebnis zeitraum(const QString& name)
    {
        Ergebnis e;
        e.status = RB_DateiZeitraum(name, e.kopf, e.neu, e.alt);
        return e;
    }
};

TEST_F(RB_DateiZeitraumTest, neueDateiReichtVonDerStartzeitBisZurStartzeit)
{
    const Ergebnis e = zeitraum15p(neue15p(1));
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(e.neu, m_start);
    EXPECT_EQ(e.alt, m_start);
    EXPECT_EQ(e.kopf.h[0], 96);
    EXPECT_EQ(e.kopf.h[9], 12);
}

TEST_F(RB_DateiZeitraumTest, vorDemUmlaufIstSlotEinsDerAelteste)
{
    QByteArray d = NeueIntervallBytes(96, 3, 0, m_start, 0);
    for (int k = 1; k <= 5; ++k)
        SaetzeSetzen(d, Slot15p(k), {m_start + 900 * k, 900, k});
    SaetzeSetzen(d, 2, {5});
    schreiben("db/00001234.15p", d);
    const Ergebnis e = zeitraum15p("db\\00001234.15p");
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(e.neu, m_start + 4500);
    EXPECT_EQ(e.alt, m_start + 900);
    EXPECT_EQ(e.kopf.h[2], 0); // slot 0 is still empty
}

TEST_F(RB_DateiZeitraumTest, nachDemUmlaufIstDerSlotNachDemLetztenDerAelteste)
{
    neue15p(1);
    QList<RB_Zeile> zeilen;
    for (int i = 1; i <= 100; ++i)
        zeilen << RB_Zeile{double(m_start + 900 * i), 900, double(i)};
    ASSERT_EQ(RB_WerteSchreiben("db\\00001234.15p", zeilen, false), 0);
    // Row 100 sits in slot 4; the oldest row still held is row 5 in slot 5.
    const Ergebnis e = zeitraum15p("db\\00001234.15p");
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(e.kopf.h[1], 4);
    EXPECT_EQ(e.neu, m_start + 900 * 100);
    EXPECT_EQ(e.alt, m_start + 900 * 5);
}

TEST_F(RB_DateiZeitraumTest, letzterSlotDesRingsNimmtSlotEinsAlsAeltesten)
{
    neue15p(1);
    QList<RB_Zeile> zeilen;
    for (int i = 1; i <= 95; ++i)
        zeilen << RB_Zeile{double(m_start + 900 * i), 900, double(i)};
    ASSERT_EQ(RB_WerteSchreiben("db\\00001234.15p", zeilen, false), 0);
    const Ergebnis e = zeitraum15p("db\\00001234.15p");
    EXPECT_EQ(e.kopf.h[1], 95);
    EXPECT_EQ(e.neu, m_start + 900 * 95);
    EXPECT_EQ(e.alt, m_start + 900);
}

TEST_F(RB_DateiZeitraumTest, leererFolgeslotNimmtSlotNullWennBeschrieben)
{
    QByteArray d = NeueIntervallBytes(96, 3, 0, m_start, 0);
    SaetzeSetzen(d, Slot15p(0), {m_start + 100, 900, 1});
    SaetzeSetzen(d, Slot15p(3), {m_start + 300, 900, 1});
    SaetzeSetzen(d, 2, {3});
    schreiben("db/00001234.15p", d);
    const Ergebnis e = zeitraum15p("db\\00001234.15p");
    EXPECT_EQ(e.neu, m_start + 300);
    EXPECT_EQ(e.alt, m_start + 100);
    EXPECT_EQ(e.kopf.h[2], 1);
    EXPECT_EQ(lesen("db/00001234.15p"), d); // h2 is changed in the copy only
}

TEST_F(RB_DateiZeitraumTest, intervalldateiReichtUeberAlleSlotsZurueck)
{
    schreiben("daten/S0003/z02a0015.dat", NeueIntervallBytes(192, 1, 15, m_start, 0));
    const Ergebnis e = zeitraum("daten\\S0003\\z02a0015.dat");
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(e.neu, m_start);
    EXPECT_EQ(e.alt, m_start - 191 * 15 * 60);
}

TEST_F(RB_DateiZeitraumTest, aeltesteZeitFaelltNichtVor1970)
{
    const qint32 frueh = 3600;
    schreiben("daten/S0003/z02a0015.dat", NeueIntervallBytes(192, 1, 15, frueh, 0));
    const Ergebnis e = zeitraum("daten\\S0003\\z02a0015.dat");
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(e.neu, frueh);
    EXPECT_EQ(e.alt, 0);
}

TEST_F(RB_DateiZeitraumTest, fuenfzehnPImNamenGehtAnDenFuenfzehnMinutenLeser)
{
    QByteArray d = NeueIntervallBytes(96, 3, 0, m_start, 0);
    SaetzeSetzen(d, Slot15p(1), {m_start + 900, 900, 1});
    SaetzeSetzen(d, 2, {1});
    schreiben("db/00001234.15P", d);
    const Ergebnis e = zeitraum("db\\00001234.15P");
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(e.neu, m_start + 900); // from the slot, not from the header's date
}

TEST_F(RB_DateiZeitraumTest, fuenfzehnPImOrdnernamenZaehltNicht)
{
    QByteArray d = NeueIntervallBytes(96, 1, 15, m_start, 0);
    SaetzeSetzen(d, 17, {m_start + 900});
    schreiben("daten15p/z02a0015.dat", d);
    const Ergebnis e = zeitraum("daten15p\\z02a0015.dat");
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(e.neu, m_start); // the header's date: read as an interval file
}

TEST_F(RB_DateiZeitraumTest, fehlendeDateiWirdNichtAngelegt)
{
    EXPECT_EQ(zeitraum15p("db\\00009999.15p").status, -1);
    EXPECT_EQ(FehlerText, "Datei existiert nicht!");
    EXPECT_EQ(zeitraum("daten\\S0001\\z01a0015.dat").status, -1);
    EXPECT_EQ(FehlerText, "Datei nicht gefunden! daten\\S0001\\z01a0015.dat");
    EXPECT_FALSE(QFileInfo::exists(pfad("db/00009999.15p")));
    EXPECT_FALSE(QFileInfo::exists(pfad("daten/S0001")));
    EXPECT_EQ(m_meldungen.beeps, 0);
}

TEST_F(RB_DateiZeitraumTest, leererNameGibtMinusEins)
{
    EXPECT_EQ(zeitraum("").status, -1);
    EXPECT_EQ(zeitraum15p("").status, -1);
}

TEST_F(RB_DateiZeitraumTest, leereDateiWirdGeloescht)
{
    schreiben("db/00001234.15p", "");
    schreiben("daten/S0001/z01a0015.dat", "");
    EXPECT_EQ(zeitraum15p("db\\00001234.15p").status, -1);
    EXPECT_EQ(FehlerText, "Datei existiert nicht!");
    EXPECT_EQ(zeitraum("daten\\S0001\\z01a0015.dat").status, -1);
    EXPECT_EQ(FehlerText, "Datei nicht gefunden! daten\\S0001\\z01a0015.dat");
    EXPECT_FALSE(QFileInfo::exists(pfad("db/00001234.15p")));
    EXPECT_FALSE(QFileInfo::exists(pfad("daten/S0001/z01a0015.dat")));
    EXPECT_EQ(BelegteDateinummern(), 0);
}

TEST_F(RB_DateiZeitraumTest, ungueltigerKopfGibtMinusEinsUndBleibtUnveraendert)
{
    QByteArray d = NeueIntervallBytes(96, 3, 0, m_start, 0);
    SaetzeSetzen(d, 10, {16});
    schreiben("db/00001234.15p", d);
    const Ergebnis e = zeitraum15p("db\\00001234.15p");
    EXPECT_EQ(e.status, -1);
    EXPECT_EQ(e.neu, -7);
    EXPECT_TRUE(FehlerText.startsWith("Dateikopf ungültig"));
    EXPECT_EQ(m_meldungen.beeps, 1);
    EXPECT_EQ(lesen("db/00001234.15p"), d);
    EXPECT_TRUE(lesen("db/261205ed.log").contains("00001234.15p"));
}

} // namespace
