#include "Texte.h"

#include "platform/Warten.h"

QString GetFeld(const QString& text, int n, const QString& trenner)
{
    if (text.isEmpty() || trenner.isEmpty() || n < 0)
        return {};
    qsizetype anfang = 0;
    for (int feld = 0; feld < n; ++feld) {
        const qsizetype p = text.indexOf(trenner, anfang);
        if (p < 0)
            return {};
        anfang = p + trenner.size();
    }
    // A last field without its separator counts; nothing behind the last separator is no field.
    if (anfang >= text.size())
        return {};
    const qsizetype ende = text.indexOf(trenner, anfang);
    return ende < 0 ? text.mid(anfang) : text.mid(anfang, ende - anfang);
}

int GetFeldAnzahl(const QString& text)
{
    return static_cast<int>(text.count(u';'));
}

int AnzahlVorkommen(const QString& text, const QString& such)
{
    if (such.isEmpty())
        return 0;
    int anzahl = 0;
    for (qsizetype p = text.indexOf(such); p >= 0; p = text.indexOf(such, p + 1))
        ++anzahl;
    return anzahl;
}

QStringList ZeileZerlegen(const QString& zeile, const QString& trenner)
{
    const QString kAnfuehrung = QStringLiteral("\"");
    QStringList felder;
    if (zeile.isEmpty())
        return felder;
    if (trenner.isEmpty()) {
        felder << ReplaceRekursiv(zeile, kAnfuehrung, QString());
        return felder;
    }

    qsizetype feldAnfang = 0;
    qsizetype suche = 0;
    for (qsizetype p = zeile.indexOf(trenner); p >= 0; p = zeile.indexOf(trenner, suche)) {
        DoEvents();
        suche = p + trenner.size();
        const QString feld = zeile.mid(feldAnfang, p - feldAnfang);
        // A separator inside an opened quotation belongs to the field.
        if (feld.count(u'"') == 1)
            continue;
        felder << ReplaceRekursiv(feld, kAnfuehrung, QString());
        feldAnfang = suche;
    }
    // A separator at the very end starts no further field.
    if (feldAnfang < zeile.size())
        felder << ReplaceRekursiv(zeile.mid(feldAnfang), kAnfuehrung, QString());
    return felder;
}
