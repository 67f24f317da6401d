#include "IntervalldateiTest.h"

#include "log/Log.h"
#include "platform/Warten.h"

#include <QFile>
#include <QTimer>

namespace {

class RB_DateiAnlegenTest : public IntervalldateiTest
{
};

TEST_F(RB_DateiAnlegenTest, neueEintagesdateiHatGenauDieBytesDesAufbaus)
{
    const qint32 start = Sekunden(2026, 12, 5, 8, 15, 30);
    EXPECT_EQ(RB_DateiAnlegen("db\\00001234.15p", start, 1, 4711), 0);

    QByteArray erwartet(1216, '\0');
    // h0 = 96 slots, h1 = h2 = 0, 05.12.2026 08:15:30, h9 = 12, h10 = 0, h11 = 4711.
    SaetzeSetzen(erwartet, 1, {96, 0, 0, 5, 12, 2026, 8, 15, 30, 12, 0, 4711, 0, 0, 0, 0});
    EXPECT_EQ(lesen("db/00001234.15p"), erwartet);
    EXPECT_EQ(BelegteDateinummern(), 0);
}

TEST_F(RB_DateiAnlegenTest, zaehlerdateiMitIntervallHatEineZahlJeSlot)
{
    EXPECT_EQ(RB_DateiAnlegenZaehler(3, 2, 15, m_start, 2, 9), 0);
    EXPECT_EQ(lesen("daten/S0003/z02a0015.dat"), NeueIntervallBytes(192, 1, 15, m_start, 9));
}

TEST_F(RB_DateiAnlegenTest, zaehlerdateiOhneIntervallIstFuenfzehnMinutenDatei)
{
    EXPECT_EQ(RB_DateiAnlegenZaehler(-1, 1234, 0, m_start, 3, 100), 0);
    EXPECT_EQ(lesen("db/00001234.15p"), NeueIntervallBytes(288, 3, 0, m_start, 100));
}

TEST_F(RB_DateiAnlegenTest, intervallOhneGanzeTeilungNimmtNurGanzeSlots)
{
    EXPECT_EQ(RB_DateiAnlegenZaehler(1, 1, 7, m_start, 1, 0), 0);
    EXPECT_EQ(lesen("daten/S0001/z01a0007.dat"), NeueIntervallBytes(205, 1, 7, m_start, 0));
}

struct AbgelehnteAnlage
{
    qint32 intervall;
    qint32 start;
    qint32 tage;
};

TEST_F(RB_DateiAnlegenTest, ungueltigeAngabenLegenNichtsAn)
{
    const AbgelehnteAnlage faelle[] = {
        {15, Sekunden(2026, 1, 1), 0},         // no days
        {15, Sekunden(2026, 1, 1), -3},        // negative days
        {0, 0, 10},                            // start time 0
        {0, -86400, 10},                       // before 1970
        {1441, Sekunden(2026, 1, 1), 1},       // interval longer than a day
        {-15, Sekunden(2026, 1, 1), 1},        // negative interval
        {0, Sekunden(2026, 1, 1), 2000000000}, // beyond 2 GB
    };
    for (const AbgelehnteAnlage& f : faelle) {
        EXPECT_EQ(RB_DateiAnlegenZaehler(3, 2, f.intervall, f.start, f.tage, 0), -1)
            << f.intervall << " " << f.start << " " << f.tage;
        EXPECT_FALSE(FehlerText.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(pfad("daten/S0003")));
}

TEST_F(RB_DateiAnlegenTest, dateiMitDatenBleibtUnberuehrt)
{
    const QByteArray vorher = "irgendwelche Daten";
    schreiben("db/00001234.15p", vorher);
    EXPECT_EQ(RB_DateiAnlegen("db\\00001234.15p", m_start, 1, 0), -5);
    EXPECT_EQ(lesen("db/00001234.15p"), vorher);
}

TEST_F(RB_DateiAnlegenTest, leereDateiWirdAngelegt)
{
    schreiben("db/00001234.15p", "");
    EXPECT_EQ(RB_DateiAnlegen("db\\00001234.15p", m_start, 1, 0), 0);
    EXPECT_EQ(lesen("db/00001234.15p"), NeueIntervallBytes(96, 3, 0, m_start, 0));
}

TEST_F(RB_DateiAnlegenTest, fehlenderOrdnerDerDateiWirdAngelegt)
{
    Mandant = QStringLiteral("7");
    EXPECT_EQ(RB_DateiAnlegen("daten\\Z7\\neu\\00001234.zep", m_start, 1, 0), 0);
    EXPECT_EQ(lesen("daten/Z7/neu/00001234.zep"), NeueIntervallBytes(96, 3, 0, m_start, 0));
    EXPECT_EQ(m_meldungen.beeps, 1);
    // Only the file's own folder, none named after the client.
    EXPECT_EQ(QDir(pfad("daten")).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"Z7"});
}

TEST_F(RB_DateiAnlegenTest, stationsdateiLegtIhrenStationsordnerAn)
{
    EXPECT_EQ(RB_DateiAnlegenZaehler(12, 3, 60, m_start, 1, 0), 0);
    EXPECT_EQ(lesen("daten/S0012/z03a0060.dat"), NeueIntervallBytes(24, 1, 60, m_start, 0));
}

TEST_F(RB_DateiAnlegenTest, ordnerDerNichtAngelegtWerdenKannGibtNachEinemVersuchAuf)
{
    schreiben("sperre", "eine Datei, kein Ordner");
    EXPECT_EQ(RB_DateiAnlegen("sperre\\unter\\00001234.15p", m_start, 1, 0), -1);
    EXPECT_EQ(FehlerText, "Path not found");
    EXPECT_EQ(lesen("sperre"), "eine Datei, kein Ordner");
}

TEST_F(RB_DateiAnlegenTest, schreibfehlerEntferntDieHalbeDatei)
{
    if (!QFileInfo::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    ASSERT_TRUE(QFile::link("/dev/full", pfad("db/00001234.15p")));
    EXPECT_EQ(RB_DateiAnlegen("db\\00001234.15p", m_start, 1, 0), -3);
    EXPECT_EQ(FehlerText, "Disk full");
    EXPECT_EQ(m_meldungen.beeps, 1);
    EXPECT_FALSE(QFileInfo(pfad("db/00001234.15p")).isSymLink());
    EXPECT_EQ(BelegteDateinummern(), 0);
}

TEST_F(RB_DateiAnlegenTest, kopfStehtVorDemErstenNachgebenUndLeserWartenDasAnlegenAb)
{
    int leserStatus = 99;
    int schreiberStatus = 99;
    int zweiteAnlage = 99;
    QByteArray gesehenerKopf;
    QTimer::singleShot(0, [&] {
        gesehenerKopf = lesen("db/00001234.15p").left(64);
        RB_Kopf kopf;
        UnixZeit a = 0;
        UnixZeit b = 0;
        leserStatus = RB_DateiZeitraum15p("db\\00001234.15p", kopf, a, b);
        schreiberStatus =
            RB_WerteSchreiben("db\\00001234.15p", {{double(m_start + 900), 0, 1}}, false);
        zweiteAnlage = RB_DateiAnlegen("db\\00001234.15p", m_start, 1, 0);
    });
    EXPECT_EQ(RB_DateiAnlegen("db\\00001234.15p", m_start, 10, 5), 0);
    const QByteArray neu = NeueIntervallBytes(960, 3, 0, m_start, 5);
    EXPECT_EQ(gesehenerKopf, neu.left(64));
    EXPECT_EQ(leserStatus, -1);
    EXPECT_EQ(schreiberStatus, -4);
    EXPECT_EQ(zweiteAnlage, -5);
    EXPECT_EQ(lesen("db/00001234.15p"), neu);
}

TEST_F(RB_DateiAnlegenTest, kopfSchreibenSchreibtNurDenKopf)
{
    QByteArray datei = NeueIntervallBytes(96, 3, 0, m_start, 0);
    SaetzeSetzen(datei, Slot15p(1), {m_start + 900, 900, 42});
    schreiben("db/00001234.15p", datei);
    UnixZeit start = Sekunden(2027, 2, 3, 4, 5, 6);
    EXPECT_EQ(RB_KopfSchreiben("db\\00001234.15p", start, 96, 1, 7, 0, 3, 11), 0);
    SaetzeSetzen(datei, 1, {96, 1, 7, 3, 2, 2027, 4, 5, 6, 12, 0, 11, 0, 0, 0, 0});
    EXPECT_EQ(lesen("db/00001234.15p"), datei);
}

TEST_F(RB_DateiAnlegenTest, kopfSchreibenOhneDatumGibtMinusEins)
{
    neue15p(1);
    const QByteArray vorher = lesen("db/00001234.15p");
    UnixZeit start = -10;
    EXPECT_EQ(RB_KopfSchreiben("db\\00001234.15p", start, 96, 0, 0, 0, 3, 0), -1);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(lesen("db/00001234.15p"), vorher);
}

TEST_F(RB_DateiAnlegenTest, kopfSchreibenLegtKeineDateiAn)
{
    UnixZeit start = m_start;
    EXPECT_EQ(RB_KopfSchreiben("db\\fehlt.15p", start, 96, 0, 0, 0, 3, 0), -2);
    EXPECT_EQ(FehlerText, "File not found");
    EXPECT_FALSE(QFileInfo::exists(pfad("db/fehlt.15p")));
}

TEST_F(RB_DateiAnlegenTest, kopfDerNichtZurDateiPasstWirdNichtGeschrieben)
{
    neue15p(1);
    const QByteArray vorher = lesen("db/00001234.15p");
    UnixZeit start = m_start;
    EXPECT_EQ(RB_KopfSchreiben("db\\00001234.15p", start, 97, 0, 0, 0, 3, 0), -3);
    EXPECT_EQ(RB_KopfSchreiben("db\\00001234.15p", start, 96, 96, 0, 0, 3, 0), -3);
    EXPECT_EQ(RB_KopfSchreiben("db\\00001234.15p", start, 289, 0, 0, 15, 1, 0), -3);
    EXPECT_EQ(RB_KopfSchreiben("db\\00001234.15p", start, 144, 0, 0, 0, 2, 0), -3);
    EXPECT_EQ(lesen("db/00001234.15p"), vorher);
}

} // namespace
