// Reading time stamps and readings from the lines of the daily M-Bus logs.

#include "master/importlog/LogZeile.h"
#include "log/MasterLogZeile.h"
#include "platform/Uhr.h"
#include "text/Zeit.h"

#include <QBuffer>

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

// A line that lost its end: where the next line's time stamp starts inside it.
TEST(LogZeile, aSecondLineGluedIntoALineIsFoundAtItsTimeStamp)
{
    const QString zweite = QStringLiteral("06.12.26 12:00:01 ;12345678;LUG_1;1;1;1;5012;kWh;");
    const struct
    {
        QString zeile;
        qsizetype stelle;
    } faelle[] = {
        // cut inside the value, after a ";", after a blank, inside the time stamp
        {QStringLiteral("06.12.26 09:00:01 ;12345678;LUG_1;1;1;1;50") + zweite, 42},
        {QStringLiteral("06.12.26 09:00:01 ;12345678;LUG_1;1;1;1;") + zweite, 40},
        {QStringLiteral("06.12.26 09:00:01 ;12345678;LUG_1;1;1;1;5012;kWh;") + zweite, 49},
        {QStringLiteral("06.12.26 09:00:01 ") + zweite, 18},
        {QStringLiteral("06.12.26 09:0") + zweite, 13},
        {QStringLiteral("0") + zweite, 1},
        // an error line and the simple layout glued to a cut line
        {QStringLiteral("06.12.26 09:00:01 ;12345678;LUG_1;1;1;1;5") +
             QStringLiteral("06.12.26 09:00:05 ;3;Lesefehler;1;rc=-1"),
         41},
        {QStringLiteral("15.09.05 00:00:05;3;1;12") + QStringLiteral("15.09.05 00:15:05;3;1;13"),
         24},
        // whole lines: their own time stamp (one digit shorter too) is no second line
        {zweite, -1},
        {QStringLiteral("6.12.26 12:00:01;3;1;5"), -1},
        {QStringLiteral("15.09.05 00:00:05 ;123;Haus;A;3;56;2;1234,5;kWh;"), -1},
        {QStringLiteral("15.09.05 00:00:05 ;Datenholen gestartet am 15.09.2005 00:00:05"), -1},
        // a date and time in a meter name is part of the name
        {QStringLiteral("06.12.26 12:00:01 ;1;Tausch 01.02.20 12:00;1;1;1;5016;kWh;"), -1},
        {QStringLiteral("06.12.26 12:00:01 ;1;01.02.20 12:00 ;1;1;1;5016;kWh;"), -1},
        // ... unless a whole line of the master follows
        {QStringLiteral("06.12.26 09:00:01 ;1;Tausch 5") + zweite, 29},
    };
    for (const auto& fall : faelle)
        EXPECT_EQ(LogZeileFortsetzung(fall.zeile), fall.stelle) << qPrintable(fall.zeile);
}

TEST(LogZeile, theReaderEndsLinesAtCrLfLfAndABareCrAndCutsGluedLines)
{
    QByteArray bytes = "Zeitstempel;Z\xe4hlernummer;\r\n"
                       "a\rb\n"
                       "\r\n"
                       "06.12.26 09:00:01 ;1;A;1;1;1;50"
                       "06.12.26 12:00:01 ;1;A;1;1;1;50"
                       "06.12.26 13:00:01 ;1;A;1;1;1;5013;kWh;\r"
                       "ende";
    QBuffer puffer(&bytes);
    ASSERT_TRUE(puffer.open(QIODevice::ReadOnly));
    LogZeilenLeser leser(puffer);
    QStringList zeilen;
    LogZeilenLeser::Zeile zeile;
    while (!leser.amEnde()) {
        ASSERT_TRUE(leser.lesen(zeile));
        zeilen << (zeile.abgeschnitten ? QStringLiteral("[ab] ") : QString()) + zeile.text;
    }
    EXPECT_FALSE(leser.lesen(zeile));
    EXPECT_EQ(zeilen, (QStringList{QStringLiteral("Zeitstempel;Zählernummer;"), QStringLiteral("a"),
                                   QStringLiteral("b"), QString(),
                                   QStringLiteral("[ab] 06.12.26 09:00:01 ;1;A;1;1;1;50"),
                                   QStringLiteral("[ab] 06.12.26 12:00:01 ;1;A;1;1;1;50"),
                                   QStringLiteral("06.12.26 13:00:01 ;1;A;1;1;1;5013;kWh;"),
                                   QStringLiteral("ende")}));
}

// A file whose line ends were all lost: every line is found, each cut line once.
TEST(LogZeile, aFileWithoutLineEndsIsSplitIntoItsLines)
{
    constexpr int kZeilen = 50'000;
    QByteArray bytes;
    for (int i = 0; i < kZeilen; ++i)
        bytes += "06.12.26 12:" + QByteArray::number(10 + i % 50) + ":01 ;1234;LUG 12:00;1;1;1;" +
                 QByteArray::number(i) + ";kWh;";
    QBuffer puffer(&bytes);
    ASSERT_TRUE(puffer.open(QIODevice::ReadOnly));
    LogZeilenLeser leser(puffer);
    LogZeilenLeser::Zeile zeile;
    int abgeschnitten = 0;
    int ganz = 0;
    while (leser.lesen(zeile)) {
        if (zeile.abgeschnitten)
            ++abgeschnitten;
        else
            ++ganz;
    }
    EXPECT_EQ(abgeschnitten, kZeilen - 1);
    EXPECT_EQ(ganz, 1);
    EXPECT_EQ(zeile.text, QStringLiteral("06.12.26 12:59:01 ;1234;LUG 12:00;1;1;1;49999;kWh;"));
}

TEST(LogZeile, aReadEndedByTheProgramsEndIsNoReading)
{
    const QString zeile = MasterLogLeseabbruch(QStringLiteral("5"), 0, -1);
    EXPECT_EQ(zeile, QStringLiteral("5;Lesen abgebrochen (Programmende);0;rc=-1"));
    EXPECT_FALSE(LogZeileLesen(QStringLiteral("15.09.05 00:00:05 ;") + zeile));
}

} // namespace
