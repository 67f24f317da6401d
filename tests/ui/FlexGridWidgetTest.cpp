#include "grid/FlexGridVerhalten.h"

#include "grid/GridHilfen.h"
#include "ui/FlexGridWidget.h"

#include <QHeaderView>

INSTANTIATE_TYPED_TEST_SUITE_P(Widget, FlexGridVerhalten, FlexGridWidget);

class FlexGridWidgetTest : public TestUmgebung
{
protected:
    QString tabellenText(int zeile, int spalte) const
    {
        const QTableWidgetItem* eintrag = m_grid.item(zeile, spalte);
        return eintrag ? eintrag->text() : QString();
    }
    QString kopfText(int spalte) const
    {
        const QTableWidgetItem* eintrag = m_grid.horizontalHeaderItem(spalte);
        return eintrag ? eintrag->text() : QString();
    }

    FlexGridWidget m_grid;
};

TEST_F(FlexGridWidgetTest, zeileNullIstDerSpaltenkopfUndDieDatenzeilenFolgen)
{
    Fuellen(m_grid,
            {QStringLiteral("Index|Wert"), QStringLiteral("1|12,5"), QStringLiteral("2|7")});
    EXPECT_FALSE(m_grid.horizontalHeader()->isHidden());
    EXPECT_EQ(m_grid.rowCount(), 2);
    EXPECT_EQ(kopfText(0), QStringLiteral("Index"));
    EXPECT_EQ(kopfText(1), QStringLiteral("Wert"));
    EXPECT_EQ(tabellenText(0, 1), QStringLiteral("12,5"));
    EXPECT_EQ(tabellenText(1, 0), QStringLiteral("2"));
}

TEST_F(FlexGridWidgetTest, ohneFesteZeileIstZeileNullDieErsteTabellenzeile)
{
    Fuellen(m_grid, {QStringLiteral("Index|Wert"), QStringLiteral("1|12,5")});
    ASSERT_TRUE(m_grid.setFixedRows(0));
    EXPECT_TRUE(m_grid.horizontalHeader()->isHidden());
    EXPECT_EQ(m_grid.rowCount(), 2);
    EXPECT_EQ(tabellenText(0, 0), QStringLiteral("Index"));
    EXPECT_EQ(kopfText(0), QString());

    ASSERT_TRUE(m_grid.setFixedRows(1));
    EXPECT_FALSE(m_grid.horizontalHeader()->isHidden());
    EXPECT_EQ(m_grid.rowCount(), 1);
    EXPECT_EQ(kopfText(0), QStringLiteral("Index"));
}

TEST_F(FlexGridWidgetTest, neueSpaltenZeigenKeineSpaltennummern)
{
    m_grid.setCols(4);
    EXPECT_EQ(kopfText(3), QString());
    EXPECT_EQ(m_grid.model()->headerData(3, Qt::Horizontal).toString(), QString());
}

TEST_F(FlexGridWidgetTest, addItemErscheintInDerTabelle)
{
    Fuellen(m_grid, {QStringLiteral("Zeit|Text"), QStringLiteral("|")});
    ASSERT_TRUE(m_grid.AddItem(QStringLiteral("07.12.2026 08:15:00\tStart"), 1));
    EXPECT_EQ(m_grid.rowCount(), 2);
    EXPECT_EQ(tabellenText(0, 0), QStringLiteral("07.12.2026 08:15:00"));
    EXPECT_EQ(tabellenText(0, 1), QStringLiteral("Start"));
    EXPECT_EQ(tabellenText(1, 0), QString());
}

TEST_F(FlexGridWidgetTest, spaltenbreiteNullVerstecktDieSpalte)
{
    m_grid.setCols(3);
    ASSERT_TRUE(m_grid.setColWidth(1, 0));
    EXPECT_TRUE(m_grid.isColumnHidden(1));
    ASSERT_TRUE(m_grid.setColWidth(1, 1500));
    EXPECT_FALSE(m_grid.isColumnHidden(1));
    EXPECT_EQ(m_grid.columnWidth(1), 100);
}

TEST_F(FlexGridWidgetTest, zellenSindFuerDenBenutzerNichtEditierbar)
{
    EXPECT_EQ(m_grid.editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(FlexGridWidgetTest, auswahlDesProgrammsWirdInDerTabelleGezeigt)
{
    Fuellen(m_grid, {QStringLiteral("K|L|M"), QStringLiteral("a|b|c"), QStringLiteral("d|e|f")});
    m_grid.setRow(2);
    m_grid.setCol(0);
    m_grid.setColSel(2);
    EXPECT_EQ(m_grid.currentRow(), 1);
    EXPECT_EQ(m_grid.currentColumn(), 0);
    const QList<QTableWidgetSelectionRange> bereiche = m_grid.selectedRanges();
    ASSERT_EQ(bereiche.size(), 1);
    EXPECT_EQ(bereiche[0].topRow(), 1);
    EXPECT_EQ(bereiche[0].bottomRow(), 1);
    EXPECT_EQ(bereiche[0].leftColumn(), 0);
    EXPECT_EQ(bereiche[0].rightColumn(), 2);
}

TEST_F(FlexGridWidgetTest, ganzesGitterAusgewaehltZeigtAlleTabellenzeilen)
{
    Fuellen(m_grid, {QStringLiteral("K|L"), QStringLiteral("a|b"), QStringLiteral("c|d")});
    m_grid.setRow(0);
    m_grid.setCol(0);
    m_grid.setRowSel(m_grid.Rows() - 1);
    m_grid.setColSel(m_grid.Cols() - 1);
    const QList<QTableWidgetSelectionRange> bereiche = m_grid.selectedRanges();
    ASSERT_EQ(bereiche.size(), 1);
    EXPECT_EQ(bereiche[0].rowCount(), 2);
    EXPECT_EQ(bereiche[0].columnCount(), 2);
    EXPECT_EQ(m_grid.Clip(), QStringLiteral("K\tL\ra\tb\rc\td"));
}

TEST_F(FlexGridWidgetTest, auswahlDesBenutzersSetztRowColUndRowSel)
{
    Fuellen(m_grid, {QStringLiteral("K|L|M"), QStringLiteral("a|b|c"), QStringLiteral("d|e|f")});
    int betreten = 0;
    QObject::connect(&m_grid, &FlexGridWidget::zelleBetreten, [&betreten] { ++betreten; });
    m_grid.setCurrentCell(1, 2);
    m_grid.setRangeSelected(QTableWidgetSelectionRange(0, 1, 1, 2), true);
    EXPECT_EQ(m_grid.Row(), 2);
    EXPECT_EQ(m_grid.Col(), 2);
    EXPECT_EQ(m_grid.RowSel(), 1);
    EXPECT_EQ(m_grid.ColSel(), 1);
    EXPECT_EQ(m_grid.Text(), QStringLiteral("f"));
    EXPECT_EQ(betreten, 1);
}

TEST_F(FlexGridWidgetTest, zeileEinfuegenBewegtDieAktuelleZelleNicht)
{
    Fuellen(m_grid, {QStringLiteral("K"), QStringLiteral("a"), QStringLiteral("b")});
    m_grid.setRow(1);
    m_grid.AddItem(QStringLiteral("neu"), 1);
    EXPECT_EQ(m_grid.Row(), 1);
    EXPECT_EQ(m_grid.currentRow(), 0);
    EXPECT_EQ(m_grid.Text(), QStringLiteral("neu"));
}

TEST_F(FlexGridWidgetTest, textbreiteFolgtDerSchrift)
{
    const QString text = QStringLiteral("Wärmezähler");
    const int klein = m_grid.TextBreiteTwips(text);
    QFont gross = m_grid.font();
    gross.setPointSize(gross.pointSize() * 3);
    m_grid.setFont(gross);
    EXPECT_GT(m_grid.TextBreiteTwips(text), klein);
    EXPECT_EQ(m_grid.TextBreiteTwips(text) % FlexGrid::kTwipsJePixel, 0);
}

TEST_F(FlexGridWidgetTest, spaltenbreitenGebenEinemLangenTextEineBreitereSpalte)
{
    Fuellen(m_grid, {QStringLiteral("Nr|Text"),
                     QStringLiteral("1|Ein recht langer Text in der zweiten Spalte")});
    FlexGridSpaltenbreiten(m_grid);
    EXPECT_GT(m_grid.columnWidth(1), 2 * m_grid.columnWidth(0));
    EXPECT_EQ(m_grid.ColWidth(1), m_grid.TextBreiteTwips(QStringLiteral(
                                      "AAEin recht langer Text in der zweiten Spalte")));
}

TEST_F(FlexGridWidgetTest, zellenRechteckLiegtUeberDerAktuellenZelle)
{
    Fuellen(m_grid, {QStringLiteral("K|L"), QStringLiteral("a|b"), QStringLiteral("c|d")});
    m_grid.resize(400, 300);
    m_grid.show();
    m_grid.setColWidth(0, 1500);
    m_grid.setRow(2);
    m_grid.setCol(1);
    const QRect zelle = m_grid.zellenRechteck();
    EXPECT_EQ(zelle.width(), m_grid.columnWidth(1));
    EXPECT_EQ(zelle.height(), m_grid.rowHeight(1));
    const QRect sicht = m_grid.visualItemRect(m_grid.item(1, 1))
                            .translated(m_grid.viewport()->geometry().topLeft());
    EXPECT_EQ(zelle.topLeft(), sicht.topLeft());
    EXPECT_EQ(m_grid.CellLeft(), zelle.x() * FlexGrid::kTwipsJePixel);

    m_grid.setRow(0);
    EXPECT_EQ(m_grid.zellenRechteck().height(), m_grid.horizontalHeader()->height());
}
