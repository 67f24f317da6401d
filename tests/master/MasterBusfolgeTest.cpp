// The master's cycle against meters that misbehave in time or count on, on a simulated bus.

#include "MasterBusUmgebung.h"

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
