#include "support/TestUmgebung.h"

#include "platform/Uhr.h"
#include "text/Zeit.h"

#include <QTimeZone>

#include <limits>

namespace {

QDateTime Zeit(int jahr, int monat, int tag, int stunde, int minute, int sekunde)
{
    return Wandzeit(QDate(jahr, monat, tag), QTime(stunde, minute, sekunde));
}

constexpr UnixZeit kMax = std::numeric_limits<UnixZeit>::max();

using ZeitTest = TestUmgebung;

TEST_F(ZeitTest, unixZeitZaehltWandzeitSekundenSeit1970ImPositiven32BitBereich)
{
    const QList<QPair<QDateTime, UnixZeit>> faelle = {
        {Zeit(1970, 1, 1, 0, 0, 0), 0},
        {Zeit(1970, 1, 1, 23, 59, 59), 86399},
        {Zeit(2026, 12, 5, 10, 7, 30), 1796465250},
        {Zeit(2038, 1, 19, 3, 14, 7), kMax},
    };
    for (const auto& [datum, sekunden] : faelle) {
        EXPECT_EQ(DatumInUnixZeit(datum), sekunden) << sekunden;
        UnixZeit kopie = sekunden;
        EXPECT_EQ(UnixZeitInDatum(kopie), datum) << sekunden;
    }
    // Outside the range, or no date: 0. A negative count is set to 0 in the caller's variable.
    for (const QDateTime& datum : {Zeit(1969, 12, 31, 23, 59, 59), Zeit(2038, 1, 19, 3, 14, 8),
                                   Zeit(2100, 1, 1, 0, 0, 0), QDateTime()})
        EXPECT_EQ(DatumInUnixZeit(datum), 0) << datum.toString().toStdString();
    UnixZeit negativ = -5;
    EXPECT_EQ(UnixZeitInDatum(negativ), Zeit(1970, 1, 1, 0, 0, 0));
    EXPECT_EQ(negativ, 0);
    // Whatever zone a value carries, the wall-clock fields count.
    EXPECT_EQ(DatumInUnixZeit(QDateTime(QDate(1970, 1, 2), QTime(1, 0), QTimeZone(7200))), 90000);
    const QDateTime lokal(QDate(2026, 3, 29), QTime(3, 30, 0), Qt::LocalTime);
    EXPECT_EQ(DatumInUnixZeit(lokal), DatumInUnixZeit(Zeit(2026, 3, 29, 3, 30, 0)));
}

TEST_F(ZeitTest, datumstexteMitWochentag)
{
    EXPECT_EQ(DatumMitWochentag(Zeit(2026, 12, 7, 8, 15, 0)), "Mo  07.12.2026  08:15:00");
    EXPECT_EQ(DatumMitWochentag(Zeit(2027, 1, 3, 23, 5, 9)), "So  03.01.2027  23:05:09");
    UnixZeit sekunden = -1;
    EXPECT_EQ(UnixZeitAlsText(sekunden), "Do  01.01.1970  00:00:00");
    EXPECT_EQ(sekunden, 0);
    QStringList tage;
    for (int tag = 6; tag <= 12; ++tag)
        tage << GetWochentag(Zeit(2026, 12, tag, 12, 0, 0));
    EXPECT_EQ(tage, QStringList({"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"}));
}

TEST_F(ZeitTest, naechsterIntervallIstDieNaechsteGrenzeNachJetzt)
{
    const struct
    {
        QDateTime jetzt;
        int intervall;
        UnixZeit grenze;
    } faelle[] = {
        {Zeit(2026, 12, 5, 10, 7, 30), 900, DatumInUnixZeit(Zeit(2026, 12, 5, 10, 15, 0))},
        {Zeit(2026, 12, 5, 10, 15, 0), 900, DatumInUnixZeit(Zeit(2026, 12, 5, 10, 30, 0))},
        {Zeit(2026, 12, 31, 23, 59, 59), 3600, DatumInUnixZeit(Zeit(2027, 1, 1, 0, 0, 0))},
        {Zeit(2026, 12, 5, 10, 7, 30), 0, 0},
        {Zeit(2026, 12, 5, 10, 7, 30), -900, 0},
        {Zeit(2038, 1, 19, 3, 0, 0), 3600, 0},
    };
    for (const auto& f : faelle) {
        m_uhr.stellen(f.jetzt);
        EXPECT_EQ(NaechsterIntervall(f.intervall), f.grenze) << f.intervall;
    }
}

} // namespace
