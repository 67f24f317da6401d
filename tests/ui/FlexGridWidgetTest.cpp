#include "grid/FlexGridVerhalten.h"

#include "grid/GridHilfen.h"
#include "ui/FlexGridWidget.h"

#include <QHeaderView>

INSTANTIATE_TYPED_TEST_SUITE_P(Widget, FlexGridVerhalten, FlexGridWidget);

class FlexGridWidgetTest : public TestUmgebung
{
protected:
    // The table as shown: the header texts first, then the rows, as "a|b".
    QStringList angezeigt() const
    {
        QStringList zeilen;
        for (int z = -1; z < m_grid.rowCount(); ++z) {
            QStringList zellen;
            for (int s = 0; s < m_grid.columnCount(); ++s) {
                const QTableWidgetItem* e =
                    z < 0 ? m_grid.horizontalHeaderItem(s) : m_grid.item(z, s);
                zellen << (e ? e->text() : QString());
            }
            zeilen << (z < 0 && m_grid.horizontalHeader()->isHidden() ? "-" : zellen.join(u'|'));
        }
        return zeilen;
    }

    FlexGridWidget m_grid;
};

TEST_F(FlexGridWidgetTest, festeZeileIstDerSpaltenkopfBreiteNullVerstecktKeineEingabe)
{
    Fuellen(m_grid, {"Index|Wert", "1|12,5"});
    ASSERT_TRUE(m_grid.AddItem("2\t7"));
    EXPECT_EQ(angezeigt(), QStringList({"Index|Wert", "1|12,5", "2|7"}));
    ASSERT_TRUE(m_grid.setFixedRows(0));
    EXPECT_EQ(angezeigt(), QStringList({"-", "Index|Wert", "1|12,5", "2|7"}));
    ASSERT_TRUE(m_grid.setFixedRows(1) && m_grid.setCols(3)); // no column numbers
    EXPECT_EQ(angezeigt(), QStringList({"Index|Wert|", "1|12,5|", "2|7|"}));
    EXPECT_EQ(m_grid.model()->headerData(2, Qt::Horizontal).toString(), QString());
    EXPECT_EQ(m_grid.editTriggers(), QAbstractItemView::NoEditTriggers);
    ASSERT_TRUE(m_grid.setColWidth(1, 0));
    EXPECT_TRUE(m_grid.isColumnHidden(1));
    ASSERT_TRUE(m_grid.setColWidth(1, 1500));
    EXPECT_FALSE(m_grid.isColumnHidden(1));
    EXPECT_EQ(m_grid.columnWidth(1), 100);
}

TEST_F(FlexGridWidgetTest, auswahlDesProgrammsWirdInDerTabelleGezeigt)
{
    Fuellen(m_grid, {"K|L|M", "a|b|c", "d|e|f"});
    Auswaehlen(m_grid, 2, 0, 2, 2);
    EXPECT_EQ(m_grid.currentRow(), 1);
    EXPECT_EQ(m_grid.currentColumn(), 0);
    ASSERT_EQ(m_grid.selectedRanges().size(), 1);
    const QTableWidgetSelectionRange bereich = m_grid.selectedRanges()[0];
    EXPECT_EQ(QList<int>({bereich.topRow(), bereich.bottomRow(), bereich.leftColumn(),
                          bereich.rightColumn()}),
              QList<int>({1, 1, 0, 2}));
    m_grid.setRow(0); // with the header row: every table row
    m_grid.setRowSel(2);
    EXPECT_EQ(m_grid.selectedRanges()[0].rowCount(), 2);
}

TEST_F(FlexGridWidgetTest, auswahlDesBenutzersSetztRowColUndRowSel)
{
    Fuellen(m_grid, {"K|L|M", "a|b|c", "d|e|f"});
    int betreten = 0;
    QObject::connect(&m_grid, &FlexGridWidget::zelleBetreten, [&betreten] { ++betreten; });
    m_grid.setCurrentCell(1, 2);
    m_grid.setRangeSelected(QTableWidgetSelectionRange(0, 1, 1, 2), true);
    EXPECT_EQ(QList<int>({m_grid.Row(), m_grid.Col(), m_grid.RowSel(), m_grid.ColSel()}),
              QList<int>({2, 2, 1, 1}));
    EXPECT_EQ(m_grid.Text(), "f");
    EXPECT_EQ(betreten, 1);
}

TEST_F(FlexGridWidgetTest, zeileEinfuegenBewegtDieAktuelleZelleNicht)
{
    Fuellen(m_grid, {"K", "a", "b"});
    m_grid.setRow(1);
    m_grid.AddItem("neu", 1);
    EXPECT_EQ(m_grid.Row(), 1);
    EXPECT_EQ(m_grid.currentRow(), 0);
    EXPECT_EQ(m_grid.Text(), "neu");
}

TEST_F(FlexGridWidgetTest, textbreiteUndSpaltenbreitenFolgenDerSchrift)
{
    const QString lang = "Ein recht langer Text in der zweiten Spalte";
    Fuellen(m_grid, {"Nr|Text", "1|" + lang});
    FlexGridSpaltenbreiten(m_grid);
    EXPECT_GT(m_grid.columnWidth(1), 2 * m_grid.columnWidth(0));
    EXPECT_EQ(m_grid.ColWidth(1), m_grid.TextBreiteTwips("AA" + lang));

    const int klein = m_grid.TextBreiteTwips(lang);
    QFont gross = m_grid.font();
    gross.setPointSize(gross.pointSize() * 3);
    m_grid.setFont(gross);
    EXPECT_GT(m_grid.TextBreiteTwips(lang), klein);
    EXPECT_EQ(m_grid.TextBreiteTwips(lang) % FlexGrid::kTwipsJePixel, 0);
}

TEST_F(FlexGridWidgetTest, zellenRechteckLiegtUeberDerAktuellenZelle)
{
    Fuellen(m_grid, {"K|L", "a|b", "c|d"});
    m_grid.resize(400, 300);
    m_grid.show();
    m_grid.setColWidth(0, 1500);
    m_grid.setRow(2);
    m_grid.setCol(1);
    const QRect zelle = m_grid.zellenRechteck();
    EXPECT_EQ(zelle.size(), QSize(m_grid.columnWidth(1), m_grid.rowHeight(1)));
    const QRect sicht = m_grid.visualItemRect(m_grid.item(1, 1))
                            .translated(m_grid.viewport()->geometry().topLeft());
    EXPECT_EQ(zelle.topLeft(), sicht.topLeft());
    EXPECT_EQ(m_grid.CellLeft(), zelle.x() * FlexGrid::kTwipsJePixel);

    m_grid.setRow(0);
    EXPECT_EQ(m_grid.zellenRechteck().height(), m_grid.horizontalHeader()->height());
}
