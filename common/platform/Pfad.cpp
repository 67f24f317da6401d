#include "Pfad.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

QString LaufwerkErsetzen(QString pfad)
{
    if (pfad.size() >= 2 && pfad[1] == u':' && pfad[0].isLetter()) {
        const QString variable = QStringLiteral("TELVARIN_LAUFWERK_") + pfad[0].toUpper();
        QString wurzel = qEnvironmentVariable(variable.toLatin1().constData());
        if (wurzel.isEmpty())
            wurzel = QStringLiteral("/");
        QString rest = pfad.mid(2);
        if (!wurzel.endsWith(u'/'))
            wurzel += u'/';
        while (rest.startsWith(u'/'))
            rest.remove(0, 1);
        pfad = wurzel + rest;
    }
    return pfad;
}

// Name of an entry of ordner that equals name without regard to case, or "" when none does.
QString EintragSuchen(const QString& ordner, const QString& name)
{
    const QDir dir(ordner.isEmpty() ? QStringLiteral(".") : ordner);
    const QStringList eintraege =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                      QDir::Name);
    for (const QString& eintrag : eintraege)
        if (eintrag.compare(name, Qt::CaseInsensitive) == 0)
            return eintrag;
    return {};
}

} // namespace

QString PfadAufloesen(const QString& pfad)
{
    if (pfad.isEmpty())
        return {};
    QString p = pfad;
    p.replace(u'\\', u'/');
    p = LaufwerkErsetzen(p);

    const bool absolut = p.startsWith(u'/');
    const bool endetMitTrenner = p.endsWith(u'/');
    const QStringList teile = p.split(u'/', Qt::SkipEmptyParts);

    QString ergebnis = absolut ? QStringLiteral("/") : QString();
    bool suchen = true; // stops at the first component that does not exist
    for (qsizetype i = 0; i < teile.size(); ++i) {
        QString teil = teile[i];
        if (suchen && teil != u"." && teil != u"..") {
            const QString kandidat = ergebnis + teil;
            if (!QFileInfo::exists(kandidat)) {
                const QString gefunden = EintragSuchen(ergebnis, teil);
                if (gefunden.isEmpty())
                    suchen = false;
                else
                    teil = gefunden;
            }
        }
        ergebnis += teil;
        if (i + 1 < teile.size() || endetMitTrenner)
            ergebnis += u'/';
    }
    if (ergebnis.isEmpty() && endetMitTrenner)
        ergebnis = QStringLiteral("./");
    return ergebnis;
}

QString OrdnerVon(const QString& aufgeloesterPfad)
{
    QString p = aufgeloesterPfad;
    while (p.endsWith(u'/') && p.size() > 1)
        p.chop(1);
    const qsizetype schnitt = p.lastIndexOf(u'/');
    if (schnitt < 0)
        return {};
    if (schnitt == 0)
        return QStringLiteral("/");
    return p.left(schnitt);
}
