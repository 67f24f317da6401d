#include "DatendateiTest.h"

#include "grid/GridModell.h"

namespace {

constexpr qint32 kErsteZeit = 1'700'000'040;

// Time of record k in the test file: one value a minute from record 10 on.
constexpr qint32 Zeit(int satz)
{
    return kErsteZeit + 60 * (satz - 10);
}

class RB6LesenTest : public DatendateiTest
{
protected:
    // Values at records 10 to letzter (value of record k: k / 2).
    void dateiMitWerten(int letzter)
    {
        QByteArray datei = NeueDateiBytes(3);
        for (int k = 10; k <= letzter; ++k)
            SatzSetzen(datei, k, Zeit(k), k / 2.0);
        SatzSetzen(datei, 2, letzter >= 10 ? Zeit(letzter) : 0, letzter);
        schreiben(Datei(), datei);
    }

    // Row 0 is record erster - 1, then one row per record up to letzter.
    static RB6_Tabelle Zeilen(int erster, int letzter)
    {
        RB6_Tabelle zeilen;
        for (int k = erster - 1; k <= letzter; ++k)
            zeilen << (k < 10 ? RB6_Zeile{0, 0, 0, 0} : RB6_Zeile{double(Zeit(k)), k / 2.0, 0, 0});
        return zeilen;
    }
};

TEST_F(RB6LesenTest, suchfensterVonStartUndEnde)
{
    dateiMitWerten(209);
    const QByteArray vorher = lesen(Datei());
    // von, bis, interval -> first and last record read. The start window is [von - 30, von]
    // and the record before the hit comes too; the end window [bis, bis + 29].
    const std::tuple<UnixZeit, UnixZeit, qint32, int, int> faelle[] = {
        {0, 0, 60, 10, 209},                     // 0: the file's own start and end
        {Zeit(50) + 30, Zeit(150), 60, 49, 150}, // start window, lower edge
        {Zeit(50), Zeit(150) - 29, 60, 49, 150}, // end window, upper edge
        {Zeit(50), Zeit(150) - 30, 60, 49, 150}, // no hit: ends at the next value
        {Zeit(50), Zeit(200), 60, 49, 209},      // fewer than 10 before the last: the last
        {Zeit(50), Zeit(199), 60, 49, 199},
        {Zeit(10), Zeit(100), 60, 10, 100}, // no record before the first value
        {Zeit(10) - 86400, Zeit(100), 60, 10, 100},
        {Zeit(50), Zeit(150) + 1, 0, 49, 150}, // interval 0: end window [bis - 1, bis]
    };
    for (const auto& [von, bis, intervall, erster, letzter] : faelle) {
        UnixZeit a = von, b = bis;
        RB6_Tabelle feld{{7, 7, 7, 7}};
        ASSERT_EQ(RB6_WerteLesen(1234, a, b, feld, intervall, 1), 0) << erster << " " << letzter;
        EXPECT_EQ(feld, Zeilen(erster, letzter)) << von << " " << bis;
        EXPECT_TRUE(von != 0 || (a == Zeit(10) && b == Zeit(209))); // given back
    }
    EXPECT_EQ(lesen(Datei()), vorher);
}

TEST_F(RB6LesenTest, fehlerLassenDieZeilen)
{
    // Last record, client, von, bis, interval -> status.
    const std::tuple<int, const char*, UnixZeit, UnixZeit, qint32, int> faelle[] = {
        {209, "200", Zeit(10), Zeit(10), 60, -5}, // no period
        {10, "200", 0, 0, 60, -5},
        {9, "200", Zeit(10), 0, 60, -5}, // no value at all
        {209, "200", -1, 0, 60, -3},     // before 1970
        {209, "200", 0, -86400, 60, -3},
        {209, "200", 0, 0, -60, -3},
        {209, "1450", 0, 0, 60, kRB6_StatusMandant1450},
    };
    for (const auto& [letzter, mandant, von, bis, intervall, status] : faelle) {
        dateiMitWerten(letzter);
        Mandant = mandant;
        UnixZeit a = von, b = bis;
        RB6_Tabelle feld{{7, 7, 7, 7}};
        EXPECT_EQ(RB6_WerteLesen(1234, a, b, feld, intervall, 1), status) << letzter << mandant;
        EXPECT_FALSE(FehlerText.isEmpty());
        EXPECT_EQ(feld, RB6_Tabelle({{7, 7, 7, 7}}));
        Mandant = "200";
    }
}

using RB6GridTest = DatendateiTest;

TEST_F(RB6GridTest, ersterSatzWirdNurGelesenDieFolgendenMitDifferenzen)
{
    QByteArray datei = NeueDateiBytes(1);
    SatzSetzen(datei, 10, 1'700'000'000, 100.0); // Di 14.11.2023 22:13:20
    SatzSetzen(datei, 11, 1'700'000'900, 112.5);
    SatzSetzen(datei, 12, 1'700'001'800, 110.25);
    SatzSetzen(datei, 2, 1'700'001'800, 12.0);
    schreiben(Datei(), datei);
    GridModell grid;
    const auto zeile = [&grid](int r) {
        QStringList zellen;
        for (int c = 0; c < grid.Cols(); ++c)
            zellen << grid.TextMatrix(r, c);
        return zellen.join(u'|');
    };
    grid.setCols(8);
    grid.setRows(20);
    for (int r = 0; r < 20; ++r)
        for (int c = 0; c < 8; ++c)
            grid.setTextMatrix(r, c, r == 0 ? "Nr" : "alt"); // an old listing disappears
    ASSERT_EQ(RB6_DateiInGrid(1234, 10, 12, grid, 1), 0);
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(grid.TextMatrix(0, 0), "Nr");
    EXPECT_EQ(zeile(1), "11|Di  14.11.2023  22:28:20|1700000900|112,5|900|12,5");
    EXPECT_EQ(zeile(2), "12|Di  14.11.2023  22:43:20|1700001800|110,25|900|-2,25");
    EXPECT_EQ(zeile(3), "|||||");
    EXPECT_EQ(lesen(Datei()), datei);

    // Header records without a time get no differences.
    ASSERT_EQ(RB6_DateiInGrid(1234, 1, 10, grid, 1), 0);
    EXPECT_EQ(zeile(2), "3|Do  01.01.1970  00:00:00|0|1||");
    EXPECT_EQ(zeile(9), "10|Di  14.11.2023  22:13:20|1700000000|100||");

    // A last record beyond the file's end is cut to it; a range without records is an error.
    ASSERT_EQ(RB6_DateiInGrid(1234, 100, 5000, grid, 1), 0);
    EXPECT_EQ(grid.Rows(), 3); // records 100 and 101 of the 101 in the file
    EXPECT_EQ(grid.TextMatrix(1, 0), "101");
    for (const auto& [erster, letzter] : {std::pair(12, 10), std::pair(0, 10), std::pair(200, 300)})
        EXPECT_EQ(RB6_DateiInGrid(1234, erster, letzter, grid, 1), -3) << erster;
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(grid.Rows(), 3);
}

} // namespace
