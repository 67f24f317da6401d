#include "FlexGridWidget.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// Paints the fixed cells below the header and in the fixed columns greyed.
class FesteZellenDelegate : public QStyledItemDelegate
{
public:
    explicit FesteZellenDelegate(FlexGridWidget* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const int festeTabellenZeilen = std::max(m_grid->FixedRows() - 1, 0);
        if (index.column() < m_grid->FixedCols() || index.row() < festeTabellenZeilen)
            option->backgroundBrush = m_grid->palette().button();
    }

private:
    FlexGridWidget* m_grid = nullptr;
};

} // namespace

FlexGridWidget::FlexGridWidget(QWidget* parent) : QTableWidget(parent)
{
    setEditTriggers(NoEditTriggers);
    setSelectionMode(ContiguousSelection);
    setSelectionBehavior(SelectItems);
    setWordWrap(false);
    setItemDelegate(new FesteZellenDelegate(this));
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultSectionSize(kStandardBreiteTwips / kTwipsJePixel);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    zeilenHoeheAnpassen();

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FlexGridWidget::benutzerAuswahlUebernehmen);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FlexGridWidget::benutzerAuswahlUebernehmen);
    connect(this, &QTableWidget::cellClicked, this, &FlexGridWidget::geklickt);
    connect(this, &QTableWidget::cellDoubleClicked, this, &FlexGridWidget::doppelGeklickt);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &FlexGridWidget::gescrollt);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &FlexGridWidget::gescrollt);

    spaltenAnzahlAendern(2);
    zeilenAnzahlAendern(2);
    auswahlAnzeigen();
}

int FlexGridWidget::TextBreiteTwips(const QString& text) const
{
    return QFontMetrics(font()).horizontalAdvance(text) * kTwipsJePixel;
}

QRect FlexGridWidget::zellenRechteck() const
{
    if (Rows() == 0 || Cols() == 0)
        return {};
    const int spalte = Col();
    const int x = viewport()->geometry().x() + columnViewportPosition(spalte);
    const int breite = isColumnHidden(spalte) ? 0 : columnWidth(spalte);
    if (Row() < kopf()) {
        const QRect kopfzeile = horizontalHeader()->geometry();
        return QRect(x, kopfzeile.y(), breite, kopfzeile.height());
    }
    const int zeile = Row() - kopf();
    return QRect(x, viewport()->geometry().y() + rowViewportPosition(zeile), breite,
                 rowHeight(zeile));
}

int FlexGridWidget::CellLeft() const
{
    return zellenRechteck().x() * kTwipsJePixel;
}

int FlexGridWidget::CellTop() const
{
    return zellenRechteck().y() * kTwipsJePixel;
}

int FlexGridWidget::CellWidth() const
{
    return zellenRechteck().width() * kTwipsJePixel;
}

int FlexGridWidget::CellHeight() const
{
    return zellenRechteck().height() * kTwipsJePixel;
}

int FlexGridWidget::zeilenAnzahl() const
{
    return rowCount() + kopf();
}

int FlexGridWidget::spaltenAnzahl() const
{
    return columnCount();
}

void FlexGridWidget::zeilenAnzahlAendern(int anzahl)
{
    const QScopedValueRollback intern(m_intern, true);
    setRowCount(anzahl - kopf());
}

void FlexGridWidget::spaltenAnzahlAendern(int anzahl)
{
    const QScopedValueRollback intern(m_intern, true);
    const int alt = columnCount();
    setColumnCount(anzahl);
    for (int s = alt; s < anzahl; ++s) {
        setHorizontalHeaderItem(s, new QTableWidgetItem);
        setColumnHidden(s, false);
        setColumnWidth(s, horizontalHeader()->defaultSectionSize());
    }
}

void FlexGridWidget::festeZeilenAendern(int anzahl)
{
    const bool vorher = kopf() > 0;
    m_festeZeilen = anzahl;
    const bool nachher = kopf() > 0;
    if (vorher != nachher)
        kopfzeileTauschen(nachher);
    horizontalHeader()->setVisible(nachher);
    viewport()->update();
}

void FlexGridWidget::festeSpaltenAendern(int anzahl)
{
    m_festeSpalten = anzahl;
    viewport()->update();
}

QString FlexGridWidget::zelle(int zeile, int spalte) const
{
    const QTableWidgetItem* eintrag =
        zeile < kopf() ? horizontalHeaderItem(spalte) : item(zeile - kopf(), spalte);
    return eintrag ? eintrag->text() : QString();
}

void FlexGridWidget::zelleAendern(int zeile, int spalte, const QString& text)
{
    if (zeile < kopf()) {
        kopfEintrag(spalte)->setText(text);
        return;
    }
    if (QTableWidgetItem* eintrag = item(zeile - kopf(), spalte))
        eintrag->setText(text);
    else if (!text.isEmpty())
        setItem(zeile - kopf(), spalte, new QTableWidgetItem(text));
}

void FlexGridWidget::zeileEinfuegen(int zeile)
{
    const QScopedValueRollback intern(m_intern, true);
    if (zeile < kopf())
        kopfzeileTauschen(false); // the new row 0 is the header, the old one moves down
    else
        insertRow(zeile - kopf());
}

void FlexGridWidget::zeileEntfernen(int zeile)
{
    const QScopedValueRollback intern(m_intern, true);
    removeRow(zeile - kopf());
}

void FlexGridWidget::zellenLeeren()
{
    const QScopedValueRollback intern(m_intern, true);
    clearContents();
    for (int s = 0; s < columnCount(); ++s)
        if (QTableWidgetItem* eintrag = horizontalHeaderItem(s))
            eintrag->setText(QString());
}

int FlexGridWidget::spaltenBreite(int spalte) const
{
    return isColumnHidden(spalte) ? 0 : columnWidth(spalte) * kTwipsJePixel;
}

void FlexGridWidget::spaltenBreiteAendern(int spalte, int twips)
{
    const QScopedValueRollback intern(m_intern, true);
    const int pixel =
        twips == kStandardBreite ? horizontalHeader()->defaultSectionSize() : twips / kTwipsJePixel;
    if (pixel < 1) {
        setColumnHidden(spalte, true);
        return;
    }
    setColumnHidden(spalte, false);
    setColumnWidth(spalte, pixel);
}

void FlexGridWidget::auswahlAnzeigen()
{
    const QScopedValueRollback intern(m_intern, true);
    QItemSelectionModel* auswahl = selectionModel();
    const int oben = std::min(Row(), RowSel()) - kopf();
    const int unten = std::max(Row(), RowSel()) - kopf();
    const int links = std::min(Col(), ColSel());
    const int rechts = std::max(Col(), ColSel());
    if (unten < 0 || rowCount() == 0 || columnCount() == 0) {
        auswahl->clear();
        return;
    }
    // Only the user's moves bring the current cell into view, as with the grid control.
    const bool rollen = hasAutoScroll();
    setAutoScroll(false);
    auswahl->setCurrentIndex(model()->index(std::max(Row() - kopf(), 0), Col()),
                             QItemSelectionModel::NoUpdate);
    auswahl->select(
        QItemSelection(model()->index(std::max(oben, 0), links), model()->index(unten, rechts)),
        QItemSelectionModel::ClearAndSelect);
    setAutoScroll(rollen);
}

void FlexGridWidget::aktuelleZelleGewechselt()
{
    emit zelleBetreten();
}

void FlexGridWidget::changeEvent(QEvent* ereignis)
{
    QTableWidget::changeEvent(ereignis);
    if (ereignis->type() == QEvent::FontChange)
        zeilenHoeheAnpassen();
}

QTableWidgetItem* FlexGridWidget::kopfEintrag(int spalte)
{
    QTableWidgetItem* eintrag = horizontalHeaderItem(spalte);
    if (!eintrag) {
        eintrag = new QTableWidgetItem;
        setHorizontalHeaderItem(spalte, eintrag);
    }
    return eintrag;
}

void FlexGridWidget::kopfzeileTauschen(bool inDenKopf)
{
    const QScopedValueRollback intern(m_intern, true);
    if (inDenKopf) {
        for (int s = 0; s < columnCount(); ++s) {
            const QTableWidgetItem* eintrag = item(0, s);
            kopfEintrag(s)->setText(eintrag ? eintrag->text() : QString());
        }
        removeRow(0);
        return;
    }
    insertRow(0);
    for (int s = 0; s < columnCount(); ++s) {
        QTableWidgetItem* kopfzelle = kopfEintrag(s);
        if (!kopfzelle->text().isEmpty())
            setItem(0, s, new QTableWidgetItem(kopfzelle->text()));
        kopfzelle->setText(QString());
    }
}

void FlexGridWidget::benutzerAuswahlUebernehmen()
{
    if (m_intern)
        return;
    const QModelIndex aktuell = currentIndex();
    if (!aktuell.isValid())
        return;
    const int zeile = aktuell.row();
    const int spalte = aktuell.column();
    int zeileBis = zeile;
    int spalteBis = spalte;
    const QList<QTableWidgetSelectionRange> bereiche = selectedRanges();
    for (const QTableWidgetSelectionRange& b : bereiche) {
        if (zeile < b.topRow() || zeile > b.bottomRow() || spalte < b.leftColumn() ||
            spalte > b.rightColumn())
            continue;
        zeileBis = zeile == b.topRow() ? b.bottomRow() : b.topRow();
        spalteBis = spalte == b.leftColumn() ? b.rightColumn() : b.leftColumn();
        break;
    }
    auswahlUebernehmen(zeile + kopf(), spalte, zeileBis + kopf(), spalteBis);
}

void FlexGridWidget::zeilenHoeheAnpassen()
{
    verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 4);
}
