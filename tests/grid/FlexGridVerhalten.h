#pragma once
// The behaviour every FlexGrid shows, headless or on screen. Included by exactly one test file
// of each implementation, which instantiates the suite with its grid type.

#include "grid/FlexGrid.h"
#include "support/TestUmgebung.h"

#include <QStringList>

#include <climits>

// Rows as "a|b|c", one string per row.
inline QStringList Inhalt(const FlexGrid& grid)
{
    QStringList zeilen;
    for (int z = 0; z < grid.Rows(); ++z) {
        QStringList zellen;
        for (int s = 0; s < grid.Cols(); ++s)
            zellen << grid.TextMatrix(z, s);
        zeilen << zellen.join(u'|');
    }
    return zeilen;
}

// Fills the grid with rows of "a|b|c" texts.
inline void Fuellen(FlexGrid& grid, const QStringList& zeilen)
{
    grid.setRows(static_cast<int>(zeilen.size()));
    int spalten = 0;
    for (const QString& zeile : zeilen)
        spalten = std::max(spalten, static_cast<int>(zeile.split(u'|').size()));
    grid.setCols(spalten);
    for (int z = 0; z < zeilen.size(); ++z) {
        const QStringList zellen = zeilen[z].split(u'|');
        for (int s = 0; s < zellen.size(); ++s)
            grid.setTextMatrix(z, s, zellen[s]);
    }
}

inline void Auswaehlen(FlexGrid& grid, int zeile, int spalte, int zeileBis, int spalteBis)
{
    grid.setRow(zeile);
    grid.setCol(spalte);
    grid.setRowSel(zeileBis);
    grid.setColSel(spalteBis);
}

template <typename Grid> class FlexGridVerhalten : public TestUmgebung
{
protected:
    Grid m_grid;
};

TYPED_TEST_SUITE_P(FlexGridVerhalten);

TYPED_TEST_P(FlexGridVerhalten, neuesGitterHatZweiZeilenZweiSpaltenUndJeEineFeste)
{
    const FlexGrid& g = this->m_grid;
    EXPECT_EQ(QList<int>({g.Rows(), g.Cols(), g.FixedRows(), g.FixedCols(), g.Row(), g.Col()}),
              QList<int>({2, 2, 1, 1, 1, 1}));
    EXPECT_EQ(Inhalt(g), QStringList({"|", "|"}));
    EXPECT_EQ(g.ColWidth(1), FlexGrid::kStandardBreiteTwips);
}

TYPED_TEST_P(FlexGridVerhalten, addItemFuelltDieSpaltenAusDenTabTeilen)
{
    FlexGrid& g = this->m_grid;
    const struct
    {
        const char* text;
        int zeile;
        QStringList nachher; // {} = refused, the grid unchanged
    } faelle[] = {
        // clang-format off
        {"x\ty", 1, {"K|L", "x|y", "a|b"}}, {"x\ty", -1, {"K|L", "a|b", "x|y"}},
        {"x\ty\tz", 1, {"K|L", "x|y", "a|b"}}, {"x", 2, {"K|L", "a|b", "x|"}},
        {"N\tM", 0, {"N|M", "K|L", "a|b"}}, {"x", 3, {}}, {"x", -2, {}}, {"x", INT_MAX, {}},
        {"x", INT_MIN, {}},
        // clang-format on
    };
    for (const auto& f : faelle) {
        Fuellen(g, {"K|L", "a|b"});
        EXPECT_EQ(g.AddItem(f.text, f.zeile), !f.nachher.isEmpty()) << f.zeile;
        EXPECT_EQ(Inhalt(g), f.nachher.isEmpty() ? QStringList({"K|L", "a|b"}) : f.nachher);
        EXPECT_EQ(g.FixedRows(), 1);
    }
    EXPECT_FALSE(g.letzterFehler().isEmpty());
}

TYPED_TEST_P(FlexGridVerhalten, removeItemLaesstFesteUndDieLetzteDatenzeileStehen)
{
    FlexGrid& g = this->m_grid;
    for (const int zeile : {1, 0, 3, -1}) {
        Fuellen(g, {"K", "a", "b"});
        EXPECT_EQ(g.RemoveItem(zeile), zeile == 1) << zeile;
        EXPECT_EQ(Inhalt(g), zeile == 1 ? QStringList({"K", "b"}) : QStringList({"K", "a", "b"}));
    }
    Fuellen(g, {"K", "a"});
    EXPECT_FALSE(g.RemoveItem(1)); // the last data row
    EXPECT_EQ(Inhalt(g), QStringList({"K", "a"}));
}

TYPED_TEST_P(FlexGridVerhalten, groessenBehaltenDieTexteUndSenkenDieFestenZeilen)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K|L|M", "a|b|c", "d|e|f"});
    ASSERT_TRUE(g.setRows(2) && g.setCols(2));
    EXPECT_EQ(Inhalt(g), QStringList({"K|L", "a|b"}));
    ASSERT_TRUE(g.setRows(3) && g.setCols(3));
    EXPECT_EQ(Inhalt(g), QStringList({"K|L|", "a|b|", "||"}));
    ASSERT_TRUE(g.setFixedRows(0) && g.setFixedRows(3) && g.setFixedRows(1));
    EXPECT_EQ(Inhalt(g), QStringList({"K|L|", "a|b|", "||"}));

    ASSERT_TRUE(g.setRows(0) && g.setCols(0));
    EXPECT_EQ(g.FixedRows() + g.FixedCols(), 0);
    ASSERT_TRUE(g.setRows(2) && g.setCols(2));
    EXPECT_EQ(g.FixedRows(), 0);
    EXPECT_EQ(Inhalt(g), QStringList({"|", "|"}));
}

TYPED_TEST_P(FlexGridVerhalten, aenderungenAusserhalbUndUeberDenGrenzenWerdenAbgelehnt)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K|L", "a|b"});
    const QList<QPair<int, int>> aussen = {{-1, 0}, {0, -1}, {2, 0}, {0, 2}, {INT_MAX, INT_MIN}};
    for (const auto& [z, s] : aussen) {
        EXPECT_EQ(g.TextMatrix(z, s), QString()) << z << "," << s;
        EXPECT_FALSE(g.setTextMatrix(z, s, "x")) << z << "," << s;
        EXPECT_EQ(g.ColWidth(s == 0 ? z : s), 0);
        EXPECT_FALSE(g.setColWidth(s == 0 ? z : s, 100));
    }
    EXPECT_FALSE(g.setColWidth(0, -2));
    EXPECT_FALSE(g.setRows(-1) || g.setCols(-1) || g.setFixedRows(-1));
    EXPECT_FALSE(g.setFixedRows(3) || g.setFixedCols(3));
    EXPECT_FALSE(g.setRows(FlexGrid::kMaxZeilen + 1) || g.setCols(FlexGrid::kMaxSpalten + 1));
    EXPECT_FALSE(g.letzterFehler().isEmpty());
    EXPECT_EQ(Inhalt(g), QStringList({"K|L", "a|b"}));
    EXPECT_EQ(g.ColWidth(0), FlexGrid::kStandardBreiteTwips);

    ASSERT_TRUE(g.setCols(5));
    EXPECT_FALSE(g.setRows(FlexGrid::kMaxZeilen)); // more cells than allowed
    EXPECT_EQ(g.Rows(), 2);
}

TYPED_TEST_P(FlexGridVerhalten, aktuelleZelleAuswahlUndClip)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K|L|M", "a|b|c", "d|e|f"});
    ASSERT_TRUE(g.setRowSel(2) && g.setColSel(2));
    ASSERT_TRUE(g.setRow(2)); // the current cell becomes the whole selection
    EXPECT_EQ(QList<int>({g.RowSel(), g.ColSel()}), QList<int>({2, 1}));
    ASSERT_TRUE(g.setCol(0));
    EXPECT_EQ(QList<int>({g.RowSel(), g.ColSel()}), QList<int>({2, 0}));
    EXPECT_FALSE(g.setRow(3) || g.setCol(-1));
    EXPECT_EQ(g.Text(), "d");
    ASSERT_TRUE(g.setText("neu"));
    EXPECT_EQ(g.TextMatrix(2, 0), "neu");

    g.setColWidth(1, 0); // hidden columns are part of the clip
    Auswaehlen(g, 0, 0, 2, 2);
    EXPECT_EQ(g.Clip(), "K\tL\tM\ra\tb\tc\rneu\te\tf");
    Auswaehlen(g, 2, 2, 1, 1);
    EXPECT_EQ(g.Clip(), "b\tc\re\tf");

    ASSERT_TRUE(g.setRows(2) && g.setCols(1)); // the current cell stays inside
    EXPECT_EQ(QList<int>({g.Row(), g.Col()}), QList<int>({1, 0}));
    EXPECT_EQ(g.Text(), "a");
    ASSERT_TRUE(g.setRows(0));
    EXPECT_EQ(g.Text(), QString());
    EXPECT_EQ(g.Clip(), QString());
    EXPECT_FALSE(g.setText("x"));
}

TYPED_TEST_P(FlexGridVerhalten, spaltenbreitenInGanzenPixelnUndClearBehaeltSie)
{
    FlexGrid& g = this->m_grid;
    const QList<QPair<int, int>> breiten = {
        {1000, 990}, {0, 0}, {14, 0}, {FlexGrid::kStandardBreite, FlexGrid::kStandardBreiteTwips}};
    for (const auto& [gesetzt, gelesen] : breiten) {
        ASSERT_TRUE(g.setColWidth(0, gesetzt));
        EXPECT_EQ(g.ColWidth(0), gelesen) << gesetzt;
    }
    Fuellen(g, {"K|L", "a|b"});
    g.setColWidth(1, 0);
    g.Clear();
    EXPECT_EQ(Inhalt(g), QStringList({"|", "|"}));
    EXPECT_EQ(g.ColWidth(1), 0);
    g.setCols(1);
    g.setCols(3); // new columns get the standard width
    EXPECT_EQ(g.ColWidth(1), FlexGrid::kStandardBreiteTwips);
    EXPECT_EQ(g.ColWidth(2), FlexGrid::kStandardBreiteTwips);
}

REGISTER_TYPED_TEST_SUITE_P(FlexGridVerhalten, neuesGitterHatZweiZeilenZweiSpaltenUndJeEineFeste,
                            addItemFuelltDieSpaltenAusDenTabTeilen,
                            removeItemLaesstFesteUndDieLetzteDatenzeileStehen,
                            groessenBehaltenDieTexteUndSenkenDieFestenZeilen,
                            aenderungenAusserhalbUndUeberDenGrenzenWerdenAbgelehnt,
                            aktuelleZelleAuswahlUndClip,
                            spaltenbreitenInGanzenPixelnUndClearBehaeltSie);
