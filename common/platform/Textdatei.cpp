#include "Textdatei.h"

#include "Cp1252.h"

#include <QFile>

QStringList TextZeilenTrennen(const QByteArray& bytes)
{
    QStringList zeilen;
    qsizetype anfang = 0;
    while (anfang < bytes.size()) {
        qsizetype ende = bytes.indexOf('\n', anfang);
        const bool letzte = ende < 0;
        if (letzte)
            ende = bytes.size();
        qsizetype laenge = ende - anfang;
        if (laenge > 0 && bytes[anfang + laenge - 1] == '\r')
            --laenge;
        zeilen << Cp1252ZuText(bytes.mid(anfang, laenge));
        anfang = ende + 1;
    }
    return zeilen;
}

bool TextdateiLesen(const QString& pfad, QStringList& zeilen, QString* fehler, qint64 maxBytes)
{
    zeilen.clear();
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly)) {
        if (fehler)
            *fehler = datei.errorString();
        return false;
    }
    if (datei.size() > maxBytes) {
        if (fehler)
            *fehler = QStringLiteral("Datei zu groß: ") + pfad;
        return false;
    }
    const QByteArray bytes = datei.read(maxBytes + 1);
    if (datei.error() != QFileDevice::NoError) {
        if (fehler)
            *fehler = datei.errorString();
        return false;
    }
    zeilen = TextZeilenTrennen(bytes);
    return true;
}

bool TextZeilenAnhaengen(const QString& pfad, const QStringList& zeilen, QString* fehler)
{
    QByteArray bytes;
    for (const QString& zeile : zeilen) {
        bytes += TextZuCp1252(zeile);
        bytes += kZeilenende;
    }
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (fehler)
            *fehler = datei.errorString();
        return false;
    }
    const bool ok = datei.write(bytes) == bytes.size() && datei.flush();
    if (!ok && fehler)
        *fehler = datei.errorString();
    datei.close();
    return ok;
}
