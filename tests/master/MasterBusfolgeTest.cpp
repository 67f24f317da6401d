// The master's cycle against meters that misbehave in time or count on, on a simulated bus.

#include "MasterBusUmgebung.h"

#include "datafiles/RB6Wertdatei.h"
#include "frames/MBusRahmen.h"

using MasterBusfolgeTest = MasterBusUmgebung;

TEST_F(MasterBusfolgeTest, aMeterAnsweringLateFailsAloneAndTheMetersBehindItAreRead)
{
    // Real line timing at 2400 baud; meter 2 acknowledges 250 ms after its select, behind the
    // answer window, while the select of meter 3 is on the wire.
    vorbereiten(QStringLiteral("201"),
                QStringLiteral("bus takt=ja\n"
                               "zaehler adresse=1 id=11111111\nsatz 0406 A0860100\n"
                               "zaehler adresse=2 id=22222222\nsatz 0406 10270000\n"
                               "fehler spaet=250\n"
                               "zaehler adresse=3 id=33333333\nsatz 0406 20270000\n"
                               "zaehler adresse=4 id=44444444\nsatz 0406 30270000\n"),
                {QStringLiteral("1;1;11111111"), QStringLiteral("2;2;22222222"),
                 QStringLiteral("3;3;33333333"), QStringLiteral("4;4;44444444")});
    frmMbusMasterV4& f = starten(QStringLiteral("0"));
    ASSERT_TRUE(tick(f));

    EXPECT_EQ(spalte(f, 4), (QStringList{QStringLiteral("Ok"), QStringLiteral("Fehler"),
                                         QStringLiteral("Ok"), QStringLiteral("Ok")}));
    const QString log = mbLog();
    EXPECT_EQ(log.count(QStringLiteral(";2;Lesefehler;")), 2) << qPrintable(log);
    EXPECT_EQ(log.count(QStringLiteral("Lesefehler")), 2) << qPrintable(log);
    // The late acknowledgement is dropped, and said so.
    EXPECT_TRUE(programmLog().contains(QStringLiteral("Verspätete Bytes verworfen : \tE5;")))
        << qPrintable(programmLog());
}

TEST_F(MasterBusfolgeTest, aCountingMeterReadInThreeCyclesStoresThreeReadings)
{
    vorbereiten(QStringLiteral("201"),
                QStringLiteral("zaehler adresse=1 id=11111111\nsatz 0406 A0860100\n"
                               "fehler zaehlt\n"),
                {QStringLiteral("1;1;11111111")});
    frmMbusMasterV4& f = starten(QStringLiteral("900"));
    for (const QTime zeit : {QTime(10, 15, 0), QTime(10, 30, 0), QTime(10, 45, 0)}) {
        m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), zeit));
        ASSERT_TRUE(tick(f));
    }
    const QString log = mbLog();
    for (const QString& zeile : {QStringLiteral("10:15:00 ;11111111;Z1;3;1;1;100000;kWh;"),
                                 QStringLiteral("10:30:00 ;11111111;Z1;3;1;1;100001;kWh;"),
                                 QStringLiteral("10:45:00 ;11111111;Z1;3;1;1;100002;kWh;")})
        EXPECT_TRUE(log.contains(zeile)) << qPrintable(zeile) << qPrintable(log);
}

TEST_F(MasterBusfolgeTest, metersWithSeveralTelegramsStoreTheirFirstTelegramInEveryCycle)
{
    // Meter 1: two telegrams, counting (energy now, then the energy of the due date); meter 2:
    // three telegrams, read by its stored select frame; meter 3: one telegram, counting.
    vorbereiten(QStringLiteral("201"),
                QStringLiteral("zaehler adresse=1 id=11111111\nsatz 0406 10270000\n"
                               "satz 0C13 45230100\ntelegramm\nsatz 4406 E8030000\n"
                               "fehler zaehlt\n"
                               "zaehler adresse=2 id=22222222\nsatz 0406 A0860100\n"
                               "telegramm\nsatz 0C13 00500000\nsatz 0B3B 150000\n"
                               "telegramm\nsatz 4406 50C30000\n"
                               "zaehler adresse=3 id=33333333\nsatz 0406 30750000\n"
                               "fehler zaehlt\n"),
                {QStringLiteral("1;1;11111111"), QStringLiteral("2;2;22222222"),
                 QStringLiteral("3;3;33333333")});
    zeilen(QStringLiteral("UPDATE zaehler SET MBIndex = 1"));
    zeilen(QStringLiteral("UPDATE zaehler SET MB_SelectSec = '%1' WHERE LZNR = 2")
               .arg(MB_TelSelectSekAdr(22222222, QStringLiteral("HEX")).text));
    const QString indexliste = QStringLiteral(
        "SELECT Lznr || ':' || rowid || ':' || MBIndex || ':' || trim(Art) || ':' || Faktor || "
        "':' || Speichern FROM MB_IndexListe ORDER BY Lznr, MBIndex");

    frmMbusMasterV4& f = starten(QStringLiteral("900"));
    QStringList liste;
    for (const QTime zeit : {QTime(10, 15, 0), QTime(10, 30, 0), QTime(10, 45, 0)}) {
        m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), zeit));
        ASSERT_TRUE(tick(f));
        EXPECT_EQ(spalte(f, 4), QStringList(3, QStringLiteral("Ok")))
            << qPrintable(mbLog()) << qPrintable(programmLog());
        if (liste.isEmpty()) {
            // Written from the first answers, without the marker of more records; then the
            // user stores record 2 of meter 1 no more and gives it a factor.
            liste = zeilen(indexliste);
            EXPECT_EQ(liste.size(), 4) << qPrintable(liste.join(u'\n'));
            zeilen(QStringLiteral(
                "UPDATE MB_IndexListe SET Faktor = 2.5, Speichern = 0 WHERE Lznr = 1 AND "
                "MBIndex = 2"));
            liste = zeilen(indexliste);
        }
    }
    EXPECT_EQ(zeilen(indexliste), liste) << "the index lists were not written again";
    EXPECT_TRUE(liste[1].endsWith(QStringLiteral(":2.5:0"))) << qPrintable(liste[1]);

    EXPECT_EQ(zeilen(QStringLiteral("SELECT lznr || ':' || idx || ':' || Wert FROM MBusWerte "
                                    "ORDER BY lznr, Tm, idx")),
              (QStringList{QStringLiteral("1:1:10000.0"), QStringLiteral("1:2:12.345"),
                           QStringLiteral("1:1:10001.0"), QStringLiteral("1:1:10002.0"),
                           QStringLiteral("2:1:100000.0"), QStringLiteral("2:1:100000.0"),
                           QStringLiteral("2:1:100000.0"), QStringLiteral("3:1:30000.0"),
                           QStringLiteral("3:1:30001.0"), QStringLiteral("3:1:30002.0")}));
    EXPECT_EQ(zeilen(QStringLiteral("SELECT lznr || ':' || ZStand FROM Zaehlerstaende ORDER BY "
                                    "lznr, Tm")),
              (QStringList{QStringLiteral("1:10000.0"), QStringLiteral("1:10001.0"),
                           QStringLiteral("1:10002.0"), QStringLiteral("2:100000.0"),
                           QStringLiteral("2:100000.0"), QStringLiteral("2:100000.0"),
                           QStringLiteral("3:30000.0"), QStringLiteral("3:30001.0"),
                           QStringLiteral("3:30002.0")}));
    for (const auto& [lznr, werte] : {std::pair{1, QList<double>{10000, 10001, 10002}},
                                      std::pair{2, QList<double>{100000, 100000, 100000}}}) {
        UnixZeit von = 0, bis = 0;
        RB6_Tabelle feld;
        ASSERT_EQ(RB6_WerteLesen(lznr, von, bis, feld, 900, 1), 0) << lznr;
        QList<double> gelesen;
        for (const RB6_Zeile& zeile : feld)
            gelesen << zeile[1];
        EXPECT_EQ(gelesen.mid(gelesen.size() - 3), werte) << lznr;
    }
    const QString log = mbLog();
    EXPECT_FALSE(log.contains(QStringLiteral(";11111111;Z1;3;1;3;"))) << qPrintable(log);
    EXPECT_EQ(log.count(QStringLiteral(";22222222;Z2;3;2;1;100000;kWh;")), 3) << qPrintable(log);
}

// Meters that hold their SND_UD to the FCB rule too (an application reset with the FCB of the
// frame before is taken for a repetition and not carried out): two telegrams each, counting,
// meter 1 read by its ID, meter 2 by its stored select frame. Every cycle stores the first
// telegram.
TEST_F(MasterBusfolgeTest, metersHoldingEveryFrameToTheFcbRuleStoreTheirFirstTelegramInEveryCycle)
{
    vorbereiten(QStringLiteral("201"),
                QStringLiteral("zaehler adresse=1 id=11111111\nsatz 0406 10270000\n"
                               "telegramm\nsatz 4406 E8030000\n"
                               "fehler fcb_streng zaehlt\n"
                               "zaehler adresse=2 id=22222222\nsatz 0406 A0860100\n"
                               "telegramm\nsatz 4406 50C30000\n"
                               "fehler fcb_streng zaehlt\n"),
                {QStringLiteral("1;1;11111111"), QStringLiteral("2;2;22222222")});
    zeilen(QStringLiteral("UPDATE zaehler SET MBIndex = 1"));
    zeilen(QStringLiteral("UPDATE zaehler SET MB_SelectSec = '%1' WHERE LZNR = 2")
               .arg(MB_TelSelectSekAdr(22222222, QStringLiteral("HEX")).text));

    frmMbusMasterV4& f = starten(QStringLiteral("900"));
    for (const QTime zeit : {QTime(10, 15, 0), QTime(10, 30, 0), QTime(10, 45, 0)}) {
        m_uhr.stellen(Wandzeit(QDate(2026, 12, 5), zeit));
        ASSERT_TRUE(tick(f));
        EXPECT_EQ(spalte(f, 4), QStringList(2, QStringLiteral("Ok")))
            << qPrintable(mbLog()) << qPrintable(programmLog());
    }
    EXPECT_EQ(zeilen(QStringLiteral("SELECT lznr || ':' || ZStand FROM Zaehlerstaende ORDER BY "
                                    "lznr, Tm")),
              (QStringList{QStringLiteral("1:10000.0"), QStringLiteral("1:10001.0"),
                           QStringLiteral("1:10002.0"), QStringLiteral("2:100000.0"),
                           QStringLiteral("2:100001.0"), QStringLiteral("2:100002.0")}))
        << qPrintable(mbLog());
    const QString log = mbLog();
    for (const QString& zeile : {QStringLiteral("10:15:00 ;11111111;Z1;3;1;1;10000;"),
                                 QStringLiteral("10:30:00 ;11111111;Z1;3;1;1;10001;"),
                                 QStringLiteral("10:45:00 ;11111111;Z1;3;1;1;10002;"),
                                 QStringLiteral("10:15:00 ;22222222;Z2;3;2;1;100000;"),
                                 QStringLiteral("10:30:00 ;22222222;Z2;3;2;1;100001;"),
                                 QStringLiteral("10:45:00 ;22222222;Z2;3;2;1;100002;")})
        EXPECT_TRUE(log.contains(zeile)) << qPrintable(zeile) << qPrintable(log);
}
