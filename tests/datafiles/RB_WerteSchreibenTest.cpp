#include "DatendateiTest.h"

#include "platform/Cp1252.h"

#include <limits>

namespace {

class RB_WerteSchreibenTest : public DatendateiTest
{
protected:
    const QString m_name = QStringLiteral("db\\00001234.15p");

    QByteArray datei() const { return lesen("db/00001234.15p"); }
    QByteArray slot(qint64 k) const { return datei().mid((Slot15p(k) - 1) * 4, 12); }
    static QByteArray Slot(qint32 tm, qint32 sekunden, qint32 wert)
    {
        return Le32(tm) + Le32(sekunden) + Le32(wert);
    }

    // Expects the call to leave the file byte for byte as it was.
    void unveraendert(const QList<RB_Zeile>& zeilen, bool differenz, int status)
    {
        const QByteArray vorher = datei();
        EXPECT_EQ(RB_WerteSchreiben(m_name, zeilen, differenz), status);
        EXPECT_EQ(datei(), vorher);
    }
};

TEST_F(RB_WerteSchreibenTest, zeilenUndKopfNachDemSchreiben)
{
    neue15p(1, 500);
    const qint32 t1 = m_start + 900, t2 = m_start + 1800, t3 = t2 + 600;
    // Values round half to even; seconds 0 become the time since the row before, in the
    // next call since the header's last time.
    EXPECT_EQ(RB_WerteSchreiben(m_name, {{double(t1), 900, 12.5}, {double(t2), 0, 13.5}}, false),
              0);
    EXPECT_EQ(RB_WerteSchreiben(m_name, {{double(t3), 0, 2}}, false), 0);

    QByteArray erwartet = NeueIntervallBytes(96, 3, 0, m_start, 500);
    // The first row goes into slot 1 (h1 was 0).
    SaetzeSetzen(erwartet, Slot15p(1), {t1, 900, 12});
    SaetzeSetzen(erwartet, Slot15p(2), {t2, 900, 14});
    SaetzeSetzen(erwartet, Slot15p(3), {t3, 600, 2});
    // h1 = 3, h2 = 3 + 513 reflected at 96 -> at least 1, date of t3 = 05.12.2026 00:40:00,
    // h11 keeps the extra number, h12 = t3.
    SaetzeSetzen(erwartet, 1, {96, 3, 1, 5, 12, 2026, 0, 40, 0, 12, 0, 500, t3});
    EXPECT_EQ(datei(), erwartet);
    EXPECT_EQ(BelegteDateinummern(), 0);
}

TEST_F(RB_WerteSchreibenTest, ringBeginntNachDemLetztenSlotWiederBeiNull)
{
    neue15p(1);
    const auto t = [this](int i) { return m_start + 900 * i; };
    QList<RB_Zeile> zeilen;
    for (int i = 1; i <= 97; ++i)
        zeilen << RB_Zeile{double(t(i)), 900, double(i)};
    EXPECT_EQ(RB_WerteSchreiben(m_name, zeilen, false), 0);

    // Rows 1 to 95 fill slots 1 to 95, row 96 wraps to slot 0, row 97 overwrites slot 1.
    EXPECT_EQ(slot(95), Slot(t(95), 900, 95));
    EXPECT_EQ(slot(0), Slot(t(96), 900, 96));
    EXPECT_EQ(slot(1), Slot(t(97), 900, 97));
    EXPECT_EQ(datei().mid(4, 8), Le32(1) + Le32(1)); // h1 = 1, h2 = 1
    EXPECT_EQ(datei().size(), 1216);
    // The oldest row still held is row 2, in the slot after the one written last.
    RB_Kopf kopf;
    UnixZeit neu = 0, alt = 0;
    EXPECT_EQ(RB_DateiZeitraum15p(m_name, kopf, neu, alt), 0);
    EXPECT_EQ(neu, t(97));
    EXPECT_EQ(alt, t(2));
    // h2 follows h1 + 513, reflected at the ring's end.
    EXPECT_EQ(RB_KopfSpiegelindex(487, 1000), 1000);
    EXPECT_EQ(RB_KopfSpiegelindex(999, 1000), 488);
}

TEST_F(RB_WerteSchreibenTest, differenzUeberDenZaehlerumlaufBeiEinerMillion)
{
    neue15p(1, 0);
    const qint32 t1 = m_start + 900, t2 = m_start + 1800;
    EXPECT_EQ(RB_WerteSchreiben(m_name, {{double(t1), 900, 999990}}, true), 0);
    EXPECT_EQ(RB_WerteSchreiben(m_name, {{double(t2), 900, 10}}, true), 0);
    // Without a last reading the first difference is 0 and the reading becomes the last.
    EXPECT_EQ(slot(1), Slot(t1, 900, 0));
    EXPECT_EQ(slot(2), Slot(t2, 900, 20));
    EXPECT_EQ(datei().mid(44, 8), Le32(10) + Le32(t2)); // h11 = 10, h12 = t2
    // Outside difference mode the reading in h11 stays.
    EXPECT_EQ(RB_WerteSchreiben(m_name, {{double(t2 + 900), 900, 5}}, false), 0);
    EXPECT_EQ(datei().mid(44, 4), Le32(10));
}

TEST_F(RB_WerteSchreibenTest, zaehlersprungNachUntenGibtDifferenzNullUndDieDateiLaeuftWeiter)
{
    // Last reading in h11, then one reading a call; the differences stored and the jumps logged.
    struct Fall
    {
        qint32 zaehlerstand;
        QList<qint32> lesungen;
        QList<qint32> differenzen;
        QStringList spruenge;
    };
    const Fall faelle[] = {
        {1500000, {100, 200, 1499999}, {0, 100, 1499799}, {"1500000 auf 100"}},
        {0, {5000, 99999999, 5010, 5020}, {0, 99994999, 0, 10}, {"99999999 auf 5010"}},
        // The wrap formula gives 0, then a rise, then -1: the edges of 0 to 999999.
        {1500000, {500000, 1499999, 499998}, {0, 999999, 0}, {"1499999 auf 499998"}},
    };
    for (const Fall& f : faelle) {
        QFile::remove(pfad("db/261205ed.log"));
        neue15p(1, f.zaehlerstand);
        QByteArray erwartet = NeueIntervallBytes(96, 3, 0, m_start, f.zaehlerstand);
        qint32 t = m_start;
        for (qsizetype i = 0; i < f.lesungen.size(); ++i) {
            t += 900;
            EXPECT_EQ(RB_WerteSchreiben(m_name, {{double(t), 900, double(f.lesungen[i])}}, true), 0)
                << f.lesungen[i];
            SaetzeSetzen(erwartet, Slot15p(i + 1), {t, 900, f.differenzen[i]});
        }
        const QDateTime d = QDateTime::fromSecsSinceEpoch(t, Qt::UTC);
        SaetzeSetzen(erwartet, 1,
                     {96, qint32(f.lesungen.size()), 1, 5, 12, 2026, d.time().hour(),
                      d.time().minute(), 0, 12, 0, f.lesungen.last(), t});
        EXPECT_TRUE(GleicheBytes(datei(), erwartet)) << f.zaehlerstand;
        const QString log = Cp1252ZuText(lesen("db/261205ed.log"));
        EXPECT_EQ(log.count(QStringLiteral("Zählerstand springt von ")), f.spruenge.size())
            << qPrintable(log);
        for (const QString& sprung : f.spruenge)
            EXPECT_TRUE(log.contains(QStringLiteral("Zählerstand springt von ") + sprung))
                << qPrintable(log);
    }
}

TEST_F(RB_WerteSchreibenTest, nurZeilenNachDerLetztenZeitWerdenGespeichert)
{
    neue15p(1);
    const qint32 t = m_start + 900;
    ASSERT_EQ(RB_WerteSchreiben(m_name, {{double(t), 900, 1}}, false), 0);
    // Older, equal and time 0 are skipped; a row older than the one stored before it as well.
    EXPECT_EQ(RB_WerteSchreiben(m_name,
                                {{double(t - 900), 900, 7},
                                 {double(t), 900, 8},
                                 {0, 900, 9},
                                 {double(t + 900), 900, 10},
                                 {double(t + 450), 900, 11}},
                                false),
              0);
    EXPECT_EQ(slot(2), Slot(t + 900, 900, 10));
    EXPECT_EQ(slot(3), QByteArray(12, '\0'));
}

TEST_F(RB_WerteSchreibenTest, ohneGespeicherteZeileBleibtDerKopf)
{
    neue15p(1, 321);
    // A new file keeps its start time in the header, and h2 and h12 stay 0.
    unveraendert({{double(m_start), 900, 2}, {double(m_start - 900), 900, 3}}, false, 0);
    ASSERT_EQ(RB_WerteSchreiben(m_name, {{double(m_start + 900), 900, 1}}, false), 0);
    unveraendert({{double(m_start), 900, 2}, {double(m_start + 900), 900, 3}}, true, 0);
    unveraendert({}, false, 0);
}

TEST_F(RB_WerteSchreibenTest, zahlenAusserhalbDesBereichsSchreibenNichts)
{
    neue15p(1);
    const double t = m_start + 900;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<QList<RB_Zeile>, bool> faelle[] = {
        {{{t, 900, 1}, {t + 900, 900, 3e9}}, false},    // value beyond 32 bits
        {{{t, 900, 1}, {t + 900, -3e9, 1}}, false},     // seconds beyond 32 bits
        {{{t, 900, nan}}, false},                       // no number
        {{{t, 900, 1}, {-900, 900, 2}}, false},         // before 1970
        {{{t, 900, 1}, {2147483648.0, 900, 2}}, false}, // after 2038
    };
    for (const auto& [zeilen, differenz] : faelle) {
        FehlerText.clear();
        unveraendert(zeilen, differenz, -3);
        EXPECT_FALSE(FehlerText.isEmpty());
    }
    // A file of one number a slot is no 15-minute file.
    const QByteArray dat = NeueIntervallBytes(96, 1, 15, m_start, 0);
    schreiben("daten/S0003/z02a0015.dat", dat);
    EXPECT_EQ(RB_WerteSchreiben("daten\\S0003\\z02a0015.dat", {{t, 900, 1}}, false), -3);
    EXPECT_EQ(lesen("daten/S0003/z02a0015.dat"), dat);
}

} // namespace
