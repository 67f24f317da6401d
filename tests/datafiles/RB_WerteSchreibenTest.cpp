#include "IntervalldateiTest.h"

#include "log/Log.h"

#include <QFile>
#include <QProcess>

#include <limits>

namespace {

class RB_WerteSchreibenTest : public IntervalldateiTest
{
protected:
    const QString m_name = QStringLiteral("db\\00001234.15p");

    QByteArray datei() const { return lesen("db/00001234.15p"); }

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
    const qint32 t1 = m_start + 900;
    const qint32 t2 = m_start + 1800;
    EXPECT_EQ(RB_WerteSchreiben(m_name, {{double(t1), 900, 12.5}, {double(t2), 0, 13.5}}, false),
              0);

    QByteArray erwartet = NeueIntervallBytes(96, 3, 0, m_start, 500);
    // First row into slot 1 (h1 was 0); seconds 0 becomes the time since the row before.
    SaetzeSetzen(erwartet, Slot15p(1), {t1, 900, 12});
    SaetzeSetzen(erwartet, Slot15p(2), {t2, 900, 14});
    // h1 = 2, h2 = 2 + 513 reflected at 96 -> 1, date of t2 = 05.12.2026 00:30:00,
    // h11 keeps the extra number, h12 = t2.
    SaetzeSetzen(erwartet, 1, {96, 2, 1, 5, 12, 2026, 0, 30, 0, 12, 0, 500, t2});
    EXPECT_EQ(datei(), erwartet);
    EXPECT_EQ(BelegteDateinummern(), 0);
}

TEST_F(RB_WerteSchreibenTest, sekundenNullZaehlenAbDerLetztenZeitDesKopfs)
{
    neue15p(1);
    const qint32 t1 = m_start + 900;
    ASSERT_EQ(RB_WerteSchreiben(m_name, {{double(t1), 900, 1}}, false), 0);
    ASSERT_EQ(RB_WerteSchreiben(m_name, {{double(t1 + 600), 0, 2}}, false), 0);
    EXPECT_EQ(datei().mid((Slot15p(2) - 1) * 4, 12), Le32(t1 + 600) + Le32(600) + Le32(2));
}

TEST_F(RB_WerteSchreibenTest, ringBeginntNachDemLetztenSlotWiederBeiNull)
{
    neue15p(1);
    QList<RB_Zeile> zeilen;
    for (int i = 1; i <= 97; ++i)
        zeilen << RB_Zeile{double(m_start + 900 * i), 900, double(i)};
    EXPECT_EQ(RB_WerteSchreiben(m_name, zeilen, false), 0);

    const QByteArray d = datei();
    // Rows 1 to 95 fill slots 1 to 95, row 96 wraps to slot 0, row 97 overwrites slot 1.
    EXPECT_EQ(d.mid((Slot15p(95) - 1) * 4, 12), Le32(m_start + 900 * 95) + Le32(900) + Le32(95));
    EXPECT_EQ(d.mid((Slot15p(0) - 1) * 4, 12), Le32(m_start + 900 * 96) + Le32(900) + Le32(96));
    EXPECT_EQ(d.mid((Slot15p(1) - 1) * 4, 12), Le32(m_start + 900 * 97) + Le32(900) + Le32(97));
    EXPECT_EQ(d.mid(4, 8), Le32(1) + Le32(1)); // h1 = 1, h2 = 1
    EXPECT_EQ(d.size(), 1216);
}

TEST_F(RB_WerteSchreibenTest, nachGenauEinemUmlaufIstSlotNullDerLetzte)
{
    neue15p(1);
    QList<RB_Zeile> zeilen;
    for (int i = 1; i <= 96; ++i)
        zeilen << RB_Zeile{double(m_start + 900 * i), 900, double(i)};
    EXPECT_EQ(RB_WerteSchreiben(m_name, zeilen, false), 0);
    // h1 = 0 and N = 96: h2 = 2 * 96 - 513 is below 1, so 1.
    EXPECT_EQ(datei().mid(4, 8), Le32(0) + Le32(1));
}

struct Spiegelfall
{
    qint32 h1;
    qint32 n;
    qint32 h2;
};

TEST_F(RB_WerteSchreibenTest, h2FolgtH1GespiegeltAmRingende)
{
    const Spiegelfall faelle[] = {
        {0, 96, 1},       {95, 96, 1},      {0, 1000, 513},  {487, 1000, 1000},
        {500, 1000, 987}, {999, 1000, 488}, {0, 96000, 513}, {95999, 96000, 95488},
    };
    for (const Spiegelfall& f : faelle)
        EXPECT_EQ(RB_KopfSpiegelindex(f.h1, f.n), f.h2) << f.h1 << " " << f.n;
}

TEST_F(RB_WerteSchreibenTest, differenzUeberDenZaehlerumlaufBeiEinerMillion)
{
    neue15p(1, 0);
    const qint32 t1 = m_start + 900;
    const qint32 t2 = m_start + 1800;
    EXPECT_EQ(RB_WerteSchreiben(m_name, {{double(t1), 900, 999990}}, true), 0);
    EXPECT_EQ(RB_WerteSchreiben(m_name, {{double(t2), 900, 10}}, true), 0);
    const QByteArray d = datei();
    // Without a last reading the first difference is 0 and the reading becomes the last.
    EXPECT_EQ(d.mid((Slot15p(1) - 1) * 4, 12), Le32(t1) + Le32(900) + Le32(0));
    EXPECT_EQ(d.mid((Slot15p(2) - 1) * 4, 12), Le32(t2) + Le32(900) + Le32(20));
    EXPECT_EQ(d.mid(44, 8), Le32(10) + Le32(t2)); // h11 = 10, h12 = t2
}

TEST_F(RB_WerteSchreibenTest, differenzZumZaehlerstandAusDemKopf)
{
    neue15p(1, 1000);
    const qint32 t1 = m_start + 900;
    EXPECT_EQ(
        RB_WerteSchreiben(m_name, {{double(t1), 900, 1000}, {double(t1 + 900), 900, 1234}}, true),
        0);
    const QByteArray d = datei();
    EXPECT_EQ(d.mid((Slot15p(1) - 1) * 4 + 8, 4), Le32(0));
    EXPECT_EQ(d.mid((Slot15p(2) - 1) * 4 + 8, 4), Le32(234));
    EXPECT_EQ(d.mid(44, 4), Le32(1234));
}

TEST_F(RB_WerteSchreibenTest, ohneDifferenzBleibtDerZaehlerstandImKopf)
{
    neue15p(1, 777);
    EXPECT_EQ(RB_WerteSchreiben(m_name, {{double(m_start + 900), 900, 5}}, false), 0);
    EXPECT_EQ(datei().mid(44, 4), Le32(777));
}

TEST_F(RB_WerteSchreibenTest, zeilenNichtNachDerLetztenZeitWerdenUebersprungen)
{
    neue15p(1);
    const qint32 t = m_start + 900;
    ASSERT_EQ(RB_WerteSchreiben(m_name, {{double(t), 900, 1}}, false), 0);
    // Older, equal and time 0 in the first three rows are skipped; the newer row is stored
    // in the next slot; a row older than the one stored just before it is skipped as well.
    EXPECT_EQ(RB_WerteSchreiben(m_name,
                                {{double(t - 900), 900, 7},
                                 {double(t), 900, 8},
                                 {0, 900, 9},
                                 {double(t + 900), 900, 10},
                                 {double(t + 450), 900, 11}},
                                false),
              0);
    const QByteArray d = datei();
    EXPECT_EQ(d.mid((Slot15p(2) - 1) * 4, 12), Le32(t + 900) + Le32(900) + Le32(10));
    EXPECT_EQ(d.mid((Slot15p(3) - 1) * 4, 12), QByteArray(12, '\0'));
    EXPECT_EQ(d.mid(4, 4), Le32(2));
}

TEST_F(RB_WerteSchreibenTest, zeitNullAbDerViertenZeileBeendetDieZeilen)
{
    neue15p(1);
    const qint32 t = m_start + 900;
    EXPECT_EQ(RB_WerteSchreiben(m_name,
                                {{double(t), 900, 1},
                                 {double(t + 900), 900, 2},
                                 {double(t + 1800), 900, 3},
                                 {0, 0, 0},
                                 {double(t + 2700), 900, 4}},
                                false),
              0);
    EXPECT_EQ(datei().mid(4, 4), Le32(3));
    EXPECT_EQ(datei().mid((Slot15p(4) - 1) * 4, 12), QByteArray(12, '\0'));
}

TEST_F(RB_WerteSchreibenTest, alleZeilenUebersprungenLaesstDenKopfUnveraendert)
{
    neue15p(1, 321);
    // A new file: its start time stays in the header, h2 and h12 stay 0.
    unveraendert({{double(m_start), 900, 2}, {double(m_start - 900), 900, 3}}, false, 0);
    ASSERT_EQ(RB_WerteSchreiben(m_name, {{double(m_start + 900), 900, 1}}, false), 0);
    unveraendert({{double(m_start), 900, 2}, {double(m_start + 900), 900, 3}}, true, 0);
    unveraendert({}, false, 0);
}

TEST_F(RB_WerteSchreibenTest, zahlAusserhalb32BitSchreibtNichts)
{
    neue15p(1);
    const double t = m_start + 900;
    unveraendert({{t, 900, 1}, {t + 900, 900, 3e9}}, false, -3);
    EXPECT_FALSE(FehlerText.isEmpty());
    unveraendert({{t, 900, 1}, {t + 900, -3e9, 1}}, false, -3);
    unveraendert({{t, 900, std::numeric_limits<double>::quiet_NaN()}}, false, -3);
    unveraendert({{t, 900, 1}, {t + 900, 900, 2.5e9}}, true, -3);
}

TEST_F(RB_WerteSchreibenTest, zeitenVor1970UndNach2038SchreibenNichts)
{
    neue15p(1);
    const double t = m_start + 900;
    unveraendert({{t, 900, 1}, {-900, 900, 2}}, false, -3);
    unveraendert({{t, 900, 1}, {2147483648.0, 900, 2}}, false, -3);
    unveraendert({{std::numeric_limits<double>::infinity(), 900, 2}}, false, -3);
    EXPECT_FALSE(FehlerText.isEmpty());
}

TEST_F(RB_WerteSchreibenTest, fallenderZaehlerUeberSechsStellenSchreibtNichts)
{
    neue15p(1, 1500000);
    unveraendert({{double(m_start + 900), 900, 10}}, true, -3);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(RB_WerteSchreiben(m_name, {{double(m_start + 900), 900, 1600000}}, true), 0);
    EXPECT_EQ(datei().mid((Slot15p(1) - 1) * 4 + 8, 4), Le32(100000));
}

TEST_F(RB_WerteSchreibenTest, ganzeZahlenRundenHalbeZurGeradenZahl)
{
    neue15p(1);
    EXPECT_EQ(RB_WerteSchreiben(
                  m_name, {{m_start + 900.4, 900, 2.5}, {m_start + 1800.0, 899.5, 3.5}}, false),
              0);
    const QByteArray d = datei();
    EXPECT_EQ(d.mid((Slot15p(1) - 1) * 4, 12), Le32(m_start + 900) + Le32(900) + Le32(2));
    EXPECT_EQ(d.mid((Slot15p(2) - 1) * 4, 12), Le32(m_start + 1800) + Le32(900) + Le32(4));
}

TEST_F(RB_WerteSchreibenTest, fehlendeDateiWirdNichtAngelegt)
{
    EXPECT_EQ(RB_WerteSchreiben(m_name, {{double(m_start + 900), 900, 1}}, false), -1);
    EXPECT_EQ(FehlerText, "Datei existiert nicht!");
    EXPECT_FALSE(QFileInfo::exists(pfad("db/00001234.15p")));
}

TEST_F(RB_WerteSchreibenTest, leereDateiWirdEntferntUndNichtsGeschrieben)
{
    schreiben("db/00001234.15p", "");
    EXPECT_EQ(RB_WerteSchreiben(m_name, {{double(m_start + 900), 900, 1}}, false), -1);
    EXPECT_FALSE(QFileInfo::exists(pfad("db/00001234.15p")));
}

TEST_F(RB_WerteSchreibenTest, kaputteDateienBleibenByteFuerByteErhalten)
{
    QByteArray gut = NeueIntervallBytes(96, 3, 0, m_start, 0);
    SaetzeSetzen(gut, Slot15p(1), {m_start + 900, 900, 1});
    SaetzeSetzen(gut, 2, {1});

    QByteArray abgeschnitten = gut.left(1000);
    QByteArray zuLang = gut + QByteArray(12, '\0');
    QByteArray kurz = gut.left(40);
    QByteArray zufall(1216, '\0');
    quint32 x = 12345;
    for (char& c : zufall) {
        x = x * 1103515245u + 12345u;
        c = char(x >> 24);
    }
    QByteArray h1DraussenDatei = gut;
    SaetzeSetzen(h1DraussenDatei, 2, {96});
    QByteArray ohneDatum = gut;
    SaetzeSetzen(ohneDatum, 4, {31, 2, 2026});
    QByteArray falscheSlotgroesse = gut;
    SaetzeSetzen(falscheSlotgroesse, 10, {8});
    QByteArray nullSlots = gut;
    SaetzeSetzen(nullSlots, 1, {0});

    const QByteArray faelle[] = {
        abgeschnitten,      zuLang,   kurz, zufall, h1DraussenDatei, ohneDatum,
        falscheSlotgroesse, nullSlots};
    for (const QByteArray& bytes : faelle) {
        schreiben("db/00001234.15p", bytes);
        EXPECT_EQ(RB_WerteSchreiben(m_name, {{double(m_start + 1800), 900, 2}}, false), -1);
        EXPECT_FALSE(FehlerText.isEmpty());
        EXPECT_EQ(datei(), bytes);
    }
}

TEST_F(RB_WerteSchreibenTest, dateiMitEinerZahlJeSlotWirdNichtBeschrieben)
{
    schreiben("daten/S0003/z02a0015.dat", NeueIntervallBytes(96, 1, 15, m_start, 0));
    const QByteArray vorher = lesen("daten/S0003/z02a0015.dat");
    EXPECT_EQ(
        RB_WerteSchreiben("daten\\S0003\\z02a0015.dat", {{double(m_start + 900), 900, 1}}, false),
        -3);
    EXPECT_EQ(lesen("daten/S0003/z02a0015.dat"), vorher);
}

TEST_F(RB_WerteSchreibenTest, dateiOhne15pImNamenNimmtDieZeitAusDemKopf)
{
    schreiben("daten/Z7/00001234001.zep", NeueIntervallBytes(96, 3, 0, m_start, 0));
    const QString name = QStringLiteral("daten\\Z7\\00001234001.zep");
    EXPECT_EQ(RB_WerteSchreiben(name, {{double(m_start + 900), 900, 1}}, false), 0);
    // The header's date is the newest time now: the same row again is skipped.
    const QByteArray nachher = lesen("daten/Z7/00001234001.zep");
    EXPECT_EQ(RB_WerteSchreiben(name, {{double(m_start + 900), 900, 1}}, false), 0);
    EXPECT_EQ(lesen("daten/Z7/00001234001.zep"), nachher);
    EXPECT_EQ(nachher.mid(12, 24), Le32(5) + Le32(12) + Le32(2026) + Le32(0) + Le32(15) + Le32(0));
}

// Makes a file unwritable: by its permissions, or for a user they do not stop (root) by the
// immutable attribute, which is taken away again at the end.
class Schreibschutz
{
public:
    explicit Schreibschutz(const QString& pfad) : m_pfad(pfad)
    {
        QFile::setPermissions(m_pfad, QFileDevice::ReadOwner);
        if (!beschreibbar())
            return;
        m_unveraenderlich = QProcess::execute("chattr", {"+i", m_pfad}) == 0;
    }
    ~Schreibschutz()
    {
        if (m_unveraenderlich)
            QProcess::execute("chattr", {"-i", m_pfad});
    }
    bool beschreibbar() const { return QFile(m_pfad).open(QIODevice::ReadWrite); }

private:
    QString m_pfad;
    bool m_unveraenderlich = false;
};

TEST_F(RB_WerteSchreibenTest, schreibgeschuetzteDateiGibtMinusZwei)
{
    neue15p(1);
    const Schreibschutz schutz(pfad("db/00001234.15p"));
    if (schutz.beschreibbar())
        GTEST_SKIP() << "the file cannot be made unwritable here";
    unveraendert({{double(m_start + 900), 900, 1}}, false, -2);
    EXPECT_EQ(FehlerText, "Permission denied");
    EXPECT_EQ(m_meldungen.beeps, 1);
}

} // namespace
