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

template <typename Grid> class FlexGridVerhalten : public TestUmgebung
{
protected:
    Grid m_grid;
};

TYPED_TEST_SUITE_P(FlexGridVerhalten);

TYPED_TEST_P(FlexGridVerhalten, neuesGitterHatZweiZeilenZweiSpaltenUndJeEineFesteZeileUndSpalte)
{
    FlexGrid& g = this->m_grid;
    EXPECT_EQ(g.Rows(), 2);
    EXPECT_EQ(g.Cols(), 2);
    EXPECT_EQ(g.FixedRows(), 1);
    EXPECT_EQ(g.FixedCols(), 1);
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.Col(), 1);
    EXPECT_EQ(Inhalt(g), QStringList({"|", "|"}));
}

TYPED_TEST_P(FlexGridVerhalten, addItemVerteiltDieTabTeileAufDieSpaltenUndSchiebtDieZeilenNachUnten)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K1|K2|K3", "a|b|c"});
    ASSERT_TRUE(g.AddItem(QStringLiteral("x\ty\tz"), 1));
    EXPECT_EQ(Inhalt(g), QStringList({"K1|K2|K3", "x|y|z", "a|b|c"}));
}

TYPED_TEST_P(FlexGridVerhalten, addItemOhneZeileHaengtAn)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K1|K2", "a|b"});
    ASSERT_TRUE(g.AddItem(QStringLiteral("x\ty")));
    EXPECT_EQ(Inhalt(g), QStringList({"K1|K2", "a|b", "x|y"}));
}

TYPED_TEST_P(FlexGridVerhalten, addItemLaesstTeileHinterDerLetztenSpalteWeg)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K1|K2", "a|b"});
    ASSERT_TRUE(g.AddItem(QStringLiteral("x\ty\tz\tw"), 1));
    EXPECT_EQ(Inhalt(g), QStringList({"K1|K2", "x|y", "a|b"}));
}

TYPED_TEST_P(FlexGridVerhalten, addItemMitWenigerTeilenLaesstDieUebrigenZellenLeer)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K1|K2|K3", "a|b|c"});
    ASSERT_TRUE(g.AddItem(QStringLiteral("x"), 2));
    EXPECT_EQ(Inhalt(g), QStringList({"K1|K2|K3", "a|b|c", "x||"}));
}

TYPED_TEST_P(FlexGridVerhalten, addItemAusserhalbDerZeilenWirdAbgelehnt)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K1|K2", "a|b"});
    for (const int zeile : {3, -2, INT_MAX, INT_MIN}) {
        EXPECT_FALSE(g.AddItem(QStringLiteral("x\ty"), zeile)) << zeile;
        EXPECT_FALSE(g.letzterFehler().isEmpty());
    }
    EXPECT_EQ(Inhalt(g), QStringList({"K1|K2", "a|b"}));
}

TYPED_TEST_P(FlexGridVerhalten, addItemInZeileNullMachtDieNeueZeileZurKopfzeile)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K1|K2", "a|b"});
    ASSERT_TRUE(g.AddItem(QStringLiteral("N1\tN2"), 0));
    EXPECT_EQ(Inhalt(g), QStringList({"N1|N2", "K1|K2", "a|b"}));
    EXPECT_EQ(g.FixedRows(), 1);
}

TYPED_TEST_P(FlexGridVerhalten, removeItemEntferntDieZeile)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K", "a", "b", "c"});
    ASSERT_TRUE(g.RemoveItem(2));
    EXPECT_EQ(Inhalt(g), QStringList({"K", "a", "c"}));
}

TYPED_TEST_P(FlexGridVerhalten, removeItemDerLetztenNichtFestenZeileWirdAbgelehnt)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K", "a"});
    EXPECT_FALSE(g.RemoveItem(1));
    EXPECT_FALSE(g.letzterFehler().isEmpty());
    EXPECT_EQ(Inhalt(g), QStringList({"K", "a"}));
}

TYPED_TEST_P(FlexGridVerhalten, removeItemEinerFestenZeileWirdAbgelehnt)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K", "a", "b"});
    EXPECT_FALSE(g.RemoveItem(0));
    EXPECT_EQ(Inhalt(g), QStringList({"K", "a", "b"}));
}

TYPED_TEST_P(FlexGridVerhalten, removeItemAusserhalbWirdAbgelehnt)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K", "a", "b"});
    EXPECT_FALSE(g.RemoveItem(3));
    EXPECT_FALSE(g.RemoveItem(-1));
    EXPECT_EQ(g.Rows(), 3);
}

TYPED_TEST_P(FlexGridVerhalten, rowsVerkleinernBehaeltDieUebrigenTexteUndNeueZeilenSindLeer)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K|L", "a|b", "c|d", "e|f"});
    ASSERT_TRUE(g.setRows(2));
    EXPECT_EQ(Inhalt(g), QStringList({"K|L", "a|b"}));
    ASSERT_TRUE(g.setRows(4));
    EXPECT_EQ(Inhalt(g), QStringList({"K|L", "a|b", "|", "|"}));
}

TYPED_TEST_P(FlexGridVerhalten, colsVerkleinernBehaeltDieUebrigenTexteUndNeueSpaltenSindLeer)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K|L|M", "a|b|c"});
    ASSERT_TRUE(g.setCols(2));
    EXPECT_EQ(Inhalt(g), QStringList({"K|L", "a|b"}));
    ASSERT_TRUE(g.setCols(3));
    EXPECT_EQ(Inhalt(g), QStringList({"K|L|", "a|b|"}));
}

TYPED_TEST_P(FlexGridVerhalten, gitterLeerenNachDerFensterRegelBehaeltDieKopfzeile)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K|L", "a|b", "c|d"});
    ASSERT_TRUE(g.AddItem(QString(), 1));
    ASSERT_TRUE(g.AddItem(QString(), 1));
    ASSERT_TRUE(g.setRows(2));
    EXPECT_EQ(Inhalt(g), QStringList({"K|L", "|"}));
}

TYPED_TEST_P(FlexGridVerhalten, rowsUnterDenFestenZeilenSenktDieFestenZeilen)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K|L", "a|b"});
    ASSERT_TRUE(g.setRows(0));
    ASSERT_TRUE(g.setCols(0));
    EXPECT_EQ(g.FixedRows(), 0);
    EXPECT_EQ(g.FixedCols(), 0);
    ASSERT_TRUE(g.setRows(2));
    ASSERT_TRUE(g.setCols(2));
    EXPECT_EQ(g.FixedRows(), 0);
    EXPECT_EQ(Inhalt(g), QStringList({"|", "|"}));
}

TYPED_TEST_P(FlexGridVerhalten, festeZeilenAendernBehaeltDieTexteAllerZeilen)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K|L", "a|b", "c|d"});
    ASSERT_TRUE(g.setFixedRows(0));
    EXPECT_EQ(Inhalt(g), QStringList({"K|L", "a|b", "c|d"}));
    ASSERT_TRUE(g.setFixedRows(2));
    EXPECT_EQ(Inhalt(g), QStringList({"K|L", "a|b", "c|d"}));
    ASSERT_TRUE(g.setFixedRows(1));
    EXPECT_EQ(Inhalt(g), QStringList({"K|L", "a|b", "c|d"}));
}

TYPED_TEST_P(FlexGridVerhalten, festeZeilenUndSpaltenUeberDerGroesseWerdenAbgelehnt)
{
    FlexGrid& g = this->m_grid;
    EXPECT_FALSE(g.setFixedRows(3));
    EXPECT_FALSE(g.setFixedCols(3));
    EXPECT_FALSE(g.setFixedRows(-1));
    EXPECT_TRUE(g.setFixedRows(2));
    EXPECT_EQ(g.FixedRows(), 2);
}

TYPED_TEST_P(FlexGridVerhalten, lesenAusserhalbGibtLeerenTextUndSchreibenWirdAbgelehnt)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K|L", "a|b"});
    const QList<QPair<int, int>> aussen = {{-1, 0}, {0, -1},  {2, 0},       {0, 2},
                                           {2, 2},  {-5, -5}, {INT_MAX, 0}, {0, INT_MIN}};
    for (const auto& [z, s] : aussen) {
        EXPECT_EQ(g.TextMatrix(z, s), QString()) << z << "," << s;
        EXPECT_FALSE(g.setTextMatrix(z, s, QStringLiteral("x"))) << z << "," << s;
        EXPECT_FALSE(g.letzterFehler().isEmpty());
        EXPECT_EQ(g.ColWidth(s < 0 || s >= 2 ? s : 5), 0);
        EXPECT_FALSE(g.setColWidth(s < 0 || s >= 2 ? s : 5, 100));
    }
    EXPECT_EQ(Inhalt(g), QStringList({"K|L", "a|b"}));
}

TYPED_TEST_P(FlexGridVerhalten, unzulaessigeGroessenWerdenAbgelehnt)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K|L", "a|b"});
    EXPECT_FALSE(g.setRows(-1));
    EXPECT_FALSE(g.setCols(-1));
    EXPECT_FALSE(g.setRows(FlexGrid::kMaxZeilen + 1));
    EXPECT_FALSE(g.setCols(FlexGrid::kMaxSpalten + 1));
    ASSERT_TRUE(g.setCols(5));
    EXPECT_FALSE(g.setRows(FlexGrid::kMaxZeilen)); // more cells than allowed
    EXPECT_FALSE(g.letzterFehler().isEmpty());
    EXPECT_EQ(g.Rows(), 2);
    EXPECT_EQ(g.Cols(), 5);
}

TYPED_TEST_P(FlexGridVerhalten, clearLeertAlleTexteUndBehaeltDieGroesse)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K|L", "a|b", "c|d"});
    g.setColWidth(1, 0);
    g.Clear();
    EXPECT_EQ(Inhalt(g), QStringList({"|", "|", "|"}));
    EXPECT_EQ(g.ColWidth(1), 0);
}

TYPED_TEST_P(FlexGridVerhalten, rowUndColSetzenDieAuswahlAufDieAktuelleZelle)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K|L|M", "a|b|c", "d|e|f"});
    ASSERT_TRUE(g.setRowSel(2));
    ASSERT_TRUE(g.setColSel(2));
    ASSERT_TRUE(g.setRow(2));
    EXPECT_EQ(g.RowSel(), 2);
    EXPECT_EQ(g.ColSel(), 1);
    ASSERT_TRUE(g.setCol(0));
    EXPECT_EQ(g.RowSel(), 2);
    EXPECT_EQ(g.ColSel(), 0);
    EXPECT_FALSE(g.setRow(3));
    EXPECT_FALSE(g.setCol(-1));
    EXPECT_EQ(g.Row(), 2);
    EXPECT_EQ(g.Col(), 0);
}

TYPED_TEST_P(FlexGridVerhalten, textLiestUndSchreibtDieAktuelleZelle)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K|L", "a|b"});
    g.setRow(0);
    g.setCol(1);
    EXPECT_EQ(g.Text(), QStringLiteral("L"));
    ASSERT_TRUE(g.setText(QStringLiteral("neu")));
    EXPECT_EQ(g.TextMatrix(0, 1), QStringLiteral("neu"));
}

TYPED_TEST_P(FlexGridVerhalten, clipGibtDenAusgewaehltenBlockMitTabUndCr)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K|L|M", "a|b|c", "d|e|f"});
    g.setRow(0);
    g.setCol(0);
    g.setRowSel(g.Rows() - 1);
    g.setColSel(g.Cols() - 1);
    EXPECT_EQ(g.Clip(), QStringLiteral("K\tL\tM\ra\tb\tc\rd\te\tf"));
    g.setRow(2);
    g.setCol(2);
    g.setRowSel(1);
    g.setColSel(1);
    EXPECT_EQ(g.Clip(), QStringLiteral("b\tc\re\tf"));
}

TYPED_TEST_P(FlexGridVerhalten, clipNimmtVersteckteSpaltenMit)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K|L|M", "a|b|c"});
    g.setColWidth(1, 0);
    g.setRow(0);
    g.setCol(0);
    g.setRowSel(1);
    g.setColSel(2);
    EXPECT_EQ(g.Clip(), QStringLiteral("K\tL\tM\ra\tb\tc"));
}

TYPED_TEST_P(FlexGridVerhalten, auswahlBleibtNachDemVerkleinernImGitter)
{
    FlexGrid& g = this->m_grid;
    Fuellen(g, {"K|L|M", "a|b|c", "d|e|f", "g|h|i"});
    g.setRow(3);
    g.setCol(2);
    ASSERT_TRUE(g.setRows(2));
    ASSERT_TRUE(g.setCols(1));
    EXPECT_EQ(g.Row(), 1);
    EXPECT_EQ(g.Col(), 0);
    EXPECT_EQ(g.Text(), QStringLiteral("a"));
    ASSERT_TRUE(g.setRows(0));
    EXPECT_EQ(g.Text(), QString());
    EXPECT_EQ(g.Clip(), QString());
    EXPECT_FALSE(g.setText(QStringLiteral("x")));
}

TYPED_TEST_P(FlexGridVerhalten, spaltenbreiteInGanzenPixelnNullVerstecktStandardStelltHer)
{
    FlexGrid& g = this->m_grid;
    EXPECT_EQ(g.ColWidth(0), FlexGrid::kStandardBreiteTwips);
    ASSERT_TRUE(g.setColWidth(0, 1000));
    EXPECT_EQ(g.ColWidth(0), 990);
    ASSERT_TRUE(g.setColWidth(0, 0));
    EXPECT_EQ(g.ColWidth(0), 0);
    ASSERT_TRUE(g.setColWidth(0, 14));
    EXPECT_EQ(g.ColWidth(0), 0);
    ASSERT_TRUE(g.setColWidth(0, FlexGrid::kStandardBreite));
    EXPECT_EQ(g.ColWidth(0), FlexGrid::kStandardBreiteTwips);
    EXPECT_FALSE(g.setColWidth(0, -2));
    EXPECT_EQ(g.ColWidth(0), FlexGrid::kStandardBreiteTwips);
}

TYPED_TEST_P(FlexGridVerhalten, neueSpaltenHabenDieStandardbreite)
{
    FlexGrid& g = this->m_grid;
    g.setColWidth(1, 0);
    g.setCols(1);
    g.setCols(3);
    EXPECT_EQ(g.ColWidth(1), FlexGrid::kStandardBreiteTwips);
    EXPECT_EQ(g.ColWidth(2), FlexGrid::kStandardBreiteTwips);
}

TYPED_TEST_P(FlexGridVerhalten, laengererTextIstBreiter)
{
    FlexGrid& g = this->m_grid;
    EXPECT_GT(g.TextBreiteTwips(QStringLiteral("AAAAAAAAAA")),
              g.TextBreiteTwips(QStringLiteral("AA")));
    EXPECT_EQ(g.TextBreiteTwips(QString()), 0);
}

REGISTER_TYPED_TEST_SUITE_P(
    FlexGridVerhalten, neuesGitterHatZweiZeilenZweiSpaltenUndJeEineFesteZeileUndSpalte,
    addItemVerteiltDieTabTeileAufDieSpaltenUndSchiebtDieZeilenNachUnten, addItemOhneZeileHaengtAn,
    addItemLaesstTeileHinterDerLetztenSpalteWeg, addItemMitWenigerTeilenLaesstDieUebrigenZellenLeer,
    addItemAusserhalbDerZeilenWirdAbgelehnt, addItemInZeileNullMachtDieNeueZeileZurKopfzeile,
    removeItemEntferntDieZeile, removeItemDerLetztenNichtFestenZeileWirdAbgelehnt,
    removeItemEinerFestenZeileWirdAbgelehnt, removeItemAusserhalbWirdAbgelehnt,
    rowsVerkleinernBehaeltDieUebrigenTexteUndNeueZeilenSindLeer,
    colsVerkleinernBehaeltDieUebrigenTexteUndNeueSpaltenSindLeer,
    gitterLeerenNachDerFensterRegelBehaeltDieKopfzeile,
    rowsUnterDenFestenZeilenSenktDieFestenZeilen, festeZeilenAendernBehaeltDieTexteAllerZeilen,
    festeZeilenUndSpaltenUeberDerGroesseWerdenAbgelehnt,
    lesenAusserhalbGibtLeerenTextUndSchreibenWirdAbgelehnt, unzulaessigeGroessenWerdenAbgelehnt,
    clearLeertAlleTexteUndBehaeltDieGroesse, rowUndColSetzenDieAuswahlAufDieAktuelleZelle,
    textLiestUndSchreibtDieAktuelleZelle, clipGibtDenAusgewaehltenBlockMitTabUndCr,
    clipNimmtVersteckteSpaltenMit, auswahlBleibtNachDemVerkleinernImGitter,
    spaltenbreiteInGanzenPixelnNullVerstecktStandardStelltHer, neueSpaltenHabenDieStandardbreite,
    laengererTextIstBreiter);
