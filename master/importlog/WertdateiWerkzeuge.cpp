#include "WertdateiWerkzeuge.h"

#include "LogZeile.h"

#include "datafiles/RB6Wertdatei.h"
#include "datafiles/Tageswerte.h"
#include "grid/FlexGrid.h"
#include "platform/Global.h"
#include "text/Texte.h"

#include <QElapsedTimer>

#include <cmath>
#include <limits>

namespace WertdateiWerkzeuge {

const QStringList kPeakTitel{QStringLiteral("Peak-Nr"), QStringLiteral("Tm"),
                             QStringLiteral("Time"),    QStringLiteral("Diff-Tm"),
                             QStringLiteral("Verb"),    QStringLiteral("Z-Stand")};

namespace {

constexpr int kTagesZeilen = 97;

WerkzeugErgebnis Ergebnis(const QString& was, int rc)
{
    QString text = was + QStringLiteral(" rc= ") + QString::number(rc);
    if (rc != 0 && !FehlerText.isEmpty())
        text += QStringLiteral(": ") + FehlerText;
    return {rc, text};
}

void Leeren(FlexGrid& grid)
{
    grid.setRows(qMin(grid.Rows(), 2));
    grid.Clear();
}

} // namespace

qint32 ZahlAusBox(const QString& text)
{
    const double wert = std::nearbyint(LogVal(text));
    if (!(wert > std::numeric_limits<qint32>::min() && wert < std::numeric_limits<qint32>::max()))
        return 0;
    return qint32(wert);
}

QString dateiName(const QString& lznr, const QString& index)
{
    return RB6_DateiName(DBPath, ZahlAusBox(lznr), ZahlAusBox(index));
}

WerkzeugErgebnis testdateiErzeugen(const QString& lznr, const QString& index,
                                   const QString& bloecke)
{
    QElapsedTimer uhr;
    uhr.start();
    const int rc = RB6_DateiAnlegen(DBPath, ZahlAusBox(lznr), ZahlAusBox(index),
                                    ZahlAusBox(bloecke), 1, 1, 0, 0);
    const double sekunden = double(uhr.nsecsElapsed()) / 1e9;
    return {rc, QStringLiteral("rc= ") + QString::number(rc) + QStringLiteral(" in ") +
                    ZahlAlsText(sekunden) + QStringLiteral(" Sec")};
}

WerkzeugErgebnis datInfoLesen(const QString& lznr, const QString& index, FlexGrid& grid)
{
    Leeren(grid);
    const int rc = RB6_DateiInGrid(ZahlAusBox(lznr), ZahlAusBox(index), 10, grid, 1);
    return Ergebnis(QStringLiteral("DatInfoLesen"), rc);
}

WerkzeugErgebnis lesen(const QString& lznr, const QString& von, const QString& bis, FlexGrid& grid)
{
    Leeren(grid);
    const int rc = RB6_DateiInGrid(ZahlAusBox(lznr), ZahlAusBox(von), ZahlAusBox(bis), grid, 1);
    return Ergebnis(QStringLiteral("Lesen"), rc);
}

WerkzeugErgebnis suchePos(const QString& lznr, const QString& index, const QString& von,
                          const QString& bis, FlexGrid& grid)
{
    UnixZeit anfang = LogZeitLesen(von);
    UnixZeit ende = LogZeitLesen(bis);
    RB6_Tabelle tabelle;
    const int rc = RB6_WerteLesen(ZahlAusBox(lznr), anfang, ende, tabelle, 60, ZahlAusBox(index));
    Leeren(grid);
    if (rc == 0 && !tabelle.isEmpty())
        RB6_TagesTabelleAnzeigen(grid, tabelle);
    return Ergebnis(QStringLiteral("SuchePos"), rc);
}

WerkzeugErgebnis leseTag(const QString& lznr, const QString& index, const QString& tag,
                         FlexGrid& peaks, FlexGrid& tabelle)
{
    const qint32 meter = ZahlAusBox(lznr);
    const qint32 idx = ZahlAusBox(index);
    Leeren(peaks);
    Leeren(tabelle);
    peaks.setRows(1);
    peaks.setCols(kPeakTitel.size());
    for (int spalte = 0; spalte < kPeakTitel.size(); ++spalte)
        peaks.setTextMatrix(0, spalte, kPeakTitel[spalte]);

    UnixZeit anfang = LogZeitLesen(tag);
    if (anfang <= 0) {
        FehlerText = QStringLiteral("Kein Datum: ") + tag;
        return Ergebnis(QStringLiteral("Lese Tag"), -1);
    }
    UnixZeit ende = anfang + 86400;
    RB6_Tabelle roh;
    if (RB6_WerteLesen(meter, anfang, ende, roh, 60, idx) == 0 && !roh.isEmpty())
        RB6_TagesTabelleAnzeigen(tabelle, roh);

    RB6_Tabelle tagesWerte(kTagesZeilen, RB6_Zeile{});
    UnixZeit mitternacht = anfang - anfang % 86400;
    const QString tagText = UnixZeitInDatum(mitternacht).toString(QStringLiteral("dd.MM.yyyy"));
    const int rc = RB6_ReadPeakDatenTG(meter, tagText, tagesWerte, kTageswerteRaster, idx, 0);
    if (rc != 0)
        return Ergebnis(QStringLiteral("Lese Tag"), rc);
    peaks.setRows(kTagesZeilen + 1);
    peaks.setCols(kPeakTitel.size());
    for (int r = 0; r < kTagesZeilen && r < tagesWerte.size(); ++r) {
        const RB6_Zeile& zeile = tagesWerte[r];
        UnixZeit zeit = UnixZeit(qBound<double>(0, zeile[0], std::numeric_limits<UnixZeit>::max()));
        peaks.setTextMatrix(r + 1, 0, QString::number(r));
        peaks.setTextMatrix(r + 1, 1, QString::number(qint64(zeile[0])));
        peaks.setTextMatrix(r + 1, 2, UnixZeitAlsText(zeit));
        peaks.setTextMatrix(r + 1, 3, ZahlAlsText(zeile[1]));
        peaks.setTextMatrix(r + 1, 4, ZahlAlsText(zeile[2]));
        peaks.setTextMatrix(r + 1, 5, ZahlAlsText(zeile[3]));
    }
    return Ergebnis(QStringLiteral("Lese Tag"), 0);
}

} // namespace WertdateiWerkzeuge
