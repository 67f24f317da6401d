#include "datafiles/RB_DateiName.h"

#include "platform/Global.h"

namespace {

// The number with at least this many digits, a minus sign in front of them ("-0005").
QString Ziffern(qint32 zahl, int stellen)
{
    const qint64 betrag = zahl < 0 ? -qint64(zahl) : qint64(zahl);
    const QString ziffern = QString::number(betrag).rightJustified(stellen, u'0');
    return zahl < 0 ? u'-' + ziffern : ziffern;
}

} // namespace

QString RB_DateiName15p(qint32 id, qint32 unternummer)
{
    if (unternummer == 0)
        return DBPath + Ziffern(id, 8) + QStringLiteral(".15p");
    return DBPath + Ziffern(id, 8) + u'.' + Ziffern(unternummer, 3);
}

QString RB_DateiName(qint32 station, qint32 zaehler, qint32 intervall)
{
    if (station == -1)
        return RB_DateiName15p(zaehler, intervall);
    const QString anfang =
        DatenPath + u'S' + Ziffern(station, 4) + QStringLiteral("\\z") + Ziffern(zaehler, 2);
    if (intervall > 0)
        return anfang + u'a' + Ziffern(intervall, 4) + QStringLiteral(".dat");
    return anfang + QStringLiteral("a015p.dat");
}

bool RB_IstDateiName15p(const QString& name)
{
    const qsizetype schnitt = std::max(name.lastIndexOf(u'\\'), name.lastIndexOf(u'/'));
    const QString dateiname = name.mid(schnitt + 1);
    return dateiname.contains(QStringLiteral("15p")) || dateiname.contains(QStringLiteral("15P"));
}
