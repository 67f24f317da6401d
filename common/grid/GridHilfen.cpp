#include "GridHilfen.h"

#include "ZellenFormat.h"
#include "log/Log.h"
#include "platform/Cp1252.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "platform/Pfad.h"
#include "platform/Textdatei.h"
#include "platform/Warten.h"
#include "text/Texte.h"

#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

QString Spaltenkopf(int spalte)
{
    return QStringLiteral("Feld ") + QString::number(spalte + 1);
}

// Widens the grid to at least anzahl columns; without a header line the new columns get
// their "Feld n" heading.
bool Verbreitern(FlexGrid& grid, int anzahl, bool kopfzeile)
{
    const int alt = grid.Cols();
    if (anzahl <= alt)
        return true;
    if (!grid.setCols(anzahl))
        return false;
    if (!kopfzeile && grid.Rows() > 0)
        for (int s = alt; s < anzahl; ++s)
            grid.setTextMatrix(0, s, Spaltenkopf(s));
    return true;
}

bool ZeileSetzen(FlexGrid& grid, int zeile, const QStringList& felder)
{
    for (int s = 0; s < felder.size(); ++s)
        if (!grid.setTextMatrix(zeile, s, felder[s]))
            return false;
    return true;
}

bool Scheitern(const QString& grund)
{
    FehlerText = grund;
    return false;
}

bool ExportScheitern(const QString& datei, const QString& grund)
{
    FehlerText = grund;
    MsgBox(QStringLiteral("Fehler beim speichern der Datei ") + datei + u'\r' +
           QStringLiteral("Bitte versuchen Sie es erneut"));
    return false;
}

} // namespace

bool DateiInFlexGrid(FlexGrid& grid, const QString& datei, bool kopfzeile, const QString& trenner,
                     int spaltenAnzahl)
{
    FehlerText.clear();
    grid.setRows(0);
    grid.setCols(0);

    const QString pfad = PfadAufloesen(datei);
    QStringList zeilen;
    QString fehler;
    if (!QFileInfo(pfad).isFile())
        return Scheitern(QStringLiteral("Datei nicht gefunden: ") + datei);
    if (!TextdateiLesen(pfad, zeilen, &fehler))
        return Scheitern(fehler);

    bool erste = true;
    for (QString zeile : std::as_const(zeilen)) {
        if (zeile.trimmed().isEmpty())
            continue;
        UmlauteErsetzen(zeile);
        if (!DoEvents())
            return false;
        const QStringList felder =
            trenner.isEmpty() ? QStringList{zeile} : ZeileZerlegen(zeile, trenner);

        if (erste) {
            erste = false;
            const int spalten =
                spaltenAnzahl >= 1 ? spaltenAnzahl : static_cast<int>(felder.size());
            if (!grid.setRows(kopfzeile ? 1 : 2) || !Verbreitern(grid, spalten, true))
                return Scheitern(grid.letzterFehler());
            if (!kopfzeile)
                for (int s = 0; s < spalten; ++s)
                    grid.setTextMatrix(0, s, Spaltenkopf(s));
        } else if (!grid.setRows(grid.Rows() + 1)) {
            return Scheitern(grid.letzterFehler());
        }
        const int zeilenNummer = grid.Rows() - 1;
        if (!Verbreitern(grid, static_cast<int>(felder.size()), kopfzeile) ||
            !ZeileSetzen(grid, zeilenNummer, felder)) {
            const QString grund = grid.letzterFehler();
            grid.setRows(zeilenNummer); // the rows before the line that did not fit stay
            return Scheitern(grund);
        }
    }
    return true;
}

bool FlexGridExport(FlexGrid& grid, const QString& datei, QString& trenner, QString& formate)
{
    FehlerText.clear();
    if (trenner.isEmpty())
        trenner = QStringLiteral("\t");

    const Dateinummer nummer;
    if (!nummer.gueltig())
        return ExportScheitern(
            datei, FehlerText.isEmpty() ? QStringLiteral("Keine freie Dateinummer") : FehlerText);

    QStringList spaltenFormate;
    for (int s = 0; s < grid.Cols(); ++s)
        spaltenFormate << GetFeld(formate, s, QStringLiteral(";"));

    QByteArray inhalt;
    for (int z = 0; z < grid.Rows(); ++z) {
        QString zeile;
        for (int s = 0; s < grid.Cols(); ++s) {
            if (grid.ColWidth(s) < 2)
                continue;
            const QString& format = spaltenFormate[s];
            const QString text = grid.TextMatrix(z, s);
            zeile += format.isEmpty() ? text : ZelleFormatieren(text, format);
            zeile += trenner;
        }
        inhalt += TextZuCp1252(zeile);
        inhalt += kZeilenende;
    }

    QSaveFile datei_(PfadAufloesen(datei));
    if (!datei_.open(QIODevice::WriteOnly))
        return ExportScheitern(datei, datei_.errorString());
    if (datei_.write(inhalt) != inhalt.size() || !datei_.flush() || !datei_.commit())
        return ExportScheitern(datei, datei_.errorString());
    return true;
}

void FlexGridSpaltenbreiten(FlexGrid& grid)
{
    const QString rand = QStringLiteral("AA");
    for (int s = 0; s < grid.Cols(); ++s) {
        int breite = grid.TextBreiteTwips(rand);
        for (int z = 0; z < grid.Rows(); ++z)
            breite = std::max(breite, grid.TextBreiteTwips(rand + grid.TextMatrix(z, s)));
        grid.setColWidth(s, breite);
    }
}

bool ArrayInFlexGrid(FlexGrid& grid, const QList<QStringList>& feld)
{
    if (!grid.AddItem(QString(), 1) || !grid.AddItem(QString(), 1) || !grid.setRows(2))
        return Scheitern(grid.letzterFehler());
    if (feld.isEmpty())
        return Scheitern(QStringLiteral("ArrayInFlexGrid: das Feld hat keine Zeilen"));

    qsizetype spalten = 0;
    for (const QStringList& zeile : feld)
        spalten = std::max(spalten, zeile.size());
    if (!grid.setCols(static_cast<int>(std::max<qsizetype>(spalten - 1, 0))))
        return Scheitern(grid.letzterFehler());

    for (const QStringList& zeile : feld)
        if (!grid.AddItem(zeile.join(u'\t')))
            return Scheitern(grid.letzterFehler());
    if (grid.Rows() >= 3)
        grid.RemoveItem(1);
    return true;
}
