#include "DatendateiTest.h"

#include <QFile>
#include <QTimer>

using RB_DateiAnlegenTest = DatendateiTest;

TEST_F(RB_DateiAnlegenTest, dateinamenNachStationZaehlerUndIntervall)
{
    const std::tuple<qint32, qint32, qint32, const char*> faelle[] = {
        {-1, 1234, 0, "db\\00001234.15p"},
        {-1, 1234, 2, "db\\00001234.002"},
        {3, 2, 15, "daten\\S0003\\z02a0015.dat"},
        {3, 2, 0, "daten\\S0003\\z02a015p.dat"},
        {12345, 7, -1, "daten\\S12345\\z07a015p.dat"},
    };
    for (const auto& [station, zaehler, intervall, name] : faelle)
        EXPECT_EQ(RB_DateiName(station, zaehler, intervall), QString::fromLatin1(name)) << name;
}

TEST_F(RB_DateiAnlegenTest, neueEintagesdateiHatGenauDieBytesDesAufbaus)
{
    schreiben("db/00001234.15p", ""); // an empty file counts as missing
    EXPECT_EQ(RB_DateiAnlegen("db\\00001234.15p", Sekunden(2026, 12, 5, 8, 15, 30), 1, 4711), 0);
    QByteArray erwartet(1216, '\0');
    // h0 = 96 slots, h1 = h2 = 0, 05.12.2026 08:15:30, h9 = 12, h10 = 0, h11 = 4711.
    SaetzeSetzen(erwartet, 1, {96, 0, 0, 5, 12, 2026, 8, 15, 30, 12, 0, 4711, 0, 0, 0, 0});
    EXPECT_EQ(lesen("db/00001234.15p"), erwartet);
    EXPECT_EQ(BelegteDateinummern(), 0);
}

TEST_F(RB_DateiAnlegenTest, zaehlerdateienNachIntervallUndUngueltigeAngaben)
{
    // Station, interval, start, days -> file (none: refused, -1), slots, numbers a slot.
    const std::tuple<qint32, qint32, qint32, qint32, const char*, qint32, qint32> faelle[] = {
        {3, 15, m_start, 2, "daten/S0003/z02a0015.dat", 192, 1},
        {1, 7, m_start, 1, "daten/S0001/z02a0007.dat", 205, 1}, // whole slots a day only
        {-1, 0, m_start, 3, "db/00000002.15p", 288, 3},
        {9, 15, m_start, 0, nullptr, 0, 0},
        {9, 0, 0, 10, nullptr, 0, 0},
        {9, 0, -86400, 10, nullptr, 0, 0},
        {9, 1441, m_start, 1, nullptr, 0, 0},
        {9, -15, m_start, 1, nullptr, 0, 0},
        {9, 0, m_start, 2000000000, nullptr, 0, 0}, // beyond 2 GB
    };
    for (const auto& [station, intervall, start, tage, datei, anzahl, zahlen] : faelle) {
        FehlerText.clear();
        EXPECT_EQ(RB_DateiAnlegenZaehler(station, 2, intervall, start, tage, 9), datei ? 0 : -1)
            << station << " " << intervall << " " << tage;
        const QByteArray soll = NeueIntervallBytes(anzahl, zahlen, intervall, start, 9);
        EXPECT_TRUE(datei ? lesen(datei) == soll : !FehlerText.isEmpty());
    }
    EXPECT_FALSE(vorhanden("daten/S0009"));
}

TEST_F(RB_DateiAnlegenTest, fehlenderOrdnerWirdEinmalAngelegt)
{
    Mandant = QStringLiteral("7");
    EXPECT_EQ(RB_DateiAnlegen("daten\\Z7\\neu\\00001234.zep", m_start, 1, 0), 0);
    EXPECT_EQ(lesen("daten/Z7/neu/00001234.zep"), NeueIntervallBytes(96, 3, 0, m_start, 0));
    EXPECT_EQ(m_meldungen.beeps, 1);
    // Only the file's own folder, none named after the client.
    EXPECT_EQ(QDir(pfad("daten")).entryList(QDir::Dirs | QDir::NoDotAndDotDot), QStringList{"Z7"});

    // A folder that cannot be made: one try, then the error.
    schreiben("sperre", "eine Datei, kein Ordner");
    EXPECT_EQ(RB_DateiAnlegen("sperre\\unter\\00001234.15p", m_start, 1, 0), -1);
    EXPECT_EQ(FehlerText, "Path not found");
    EXPECT_EQ(lesen("sperre"), "eine Datei, kein Ordner");
}

TEST_F(RB_DateiAnlegenTest, schreibfehlerEntferntDieHalbeDatei)
{
    if (!QFileInfo::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    ASSERT_TRUE(QFile::link("/dev/full", pfad("db/00001234.15p.neu")));
    EXPECT_EQ(RB_DateiAnlegen("db\\00001234.15p", m_start, 1, 0), -3);
    EXPECT_EQ(FehlerText, "Disk full");
    EXPECT_FALSE(QFileInfo(pfad("db/00001234.15p.neu")).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(pfad("db/00001234.15p")));
    EXPECT_EQ(BelegteDateinummern(), 0);
}

TEST_F(RB_DateiAnlegenTest, dateiErscheintErstFertigUndLeserWartenDasAnlegenAb)
{
    int leser = 99, schreiber = 99, zweiteAnlage = 99;
    QByteArray gesehenerKopf;
    QTimer::singleShot(0, [&] {
        gesehenerKopf = lesen("db/00001234.15p").left(64);
        RB_Kopf kopf;
        UnixZeit a = 0, b = 0;
        leser = RB_DateiZeitraum15p("db\\00001234.15p", kopf, a, b);
        schreiber = RB_WerteSchreiben("db\\00001234.15p", {{double(m_start + 900), 0, 1}}, false);
        zweiteAnlage = RB_DateiAnlegen("db\\00001234.15p", m_start, 1, 0);
    });
    EXPECT_EQ(RB_DateiAnlegen("db\\00001234.15p", m_start, 10, 5), 0);
    const QByteArray neu = NeueIntervallBytes(960, 3, 0, m_start, 5);
    // Until it is complete the file does not exist under its name.
    EXPECT_TRUE(gesehenerKopf.isEmpty());
    EXPECT_FALSE(QFile::exists(pfad("db/00001234.15p.neu")));
    EXPECT_EQ(leser, -1);
    EXPECT_EQ(schreiber, -4);
    EXPECT_EQ(zweiteAnlage, -5);
    EXPECT_EQ(lesen("db/00001234.15p"), neu);
}

TEST_F(RB_DateiAnlegenTest, eineTausendTagedateiEntstehtInGrossenBloecken)
{
    // Each write of the zeros is followed by one pass of the event loop: a timer that fires at
    // every pass counts the blocks.
    int durchgaenge = 0;
    QTimer zaehler;
    QObject::connect(&zaehler, &QTimer::timeout, [&] { ++durchgaenge; });
    zaehler.start(0);
    EXPECT_EQ(RB_DateiAnlegen("db\\00001234.15p", m_start, 1000, 5), 0);
    zaehler.stop();
    EXPECT_GE(durchgaenge, 1);
    EXPECT_LE(durchgaenge, 8);
    EXPECT_EQ(lesen("db/00001234.15p"), NeueIntervallBytes(96000, 3, 0, m_start, 5));
}

TEST_F(RB_DateiAnlegenTest, kopfSchreibenSchreibtNurEinenPassendenKopf)
{
    QByteArray datei = NeueIntervallBytes(96, 3, 0, m_start, 0);
    SaetzeSetzen(datei, Slot15p(1), {m_start + 900, 900, 42});
    schreiben("db/00001234.15p", datei);
    // start, h0, h1, interval, numbers a slot -> status
    const std::tuple<UnixZeit, qint32, qint32, qint32, qint32, int> faelle[] = {
        {-10, 96, 0, 0, 3, -1},       {m_start, 97, 0, 0, 3, -3},  {m_start, 96, 96, 0, 3, -3},
        {m_start, 289, 0, 15, 1, -3}, {m_start, 144, 0, 0, 2, -3},
    };
    for (auto [start, h0, h1, intervall, zahlen, status] : faelle) {
        EXPECT_EQ(RB_KopfSchreiben("db\\00001234.15p", start, h0, h1, 0, intervall, zahlen, 0),
                  status)
            << h0 << " " << h1;
        EXPECT_GE(start, 0); // a negative start is set to 0
    }
    EXPECT_EQ(lesen("db/00001234.15p"), datei);

    UnixZeit start = Sekunden(2027, 2, 3, 4, 5, 6);
    EXPECT_EQ(RB_KopfSchreiben("db\\00001234.15p", start, 96, 1, 7, 0, 3, 11), 0);
    SaetzeSetzen(datei, 1, {96, 1, 7, 3, 2, 2027, 4, 5, 6, 12, 0, 11, 0, 0, 0, 0});
    EXPECT_EQ(lesen("db/00001234.15p"), datei);
}
