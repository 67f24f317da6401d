#include "IndexExportRaster.h"

#include "grid/FlexGrid.h"
#include "grid/GridHilfen.h"

#include <algorithm>

void InitGridIndex(FlexGrid& grid)
{
    grid.setRows(2);
    grid.setCols(3);
    const int breiten[] = {0, 1000, 5000};
    const char* const titel[] = {"", "Index", "Text"};
    for (int spalte = 0; spalte < 3; ++spalte) {
        grid.setColWidth(spalte, breiten[spalte]);
        grid.setTextMatrix(0, spalte, QString::fromUtf8(titel[spalte]));
    }
    grid.setTextMatrix(1, 1, QStringLiteral("hhh"));
}

void InitGrid(FlexGrid& grid)
{
    static const char* const titel[] = {"ZQUELLE",  "LZNR",     "MBus Adresse",
                                        "Com Port", "Baudrate", "Zählername",
                                        "Index",    "MBZStand", "Zählernummer"};
    grid.setRows(2);
    grid.setRow(0);
    grid.setCols(18);
    for (int spalte = 0; spalte < 9; ++spalte) {
        grid.setTextMatrix(0, spalte, QString::fromUtf8(titel[spalte]));
        if (spalte == 4)
            grid.setColWidth(spalte, 2000);
        else if (spalte >= 5)
            grid.setColWidth(spalte, 1000);
    }
    grid.setCols(9);
    grid.setColWidth(0, 0);
    grid.setColWidth(1, 0);
}

void GridLeeren(FlexGrid& grid)
{
    grid.AddItem(QString(), 1);
    grid.AddItem(QString(), 1);
    grid.setRows(2);
    for (int spalte = 0; spalte < grid.Cols(); ++spalte)
        grid.setTextMatrix(1, spalte, QString());
}

bool ZaehlerListeZeigen(FlexGrid& grid, const QList<QStringList>& liste)
{
    GridLeeren(grid);
    InitGrid(grid);
    // "no meter" is one row with one empty text; any real row carries every column
    const bool zaehler = !liste.isEmpty() && liste.first().size() > 1;
    if (!zaehler)
        return false;
    ArrayInFlexGrid(grid, liste);
    FlexGridSpaltenbreiten(grid);
    for (int spalte : {0, 1, 6, 7})
        grid.setColWidth(spalte, 0);
    grid.setRow(1);
    ZeileMarkieren(grid);
    return true;
}

void ZeileMarkieren(FlexGrid& grid)
{
    const int zeile = grid.Row();
    grid.setCol(0);
    grid.setRow(zeile);
    grid.setRowSel(zeile);
    grid.setColSel(grid.Cols() - 1);
}

std::optional<int> ZaehlerNummer(const FlexGrid& grid, int zeile)
{
    if (zeile < 1 || zeile >= grid.Rows())
        return std::nullopt;
    return IndexWert(grid.TextMatrix(zeile, kLznrSpalte));
}

void IndexZeilenZeigen(FlexGrid& grid, const QList<IndexExportZeile>& zeilen)
{
    GridLeeren(grid);
    if (zeilen.isEmpty())
        return;
    grid.setRows(static_cast<int>(zeilen.size()) + 1);
    for (int k = 1; k <= zeilen.size(); ++k) {
        const IndexExportZeile& zeile = zeilen[k - 1];
        grid.setTextMatrix(k, 0, zeile.lznr);
        grid.setTextMatrix(k, kIndexSpalte, zeile.index);
        grid.setTextMatrix(k, kTextSpalte, zeile.text);
    }
}

QList<IndexExportZeile> IndexZeilenAusGrid(const FlexGrid& grid)
{
    QList<IndexExportZeile> zeilen;
    for (int zeile = 1; zeile < grid.Rows(); ++zeile)
        zeilen.append({grid.TextMatrix(zeile, 0), grid.TextMatrix(zeile, kIndexSpalte),
                       grid.TextMatrix(zeile, kTextSpalte)});
    return zeilen;
}

QStringList UngueltigeIndexe(const QList<IndexExportZeile>& zeilen)
{
    QStringList ungueltig;
    for (int i = 0; i < zeilen.size(); ++i) {
        const QString& index = zeilen[i].index;
        const QString& text = zeilen[i].text;
        if (index.trimmed().isEmpty()) {
            if (!text.trimmed().isEmpty())
                ungueltig
                    << QStringLiteral("Zeile %1: kein Index zum Text \"%2\"").arg(i + 1).arg(text);
            continue;
        }
        const std::optional<int> wert = IndexWert(index);
        if (!wert || *wert < 0)
            ungueltig << QStringLiteral("Zeile %1: %2").arg(i + 1).arg(index);
    }
    return ungueltig;
}

QString ZwischenablageText(const FlexGrid& grid)
{
    QString text;
    for (int zeile = 0; zeile < grid.Rows(); ++zeile) {
        for (int spalte = 0; spalte < grid.Cols(); ++spalte) {
            if (spalte > 0)
                text += u'\t';
            text += grid.TextMatrix(zeile, spalte);
        }
        text += u'\n';
    }
    return text;
}

Zelle NaechsteZelle(EditorTaste taste, Zelle von, int zeilen, int spalten)
{
    const int letzteZeile = zeilen - 1;
    const int letzteSpalte = spalten - 1;
    Zelle nach = von;
    switch (taste) {
    case EditorTaste::Rechts:
    case EditorTaste::Tab:
        if (von.spalte >= letzteSpalte && von.zeile < letzteZeile)
            nach = {von.zeile + 1, 1};
        else if (von.spalte < letzteSpalte)
            nach.spalte = von.spalte + 1;
        break;
    case EditorTaste::Links:
        if (von.spalte <= 1 && von.zeile > 1)
            nach = {von.zeile - 1, letzteSpalte};
        else if (von.spalte > 1)
            nach.spalte = von.spalte - 1;
        break;
    case EditorTaste::Hoch:
        if (von.zeile > 1)
            nach.zeile = von.zeile - 1;
        break;
    case EditorTaste::Runter:
    case EditorTaste::Eingabe:
        if (von.zeile < letzteZeile)
            nach.zeile = von.zeile + 1;
        break;
    }
    nach.zeile = std::clamp(nach.zeile, 1, std::max(1, letzteZeile));
    nach.spalte = std::clamp(nach.spalte, 1, std::max(1, letzteSpalte));
    return nach;
}
