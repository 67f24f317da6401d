// Listing the records of a value file in a grid.

#include "datafiles/RB6Intern.h"
#include "datafiles/RB6Wertdatei.h"
#include "datafiles/Wertdatei.h"
#include "grid/FlexGrid.h"
#include "platform/Global.h"
#include "text/Texte.h"

namespace {

constexpr int kSpalten = 6;

int Fehler(int status, const QString& grund, const QString& datei)
{
    FehlerText = grund + QStringLiteral(": ") + datei;
    return status;
}

// Row 0 (the headings) stays; rows 1 on are made empty, so nothing of an earlier listing
// stays in a cell left unset.
bool GridVorbereiten(FlexGrid& grid, int zeilen)
{
    if (!grid.setCols(kSpalten) || !grid.setRows(1) || !grid.setRows(zeilen)) {
        FehlerText = grid.letzterFehler();
        return false;
    }
    return true;
}

void ZeileFuellen(FlexGrid& grid, int zeile, qint64 satz, const RB6_Satz& wert,
                  const RB6_Satz& vorher)
{
    UnixZeit zeit = wert.Tm;
    grid.setTextMatrix(zeile, 0, QString::number(satz));
    grid.setTextMatrix(zeile, 1, UnixZeitAlsText(zeit));
    grid.setTextMatrix(zeile, 2, QString::number(wert.Tm));
    grid.setTextMatrix(zeile, 3, ZahlAlsText(wert.Wert));
    if (vorher.Tm > 0 && wert.Tm > 0) {
        grid.setTextMatrix(zeile, 4, QString::number(qint64(wert.Tm) - vorher.Tm));
        grid.setTextMatrix(zeile, 5, ZahlAlsText(wert.Wert - vorher.Wert));
    }
}

} // namespace

int RB6_DateiInGrid(qint32 lznr, qint32 ersterSatz, qint32 letzterSatz, FlexGrid& grid,
                    qint32 index)
{
    FehlerText.clear();
    const QString name = RB6_DateiName(DBPath, lznr, index);
    Wertdatei datei(name);
    if (!datei.oeffnenLesen()) {
        RB6_DateifehlerMelden(datei);
        return -1;
    }
    if (datei.groesse() == 0) {
        datei.loeschen();
        return Fehler(-1, QStringLiteral("Leere Wertdatei gelöscht"), name);
    }
    // This is a look at the raw records (the header too), so the header is not required to
    // be valid; the range is only cut to the records the file has.
    const qint64 letzter = qMin<qint64>(letzterSatz, datei.saetze());
    if (ersterSatz < 1 || letzter < ersterSatz)
        return Fehler(
            -3, QStringLiteral("Keine Sätze von %1 bis %2").arg(ersterSatz).arg(letzterSatz), name);
    const qint64 anzahl = letzter - ersterSatz + 1;
    if (anzahl + 1 > FlexGrid::kMaxZeilen)
        return Fehler(-4, QStringLiteral("Zu viele Sätze für die Liste (%1)").arg(anzahl), name);

    QList<RB6_Satz> saetze;
    if (!datei.saetzeLesen(ersterSatz, anzahl, saetze)) {
        RB6_DateifehlerMelden(datei);
        return -4;
    }
    if (!GridVorbereiten(grid, int(anzahl + 1)))
        return -4;
    for (qint64 i = 1; i < anzahl; ++i)
        ZeileFuellen(grid, int(i), ersterSatz + i, saetze[i], saetze[i - 1]);
    return 0;
}
