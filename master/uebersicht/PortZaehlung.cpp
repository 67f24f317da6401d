#include "PortZaehlung.h"

#include "database/Verbindung.h"
#include "grid/FlexGrid.h"
#include "grid/GridHilfen.h"
#include "platform/Global.h"
#include "text/Texte.h"

#include <cmath>

namespace {

const QString kPortsSql = QStringLiteral(
    "SELECT MBComP, COUNT(MBComP) AS AnzahlVonMBComP FROM zaehler WHERE MBComP IS NOT NULL "
    "GROUP BY MBComP ORDER BY MBComP");
const QString kBaudSql = QStringLiteral(
    "SELECT MBBaud, COUNT(MBBaud) AS AnzahlVonMBBaud FROM zaehler WHERE MBComP = ? AND MBBaud "
    "IS NOT NULL GROUP BY MBBaud ORDER BY MBBaud");

// A whole number as the field gives it (a text is read with Val and rounded).
qint64 Ganzzahl(const Feldwert& feld)
{
    return std::llround(Val(feld.text()));
}

bool BaudGruppenZaehlen(Verbindung& db, const Zykluszeiten& zeiten, PortZeile& zeile)
{
    Recordset rs = db.OpenRecordset(kBaudSql, {zeile.port});
    if (!rs.offen())
        return false;
    const double jeZaehler = zeiten.sekundenJeZaehler();
    for (; !rs.Eof(); rs.MoveNext()) {
        const qint64 baud = Ganzzahl(rs.FeldAn(0));
        const int spalte = Zykluszeiten::spalte(static_cast<int>(baud));
        const std::optional<double> fest = zeiten.gruppenSekunden(static_cast<int>(baud));
        if (spalte < 0 || !fest)
            continue;
        const qint64 anzahl = rs.FeldAn(1).ganz();
        zeile.jeBaud[static_cast<size_t>(spalte - 2)] = anzahl;
        zeile.zykluszeit =
            zeile.zykluszeit.value_or(0.0) + static_cast<double>(anzahl) * jeZaehler + *fest;
    }
    return true;
}

} // namespace

std::optional<QList<PortZeile>> PortsZaehlen(Verbindung& db, const Zykluszeiten& zeiten)
{
    FehlerText.clear();
    QList<PortZeile> ports;
    {
        Recordset rs = db.OpenRecordset(kPortsSql);
        if (!rs.offen())
            return std::nullopt;
        for (; !rs.Eof(); rs.MoveNext()) {
            PortZeile zeile;
            zeile.port = static_cast<int>(Ganzzahl(rs.FeldAn(0)));
            zeile.anzahl = rs.FeldAn(1).ganz();
            ports.append(zeile);
        }
    }
    for (PortZeile& zeile : ports)
        if (!BaudGruppenZaehlen(db, zeiten, zeile))
            return std::nullopt;
    return ports;
}

int PortsInGrid(const QList<PortZeile>& ports, FlexGrid& grid)
{
    static const char* const kKopf[] = {"Com",       "Anz Zähler", "300 Baud",  "1200 Baud",
                                        "2400 Baud", "4800 Baud",  "9600 Baud", "Zyk.Zeit [s]"};
    constexpr int kSpalten = 8;
    grid.setRows(0);
    grid.setCols(kSpalten);
    grid.setRows(2);
    grid.setFixedRows(1);
    for (int spalte = 0; spalte < kSpalten; ++spalte)
        grid.setTextMatrix(0, spalte, QString::fromUtf8(kKopf[spalte]));
    if (ports.isEmpty()) {
        FlexGridSpaltenbreiten(grid);
        return 0;
    }
    const int zeilen = static_cast<int>(ports.size()) + 1;
    grid.setRows(zeilen);
    for (int i = 1; i < zeilen; ++i) {
        const PortZeile& p = ports[i - 1];
        grid.setTextMatrix(i, 0, QString::number(p.port));
        grid.setTextMatrix(i, 1, QString::number(p.anzahl));
        for (size_t b = 0; b < p.jeBaud.size(); ++b)
            if (p.jeBaud[b])
                grid.setTextMatrix(i, static_cast<int>(b) + 2, QString::number(*p.jeBaud[b]));
        if (p.zykluszeit)
            grid.setTextMatrix(i, 7, ZahlAlsText(*p.zykluszeit));
    }
    // Every header and count readable in full.
    FlexGridSpaltenbreiten(grid);
    return zeilen;
}
