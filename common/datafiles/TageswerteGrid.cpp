// Listing a table of readings in a grid.

#include "datafiles/Tageswerte.h"

#include "grid/FlexGrid.h"
#include "platform/Global.h"
#include "text/Texte.h"
#include "text/Zeit.h"

#include <limits>

namespace {

constexpr int kSpalten = 7;
constexpr int kDatumBreite = 2100;

// The date text of a time held as a number ("" when it is no UnixZeit).
QString DatumText(double zeit)
{
    if (!(zeit >= 0 && zeit <= std::numeric_limits<UnixZeit>::max()))
        return {};
    UnixZeit sekunden = UnixZeit(zeit);
    return UnixZeitAlsText(sekunden);
}

} // namespace

void RB6_TagesTabelleAnzeigen(FlexGrid& grid, const RB6_Tabelle& tabelle)
{
    grid.setCols(kSpalten);
    const QStringList titel{QStringLiteral("Nr"),          QStringLiteral("Datum"),
                            QStringLiteral("Z-Stand Neu"), QStringLiteral("Datum"),
                            QStringLiteral("Z-Stand Alt"), QStringLiteral("Diff"),
                            QStringLiteral("Diff Tm")};
    for (int spalte = 0; spalte < kSpalten; ++spalte)
        grid.setTextMatrix(0, spalte, titel[spalte]);
    grid.setColWidth(1, kDatumBreite);
    grid.setColWidth(3, kDatumBreite);

    // Down to the header row and one empty row, then one row per table row.
    grid.setRows(2);
    grid.AddItem(QString(), 1);
    grid.AddItem(QString(), 1);
    grid.setRows(2);
    if (tabelle.size() + 1 > FlexGrid::kMaxZeilen || !grid.setRows(int(tabelle.size()) + 1)) {
        FehlerText = grid.letzterFehler().isEmpty()
                         ? QStringLiteral("Zu viele Zeilen für die Liste: %1").arg(tabelle.size())
                         : grid.letzterFehler();
        return;
    }
    grid.setCols(kSpalten);

    for (qsizetype i = 0; i < tabelle.size(); ++i) {
        const RB6_Zeile& zeile = tabelle[i];
        if (!(zeile[0] > 0))
            continue;
        const int r = int(i) + 1;
        grid.setTextMatrix(r, 0, QString::number(i));
        grid.setTextMatrix(r, 1, DatumText(zeile[0]));
        grid.setTextMatrix(r, 2, ZahlAlsText(zeile[1]));
        grid.setTextMatrix(r, 3, DatumText(zeile[2]));
        grid.setTextMatrix(r, 4, ZahlAlsText(zeile[3]));
        grid.setTextMatrix(r, 5, ZahlAlsText(zeile[1] - zeile[3]));
        grid.setTextMatrix(r, 6, ZahlAlsText(zeile[0] - zeile[2]));
    }
}
