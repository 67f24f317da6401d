#include "WertdateiTest.h"

#include "grid/GridModell.h"

namespace {

constexpr qint32 kT = 1'700'000'000; // Di 14.11.2023 22:13:20

} // namespace

class RB6GridTest : public WertdateiTest
{
protected:
    void SetUp() override
    {
        WertdateiTest::SetUp();
        QByteArray datei = NeueDateiBytes(1);
        SatzSetzen(datei, 10, kT, 100.0);
        SatzSetzen(datei, 11, kT + 900, 112.5);
        SatzSetzen(datei, 12, kT + 1800, 110.25);
        SatzSetzen(datei, 2, kT + 1800, 12.0);
        schreiben(Datei(), datei);
        m_vorher = datei;
        m_grid.setTextMatrix(0, 0, "Nr");
    }

    QStringList zeile(int r) const
    {
        QStringList zellen;
        for (int c = 0; c < m_grid.Cols(); ++c)
            zellen << m_grid.TextMatrix(r, c);
        return zellen;
    }

    GridModell m_grid;
    QByteArray m_vorher;
};

TEST_F(RB6GridTest, ersterSatzWirdNurGelesenDieFolgendenMitDifferenzen)
{
    ASSERT_EQ(RB6_DateiInGrid(1234, 10, 12, m_grid, 1), 0);
    EXPECT_EQ(m_grid.Rows(), 4);
    EXPECT_EQ(m_grid.Cols(), 6);
    EXPECT_EQ(m_grid.TextMatrix(0, 0), "Nr");
    EXPECT_EQ(zeile(1), QStringList({"11", "Di  14.11.2023  22:28:20", "1700000900", "112,5", "900",
                                     "12,5"}));
    EXPECT_EQ(zeile(2), QStringList({"12", "Di  14.11.2023  22:43:20", "1700001800", "110,25",
                                     "900", "-2,25"}));
    EXPECT_EQ(zeile(3), QStringList({"", "", "", "", "", ""}));
    EXPECT_EQ(lesen(Datei()), m_vorher);
}

TEST_F(RB6GridTest, kopfsaetzeOhneZeitBekommenKeineDifferenzen)
{
    // As the viewer lists the header: records 1 to 10.
    ASSERT_EQ(RB6_DateiInGrid(1234, 1, 10, m_grid, 1), 0);
    EXPECT_EQ(m_grid.Rows(), 11);
    EXPECT_EQ(zeile(1), QStringList({"2", "Di  14.11.2023  22:43:20", "1700001800", "12",
                                     "1700001799", "11"}));
    EXPECT_EQ(zeile(2), QStringList({"3", "Do  01.01.1970  00:00:00", "0", "1", "", ""}));
    EXPECT_EQ(zeile(4), QStringList({"5", "Do  01.01.1970  00:01:40", "100", "0", "", ""}));
    EXPECT_EQ(zeile(5), QStringList({"6", "Do  01.01.1970  00:00:00", "0", "0", "", ""}));
    EXPECT_EQ(zeile(9).mid(0, 4),
              QStringList({"10", "Di  14.11.2023  22:13:20", "1700000000", "100"}));
    EXPECT_EQ(zeile(9).mid(4), QStringList({"", ""}));
}

TEST_F(RB6GridTest, altesListingVerschwindet)
{
    m_grid.setCols(8);
    m_grid.setRows(20);
    for (int r = 1; r < 20; ++r)
        for (int c = 0; c < 8; ++c)
            m_grid.setTextMatrix(r, c, "alt");
    ASSERT_EQ(RB6_DateiInGrid(1234, 10, 12, m_grid, 1), 0);
    EXPECT_EQ(m_grid.Rows(), 4);
    for (int r = 1; r < m_grid.Rows(); ++r)
        EXPECT_FALSE(zeile(r).contains("alt")) << r;
}

TEST_F(RB6GridTest, letzterSatzHinterDemDateiendeWirdGekuerzt)
{
    ASSERT_EQ(RB6_DateiInGrid(1234, 100, 5000, m_grid, 1), 0);
    EXPECT_EQ(m_grid.Rows(), 3); // records 100 and 101 of the 101 in the file
    EXPECT_EQ(m_grid.TextMatrix(1, 0), "101");
}

TEST_F(RB6GridTest, leererBereichLaesstDasGridStehen)
{
    m_grid.setRows(5);
    EXPECT_EQ(RB6_DateiInGrid(1234, 12, 10, m_grid, 1), -3);
    EXPECT_EQ(RB6_DateiInGrid(1234, 0, 10, m_grid, 1), -3);
    EXPECT_EQ(RB6_DateiInGrid(1234, 200, 300, m_grid, 1), -3);
    EXPECT_FALSE(FehlerText.isEmpty());
    EXPECT_EQ(m_grid.Rows(), 5);
}

TEST_F(RB6GridTest, zuVieleSaetzeFuerDasGrid)
{
    QByteArray gross(12 * 1'100'000, '\0');
    schreiben(Datei(), gross);
    EXPECT_EQ(RB6_DateiInGrid(1234, 1, 1'100'000, m_grid, 1), -4);
    EXPECT_FALSE(FehlerText.isEmpty());
}

TEST_F(RB6GridTest, fehlendeDateiWirdNichtAngelegtLeereGeloescht)
{
    EXPECT_EQ(RB6_DateiInGrid(1234, 10, 12, m_grid, 2), -1);
    EXPECT_FALSE(vorhanden("db/Z200/001234002.zep"));
    schreiben("db/Z200/001234002.zep", {});
    EXPECT_EQ(RB6_DateiInGrid(1234, 10, 12, m_grid, 2), -1);
    EXPECT_FALSE(vorhanden("db/Z200/001234002.zep"));
    EXPECT_FALSE(FehlerText.isEmpty());
}
