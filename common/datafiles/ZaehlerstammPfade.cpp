#include "datafiles/ZaehlerstammPfade.h"

#include "datafiles/RB6Wertdatei.h"
#include "datafiles/RB_DateiZeitraum.h"

namespace {

// The number with at least the given digits, the sign in front ("-0005").
QString MitNullen(qint64 zahl, int stellen)
{
    const QString ziffern = QString::number(qAbs(zahl)).rightJustified(stellen, u'0');
    return zahl < 0 ? u'-' + ziffern : ziffern;
}

bool IstLeer(const QVariant& wert)
{
    return !wert.isValid() || wert.isNull() || wert.toString().isEmpty();
}

// A whole number from a number or a number text; false for anything else.
bool AlsZahl(const QVariant& wert, qint64& zahl)
{
    bool ok = false;
    zahl = wert.toLongLong(&ok);
    return ok;
}

} // namespace

QString MB_GetDatenPfad(const QString& datenPfad, const QString& dbPfad, const QVariant& art,
                        const QVariant& nummer, qint32 index)
{
    qint64 artZahl = 0;
    const bool artIstZahl = AlsZahl(art, artZahl);
    qint64 nr = 0;
    if (artIstZahl && artZahl < 0 && !IstLeer(nummer) && AlsZahl(nummer, nr))
        return MB_GetDatenDateiName(dbPfad, qint32(nr), index, qint32(artZahl), index);
    if (IstLeer(art))
        return {};

    const QString artText = art.toString();
    QString station;
    if (artText.startsWith(u'S'))
        station = artText;
    else if (artIstZahl)
        station = u'S' + MitNullen(artZahl, 4);
    else
        station = u'S' + artText;
    QString zaehler = nummer.toString();
    if (AlsZahl(nummer, nr))
        zaehler = MitNullen(nr, 2);
    const QString anfang = datenPfad + station + QStringLiteral("\\z") + zaehler;
    if (index > 0)
        return anfang + u'a' + MitNullen(index, 4) + QStringLiteral(".dat");
    return anfang + QStringLiteral("a015p.dat");
}

QString MB_GetDatenDateiName(const QString& pfad, qint32 lznr, qint32 index, qint32 art,
                             qint32 index32)
{
    if (art == -1) {
        if (index == 0)
            return pfad + MitNullen(lznr, 8) + QStringLiteral(".15p");
        return pfad + MitNullen(lznr, 8) + u'.' + MitNullen(index, 3);
    }
    if (art == -2)
        return RB6_DateiName(pfad, lznr, index32);
    return {};
}

QString MB_GetZaehlerMdbPfad(const QString& verzeichnis, const QString& /*unbenutzt*/, qint32 lznr)
{
    if (lznr == 0)
        return QStringLiteral("-1");
    QString ordner = verzeichnis;
    if (!ordner.endsWith(u'\\') && !ordner.endsWith(u'/'))
        ordner += u'\\';
    return ordner + QStringLiteral("zaehler\\") + MitNullen(lznr, 7) + QStringLiteral(".mdb");
}

int MB_GetDateiZeitraum(const QString& datei, QDateTime& erster, QDateTime& letzter)
{
    if (datei.toUpper().contains(QStringLiteral(".ZEP"))) {
        RB6_Kopf kopf;
        if (RB6_KopfLesen(datei, kopf) != 0)
            return -1;
        UnixZeit aelteste = kopf.Tm10;
        UnixZeit neueste = kopf.Tm2;
        erster = UnixZeitInDatum(aelteste);
        letzter = UnixZeitInDatum(neueste);
        return 0;
    }
    RB_Kopf kopf;
    UnixZeit neueste = 0;
    UnixZeit aelteste = 0;
    if (RB_DateiZeitraum(datei, kopf, neueste, aelteste) != 0)
        return -2;
    erster = UnixZeitInDatum(aelteste);
    letzter = UnixZeitInDatum(neueste);
    return 0;
}
