#include "support/QtDrucken.h"
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

class ZeitTest : public TestUmgebung
{
};

TEST_F(ZeitTest, unixZeitInDatumZaehltTageUndSekunden)
{
    UnixZeit sekunden = 86399;
    EXPECT_EQ(UnixZeitInDatum(sekunden), Zeit(1970, 1, 1, 23, 59, 59));
    EXPECT_EQ(sekunden, 86399);

    sekunden = 86400 * 20794 + 8 * 3600 + 15 * 60;
    EXPECT_EQ(UnixZeitInDatum(sekunden), Zeit(2026, 12, 7, 8, 15, 0));
}

TEST_F(ZeitTest, unixZeitInDatumSetztNegativeSekundenAufNull)
{
    UnixZeit sekunden = -5;
    EXPECT_EQ(UnixZeitInDatum(sekunden), Zeit(1970, 1, 1, 0, 0, 0));
    EXPECT_EQ(sekunden, 0);
}

TEST_F(ZeitTest, unixZeitInDatumReichtBisZumEndeDes32BitBereichs)
{
    UnixZeit sekunden = std::numeric_limits<UnixZeit>::max();
    EXPECT_EQ(UnixZeitInDatum(sekunden), Zeit(2038, 1, 19, 3, 14, 7));
}

TEST_F(ZeitTest, datumInUnixZeitZaehltSekundenSeit1970)
{
    EXPECT_EQ(DatumInUnixZeit(Zeit(1970, 1, 1, 0, 0, 0)), 0);
    EXPECT_EQ(DatumInUnixZeit(Zeit(1970, 1, 1, 23, 59, 59)), 86399);
    EXPECT_EQ(DatumInUnixZeit(Zeit(2026, 12, 5, 10, 7, 30)), 1796465250);
    EXPECT_EQ(DatumInUnixZeit(Zeit(2038, 1, 19, 3, 14, 7)), std::numeric_limits<UnixZeit>::max());
}

TEST_F(ZeitTest, datumInUnixZeitVor1970IstNull)
{
    EXPECT_EQ(DatumInUnixZeit(Zeit(1969, 12, 31, 23, 59, 59)), 0);
    EXPECT_EQ(DatumInUnixZeit(Zeit(1900, 6, 1, 12, 0, 0)), 0);
}

TEST_F(ZeitTest, datumInUnixZeitJenseitsDes32BitBereichsIstNull)
{
    EXPECT_EQ(DatumInUnixZeit(Zeit(2038, 1, 19, 3, 14, 8)), 0);
    EXPECT_EQ(DatumInUnixZeit(Zeit(2100, 1, 1, 0, 0, 0)), 0);
}

TEST_F(ZeitTest, datumInUnixZeitOhneDatumIstNull)
{
    EXPECT_EQ(DatumInUnixZeit(QDateTime()), 0);
}

TEST_F(ZeitTest, datumInUnixZeitNimmtDieUhrzeitOhneZeitzone)
{
    // Whatever zone a value carries, the wall-clock fields count.
    const QDateTime mitVersatz(QDate(1970, 1, 2), QTime(1, 0, 0), QTimeZone(7200));
    EXPECT_EQ(DatumInUnixZeit(mitVersatz), 86400 + 3600);
    const QDateTime lokal(QDate(2026, 3, 29), QTime(3, 30, 0), Qt::LocalTime);
    EXPECT_EQ(DatumInUnixZeit(lokal), DatumInUnixZeit(Zeit(2026, 3, 29, 3, 30, 0)));
}

TEST_F(ZeitTest, unixZeitUndDatumSindUmkehrbar)
{
    for (UnixZeit sekunden :
         {0, 1, 59, 86399, 86400, 951782400, 1796465250, std::numeric_limits<UnixZeit>::max()}) {
        UnixZeit kopie = sekunden;
        EXPECT_EQ(DatumInUnixZeit(UnixZeitInDatum(kopie)), sekunden) << sekunden;
    }
}

TEST_F(ZeitTest, datumMitWochentagHatZweiBlanksVorDatumUndUhrzeit)
{
    EXPECT_EQ(DatumMitWochentag(Zeit(2026, 12, 7, 8, 15, 0)),
              QStringLiteral("Mo  07.12.2026  08:15:00"));
    EXPECT_EQ(DatumMitWochentag(Zeit(2027, 1, 3, 23, 5, 9)),
              QStringLiteral("So  03.01.2027  23:05:09"));
}

TEST_F(ZeitTest, unixZeitAlsTextZeigtDatumMitWochentag)
{
    UnixZeit sekunden = 86399;
    EXPECT_EQ(UnixZeitAlsText(sekunden), QStringLiteral("Do  01.01.1970  23:59:59"));
    sekunden = -1;
    EXPECT_EQ(UnixZeitAlsText(sekunden), QStringLiteral("Do  01.01.1970  00:00:00"));
    EXPECT_EQ(sekunden, 0);
}

TEST_F(ZeitTest, getWochentagBeginntMitSonntag)
{
    const struct
    {
        int tag;
        const char* kurz;
    } faelle[] = {{6, "So"}, {7, "Mo"}, {8, "Di"}, {9, "Mi"}, {10, "Do"}, {11, "Fr"}, {12, "Sa"}};
    for (const auto& fall : faelle)
        EXPECT_EQ(GetWochentag(Zeit(2026, 12, fall.tag, 12, 0, 0)), QString::fromLatin1(fall.kurz))
            << fall.tag;
}

TEST_F(ZeitTest, naechsterIntervallIstDieNaechsteGrenzeNachJetzt)
{
    m_uhr.stellen(Zeit(2026, 12, 5, 10, 7, 30));
    EXPECT_EQ(NaechsterIntervall(900), DatumInUnixZeit(Zeit(2026, 12, 5, 10, 15, 0)));
}

TEST_F(ZeitTest, naechsterIntervallAufDerGrenzeIstDieFolgende)
{
    m_uhr.stellen(Zeit(2026, 12, 5, 10, 15, 0));
    EXPECT_EQ(NaechsterIntervall(900), DatumInUnixZeit(Zeit(2026, 12, 5, 10, 30, 0)));
}

TEST_F(ZeitTest, naechsterIntervallUeberMitternacht)
{
    m_uhr.stellen(Zeit(2026, 12, 31, 23, 59, 59));
    EXPECT_EQ(NaechsterIntervall(3600), DatumInUnixZeit(Zeit(2027, 1, 1, 0, 0, 0)));
}

TEST_F(ZeitTest, naechsterIntervallOhneIntervallIstNull)
{
    m_uhr.stellen(Zeit(2026, 12, 5, 10, 7, 30));
    EXPECT_EQ(NaechsterIntervall(0), 0);
    EXPECT_EQ(NaechsterIntervall(-900), 0);
}

TEST_F(ZeitTest, naechsterIntervallJenseitsDes32BitBereichsIstNull)
{
    m_uhr.stellen(Zeit(2038, 1, 19, 3, 0, 0));
    EXPECT_EQ(NaechsterIntervall(3600), 0);
}

} // namespace
