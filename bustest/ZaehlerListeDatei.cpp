#include "ZaehlerListeDatei.h"

#include "grid/FlexGrid.h"
#include "grid/GridHilfen.h"
#include "platform/Cp1252.h"
#include "platform/Pfad.h"
#include "text/Texte.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

int ZaehlerListeDatei::PortZahl(const QString& text)
{
    const QString wert = BlanksTrimmen(text);
    qsizetype ende = 0;
    while (ende < wert.size() && ende < 6 && wert[ende].isDigit() && wert[ende].unicode() < 128)
        ++ende;
    return wert.left(ende).toInt();
}

ZaehlerListeDatei::Namen ZaehlerListeDatei::Dateinamen(const QDateTime& zeit, int port)
{
    const QString stempel = zeit.toString(QStringLiteral("yyMMddhhmm"));
    const QString nummer = QString::number(port);
    return {stempel + QStringLiteral("MBTestCom") + nummer + QStringLiteral(".txt"),
            stempel + QStringLiteral("MBZählerliste") + nummer + QStringLiteral(".txt")};
}

int ZaehlerListeDatei::PortAusDateiname(const QString& name)
{
    QString text = name.toUpper();
    text.replace(QLatin1Char('O'), QLatin1Char(';')).replace(QLatin1Char('.'), QLatin1Char(';'));
    return PortZahl(GetFeld(text, 1).mid(1));
}

bool ZaehlerListeDatei::Speichern(FlexGrid& scanGrid, FlexGrid& satzGrid, const QDateTime& zeit,
                                  int port, Namen& namen)
{
    namen = Dateinamen(zeit, port);
    QString trenner;
    QString formate;
    if (!FlexGridExport(scanGrid, namen.scanListe, trenner, formate))
        return false;
    trenner.clear();
    return FlexGridExport(satzGrid, namen.satzListe, trenner, formate);
}

bool ZaehlerListeDatei::TextZeilen(const QString& datei, QStringList& zeilen, QString& fehler)
{
    zeilen.clear();
    QFile file(PfadAufloesen(datei));
    if (!QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly)) {
        fehler =
            QStringLiteral("Die Datei ") + datei + QStringLiteral(" kann nicht gelesen werden.");
        return false;
    }
    // More than this is no list of one bus, whatever its line count.
    constexpr qint64 kMaxBytes = 16 * 1024 * 1024;
    const QByteArray bytes = file.read(kMaxBytes + 1);
    if (bytes.size() > kMaxBytes || bytes.count('\n') > kMaxZeilen) {
        fehler = QStringLiteral("Die Datei ") + datei + QStringLiteral(" hat mehr als ") +
                 QString::number(kMaxZeilen) + QStringLiteral(" Zeilen und wird nicht geladen.");
        return false;
    }
    if (bytes.contains('\0')) {
        fehler = QStringLiteral("Die Datei ") + datei + QStringLiteral(" ist keine Textdatei.");
        return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        text = Cp1252ZuText(bytes);
        UmlauteErsetzen(text);
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList roh = text.split(QLatin1Char('\n'));
    for (QString zeile : roh) {
        if (zeile.endsWith(QLatin1Char('\r')))
            zeile.chop(1);
        if (!BlanksTrimmen(zeile).isEmpty())
            zeilen.append(zeile);
    }
    return true;
}

QList<QStringList> ZaehlerListeDatei::Zellen(const QStringList& zeilen, const QString& trenner)
{
    QList<QStringList> ergebnis;
    for (const QString& zeile : zeilen) {
        QStringList zellen = zeile.split(trenner);
        if (zellen.size() > 1 && zellen.last().isEmpty())
            zellen.removeLast();
        ergebnis.append(zellen);
    }
    return ergebnis;
}

bool ZaehlerListeDatei::Lesen(const QString& datei, const QString& trenner,
                              QList<QStringList>& zeilen, QString& fehler)
{
    zeilen.clear();
    QStringList text;
    if (!TextZeilen(datei, text, fehler))
        return false;
    zeilen = Zellen(text, trenner);
    return true;
}

bool ZaehlerListeDatei::ListeLesen(const QString& datei, QList<QStringList>& zeilen,
                                   QString& fehler)
{
    zeilen.clear();
    QStringList text;
    if (!TextZeilen(datei, text, fehler))
        return false;
    // Every line of a saved list ends with a TAB, a list of one column too; the first line is
    // the header row and gives the column count.
    if (text.isEmpty()) {
        fehler = QStringLiteral("Die Datei ") + datei +
                 QStringLiteral(" ist leer und wird nicht geladen.");
        return false;
    }
    if (!text.first().contains(QLatin1Char('\t'))) {
        fehler = QStringLiteral("Die Datei ") + datei +
                 QStringLiteral(" ist keine Zählerliste (ihre erste Zeile hat keine durch "
                                "Tabulatoren getrennten Spalten) und wird nicht geladen.");
        return false;
    }
    zeilen = Zellen(text, QStringLiteral("\t"));
    return true;
}

bool ZaehlerListeDatei::InGrid(FlexGrid& grid, const QList<QStringList>& zeilen)
{
    grid.setRows(0);
    grid.setCols(0);
    if (zeilen.isEmpty())
        return true;
    qsizetype spalten = zeilen.first().size();
    for (const QStringList& zeile : zeilen)
        spalten = std::max(spalten, zeile.size());
    if (!grid.setCols(static_cast<int>(std::min<qsizetype>(spalten, FlexGrid::kMaxSpalten))) ||
        !grid.setRows(static_cast<int>(zeilen.size())))
        return false;
    for (int z = 0; z < zeilen.size(); ++z)
        for (int s = 0; s < zeilen[z].size() && s < grid.Cols(); ++s)
            grid.setTextMatrix(z, s, zeilen[z][s]);
    grid.setFixedRows(1);
    grid.setFixedCols(0);
    return true;
}

QString ZaehlerListeDatei::Zwischenablage(FlexGrid& grid)
{
    grid.setRow(0);
    grid.setCol(0);
    grid.setRowSel(grid.Rows() - 1);
    grid.setColSel(grid.Cols() - 1);
    return grid.Clip().replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QByteArray ZaehlerListeDatei::Fingerabdruck(const FlexGrid& grid, int bisSpalte)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int z = 0; z < grid.Rows(); ++z) {
        for (int s = 0; s <= bisSpalte && s < grid.Cols(); ++s) {
            hash.addData(grid.TextMatrix(z, s).toUtf8());
            hash.addData(QByteArrayView("\t"));
        }
        hash.addData(QByteArrayView("\n"));
    }
    return hash.result();
}
