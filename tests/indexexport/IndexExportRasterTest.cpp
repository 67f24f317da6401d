// The editor's grids without a window: the meter list, the copy for the clipboard, the keys of
// the cell editor and what counts as an index.

#include "indexexport/IndexExportRaster.h"

#include "grid/GridModell.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// Two meters as the meter list gives them; the first has no COM port (such meters sort first).
QList<QStringList> ZweiZaehler()
{
    return {{"", "12", "5", "", "2400", "Heizung", "1", "0", "4711", "", "", ""},
            {"", "7", "1", "3", "9600", "Wasser", "2", "1", "0815", "12345678", "", ""}};
}

} // namespace

TEST(IndexExportNavigationTest, keysMoveWithinRowsOneToLastAndColumnsOneToLast)
{
    using T = EditorTaste;
    // grid of a header row and rows 1 to 3, columns 0 (hidden) to 2
    const std::tuple<T, Zelle, Zelle> faelle[] = {
        {T::Tab, {2, 2}, {3, 1}},     {T::Rechts, {2, 2}, {3, 1}},  {T::Rechts, {1, 1}, {1, 2}},
        {T::Rechts, {3, 2}, {3, 2}},  {T::Tab, {3, 2}, {3, 2}},     {T::Links, {1, 1}, {1, 1}},
        {T::Links, {2, 1}, {1, 2}},   {T::Links, {2, 2}, {2, 1}},   {T::Hoch, {1, 2}, {1, 2}},
        {T::Hoch, {3, 1}, {2, 1}},    {T::Runter, {3, 1}, {3, 1}},  {T::Runter, {1, 2}, {2, 2}},
        {T::Eingabe, {2, 1}, {3, 1}}, {T::Eingabe, {3, 2}, {3, 2}},
    };
    for (const auto& [taste, von, nach] : faelle) {
        const Zelle ergebnis = NaechsteZelle(taste, von, 4, 3);
        EXPECT_EQ(ergebnis, nach) << static_cast<int>(taste) << " from " << von.zeile << ","
                                  << von.spalte << " gave " << ergebnis.zeile << ","
                                  << ergebnis.spalte;
    }
    // one data row: nothing leads to the header row or column 0
    for (T taste : {T::Hoch, T::Runter, T::Links, T::Eingabe})
        EXPECT_EQ(NaechsteZelle(taste, {1, 1}, 2, 3), (Zelle{1, 1}));
}

TEST(IndexExportNavigationTest, indexIsAWholeNumberWithBlanksAroundIt)
{
    const std::tuple<const char*, std::optional<int>> faelle[] = {{"3", 3},
                                                                  {" 12 ", 12},
                                                                  {"-2", -2},
                                                                  {"", std::nullopt},
                                                                  {"hhh", std::nullopt},
                                                                  {"1,5", std::nullopt},
                                                                  {"1.5", std::nullopt},
                                                                  {"1e2", std::nullopt},
                                                                  {"3 4", std::nullopt},
                                                                  {"99999999999", std::nullopt}};
    for (const auto& [text, wert] : faelle)
        EXPECT_EQ(IndexWert(QString::fromUtf8(text)), wert) << text;
}

TEST(IndexExportListeTest, meterWithoutPortFirstStillShowsTheWholeListWithRowOneMarked)
{
    GridModell grid;
    ASSERT_TRUE(ZaehlerListeZeigen(grid, ZweiZaehler()));
    ASSERT_EQ(grid.Rows(), 3);
    ASSERT_EQ(grid.Cols(), 11);
    EXPECT_EQ(grid.TextMatrix(1, 5), QStringLiteral("Heizung"));
    EXPECT_EQ(grid.TextMatrix(2, 9), QStringLiteral("12345678"));
    for (int spalte = 0; spalte < 11; ++spalte) {
        const bool versteckt = spalte == 0 || spalte == 1 || spalte == 6 || spalte == 7;
        EXPECT_EQ(grid.ColWidth(spalte) == 0, versteckt) << spalte;
    }
    EXPECT_EQ(QList<int>({grid.Row(), grid.Col(), grid.RowSel(), grid.ColSel()}),
              QList<int>({1, 0, 1, 10}));
    EXPECT_EQ(ZaehlerNummer(grid, 1), 12);
    EXPECT_EQ(ZaehlerNummer(grid, 2), 7);
    EXPECT_EQ(ZaehlerNummer(grid, 3), std::nullopt);
}

TEST(IndexExportListeTest, noMeterLeavesTheHeaderAndOneEmptyRowWithoutNumber)
{
    GridModell grid;
    ZaehlerListeZeigen(grid, ZweiZaehler());
    EXPECT_FALSE(ZaehlerListeZeigen(grid, {QStringList{QString()}}));
    EXPECT_FALSE(ZaehlerListeZeigen(grid, {}));
    ASSERT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.TextMatrix(0, 2), QStringLiteral("MBus Adresse"));
    EXPECT_EQ(grid.TextMatrix(0, 8), QString::fromUtf8("Zählernummer"));
    for (int spalte = 0; spalte < grid.Cols(); ++spalte)
        EXPECT_TRUE(grid.TextMatrix(1, spalte).isEmpty()) << spalte;
    EXPECT_EQ(ZaehlerNummer(grid, 1), std::nullopt);
}

TEST(IndexExportListeTest, clipboardTextHoldsHeaderAndHiddenColumnsOneLinePerRow)
{
    GridModell grid;
    ZaehlerListeZeigen(grid, ZweiZaehler());
    const QString erwartet = QString::fromUtf8(
        "ZQUELLE\tLZNR\tMBus Adresse\tCom Port\tBaudrate\tZählername\tIndex\tMBZStand\t"
        "Zählernummer\t\t\n"
        "\t12\t5\t\t2400\tHeizung\t1\t0\t4711\t\t\n"
        "\t7\t1\t3\t9600\tWasser\t2\t1\t0815\t12345678\t\n");
    EXPECT_EQ(ZwischenablageText(grid), erwartet);
}

TEST(IndexExportListeTest, indexGridShowsStoredRowsAndGivesBackEveryRow)
{
    GridModell grid;
    InitGridIndex(grid);
    EXPECT_EQ(grid.TextMatrix(1, 1), QStringLiteral("hhh"));
    const QList<IndexExportZeile> zeilen = {{"7", "1", "Energie"}, {"7", "3", ""}};
    IndexZeilenZeigen(grid, zeilen);
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(IndexZeilenAusGrid(grid), zeilen);
    IndexZeilenZeigen(grid, {});
    EXPECT_EQ(IndexZeilenAusGrid(grid), (QList<IndexExportZeile>{{"", "", ""}}));
}
