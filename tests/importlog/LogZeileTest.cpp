// Reading time stamps and readings from the lines of the daily M-Bus logs.

#include "master/importlog/LogZeile.h"
#include "log/MasterLogZeile.h"
#include "platform/Uhr.h"
#include "text/Zeit.h"

#include <gtest/gtest.h>

namespace {

UnixZeit Naiv(int j, int m, int t, int h = 0, int mi = 0, int s = 0)
{
    return DatumInUnixZeit(Wandzeit(QDate(j, m, t), QTime(h, mi, s)));
}

TEST(LogZeile, timeStampsAreGermanDatesWithTwoDigitYearPivot)
{
    const struct
    {
        const char* text;
        UnixZeit erwartet;
    } faelle[] = {
        {"15.09.05 00:00:05 ", Naiv(2005, 9, 15, 0, 0, 5)},
        {"15.9.2005", Naiv(2005, 9, 15)},
        {"17.9.2005 20:00", Naiv(2005, 9, 17, 20, 0)},
        {" 1.1.29 7:05:09", Naiv(2029, 1, 1, 7, 5, 9)},
        {"31.12.99 23:59:59", Naiv(1999, 12, 31, 23, 59, 59)},
        {"1.1.30", 0},    // 1930: before 1970
        {"29.2.2005", 0}, // no such day
        {"15.09.2005x", 0},
        {"15.09.05 24:00", 0},
        {"15.09.05 10:5", 0},
        {"Zeitstempel", 0},
        {"", 0},
        {"15.09.205", 0},
    };
    for (const auto& fall : faelle)
        EXPECT_EQ(LogZeitLesen(QString::fromUtf8(fall.text)), fall.erwartet) << fall.text;
}

TEST(LogZeile, readingsOfBothLayoutsAndNothingElse)
{
    const UnixZeit t = Naiv(2005, 9, 15, 0, 0, 5);
    struct Fall
    {
        QString zeile;
        bool lesbar;
        int adresse = 0, index = 0;
        double wert = 0;
        int port = -1;
    };
    const QString master = QStringLiteral("15.09.05 00:00:05 ;") +
                           MasterLogZeile(QStringLiteral("fff12345"), QStringLiteral("WZ 1"), 4,
                                          QStringLiteral("56"), 2, 1234.5, QStringLiteral(" kWh "));
    const Fall faelle[] = {
        {QStringLiteral("15.09.05 00:00:05;3;1;1234,5"), true, 3, 1, 1234.5},
        {QStringLiteral("15.09.05 00:00:05 ;3;1;1234.5;"), true, 3, 1, 1234.5},
        {QStringLiteral("15.09.05 00:00:05;3;1;-1,5E3;kWh"), true, 3, 1, -1500},
        {QStringLiteral("15.09.05 00:00:05; 3.6;0;7"), true, 4, 0, 7},
        {master, true, 56, 2, 1234.5, 4},
        // a ";" in the meter name does not shift the fields
        {QStringLiteral("15.09.05 00:00:05 ;123;Haus;A;3;56;2;1234,5;kWh;"), true, 56, 2, 1234.5,
         3},
        {QStringLiteral("15.09.05 00:00:05 ;") + kMasterLogKopf, false},
        {kMasterLogKopf, false},
        {QStringLiteral("15.09.05 00:00:05 ;") + MasterLogLesefehler(QStringLiteral("3"), 2, -3),
         false},
        {QStringLiteral("15.09.05 00:00:05 ;Datenholen gestartet am 15.09.2005"), false},
        {QStringLiteral("15.09.05 00:00:05;x3;1;5"), false},
        {QStringLiteral("15.09.05 00:00:05;3;1.5;5"), false},
        {QStringLiteral("15.09.05 00:00:05;3;;5"), false},
        {QStringLiteral("15.09.05 00:00:05;3;1;"), false},
        {QStringLiteral("15.09.05 00:00:05;3;1;1.234,5"), false},
        {QStringLiteral("kein Datum;3;1;5"), false},
        {QStringLiteral("0;3;1;5"), false},
        {QString(), false},
        {QStringLiteral("15.09.05 00:00:05 ;") + QString(70, u';') + QStringLiteral("3;56;2;1;x;"),
         false},
    };
    for (const Fall& fall : faelle) {
        const std::optional<LogWert> wert = LogZeileLesen(fall.zeile);
        ASSERT_EQ(wert.has_value(), fall.lesbar) << qPrintable(fall.zeile);
        if (!wert)
            continue;
        EXPECT_EQ(wert->zeit, t) << qPrintable(fall.zeile);
        EXPECT_EQ(wert->adresse, fall.adresse) << qPrintable(fall.zeile);
        EXPECT_EQ(wert->index, fall.index) << qPrintable(fall.zeile);
        EXPECT_DOUBLE_EQ(wert->wert, fall.wert) << qPrintable(fall.zeile);
        EXPECT_EQ(wert->port, fall.port) << qPrintable(fall.zeile);
    }
}

TEST(LogZeile, masterDataLineLayout)
{
    EXPECT_EQ(MasterLogZeile(QStringLiteral("fff12345"), QStringLiteral("Wasser Süd"), 3,
                             QStringLiteral("5"), 1, 1234.5, QStringLiteral("  m^3 ")),
              QStringLiteral("12345;Wasser Süd;3;5;1;1234,5;m^3;"));
    EXPECT_EQ(MasterLogLesefehler(QStringLiteral("5"), 2, -3),
              QStringLiteral("5;Lesefehler;2;rc=-3"));
}

TEST(LogZeile, aReadEndedByTheProgramsEndIsNoReading)
{
    const QString zeile = MasterLogLeseabbruch(QStringLiteral("5"), 0, -1);
    EXPECT_EQ(zeile, QStringLiteral("5;Lesen abgebrochen (Programmende);0;rc=-1"));
    EXPECT_FALSE(LogZeileLesen(QStringLiteral("15.09.05 00:00:05 ;") + zeile));
}

} // namespace
