#include "Einstellungen.h"

#include "log/Log.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "settings/IniDatei.h"
#include "text/Texte.h"

#include <QCoreApplication>
#include <QStringList>

#include <optional>

namespace {

std::optional<QString> gKommandozeile;

// The leading number of a text (leading blanks skipped, digits up to the first other character,
// none gives 0) with at least three digits. Kept as digits, so no length overflows.
QString MandantAusText(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    while (i < text.size() && text[i] == u'0')
        ++i;
    QString ziffern;
    while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
        ziffern += text[i++];
    return ziffern.rightJustified(3, u'0');
}

} // namespace

QString IniLesen(const QString& abschnitt, const QString& schluessel, const QString& datei)
{
    return ProfilLesen(abschnitt, schluessel, QString(), datei);
}

QString Kommandozeile()
{
    if (gKommandozeile)
        return *gKommandozeile;
    if (!QCoreApplication::instance())
        return {};
    return QCoreApplication::arguments().mid(1).join(u' ');
}

void KommandozeileSetzen(const QString& zeile)
{
    gKommandozeile = zeile;
}

void KommandozeileZuruecksetzen()
{
    gKommandozeile.reset();
}

void KommandozeileAuswerten()
{
    const QString zeile = Kommandozeile();
    const qsizetype p = zeile.indexOf(QStringLiteral("-M"));
    if (p < 0)
        return;
    const qsizetype q = (zeile + u' ').indexOf(u' ', p);
    Mandant = MandantAusText(zeile.mid(p + 2, q - p - 2));
    LogSchreiben(QStringLiteral("Suche Mandant ") + Mandant);
}

void ZEPIniLesen(const QString& datei)
{
    if (Mandant.isEmpty()) {
        Mandant = IniLesen(QStringLiteral("ZEP"), QStringLiteral("ZEPMandant"), kZepIni);
        if (Mandant.isEmpty())
            MsgBox(QStringLiteral("Keinen Mandanten in der zep.ini gefunden.([ZEP]  ZEPMandant=200) "),
                   vbOKOnly);
    }

    // The key without client number ("DBPATH") is not a fallback: a missing "DBPATH" & client
    // always gives the client's own folder below the current directory.
    const QString gelesen =
        ProfilLesen(QStringLiteral("ZEP"), QStringLiteral("DBPATH") + Mandant, QString(), datei);
    DBPath = ReplaceRekursiv(gelesen, QStringLiteral("$MANDANT$"), Mandant);
    if (gelesen.isEmpty())
        DBPath = QStringLiteral(".\\DB") + Mandant;
    if (!DBPath.endsWith(u'\\'))
        DBPath += u'\\';

    const QString v = IniLesen(Mandant, QStringLiteral("DatenPath"), kZepIni);
    if (v.isEmpty()) {
        DatenPath = QStringLiteral(".\\");
        LogSchreiben(QStringLiteral(" Keinen Eintrag gefunden : ZEPDatenPATH = .\\"));
    } else {
        DatenPath = v;
        LogSchreiben(QStringLiteral("ZEPDatenPATH = ") + v);
    }
}
