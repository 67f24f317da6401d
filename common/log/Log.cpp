// The program log and the daily M-Bus log. Each call opens the file, appends its lines with one
// write and closes it again, so other programs can read the logs at any time and two processes
// that share a log never mix inside a line.

#include "log/Log.h"
#include "log/LogIntern.h"
#include "platform/Global.h"
#include "platform/Pfad.h"
#include "platform/Textdatei.h"
#include "platform/Uhr.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <cstdio>

namespace {

QString Dateidatum(const QDateTime& zeit)
{
    return QLocale::c().toString(zeit, QStringLiteral("yyMMdd"));
}

QString Zeilenzeit(const QDateTime& zeit)
{
    return QLocale::c().toString(zeit, QStringLiteral("dd.MM.yy hh:mm:ss"));
}

// Keeps the caller's FehlerText: a log line written on the way must not change the error text
// the caller is about to report.
class FehlertextBewahren
{
public:
    FehlertextBewahren() = default;
    ~FehlertextBewahren() { FehlerText = m_text; }
    FehlertextBewahren(const FehlertextBewahren&) = delete;
    FehlertextBewahren& operator=(const FehlertextBewahren&) = delete;

private:
    QString m_text = FehlerText;
};

// A log line that cannot be written goes to standard error with the reason, so that it is not
// lost without a trace (the journal keeps the standard error of a service).
void Anhaengen(const QString& pfad, const QStringList& zeilen, bool mitPruefung)
{
    const Dateinummer nummer = mitPruefung ? Dateinummer() : DateinummerOhnePruefung::nehmen();
    QString grund;
    if (!nummer.gueltig())
        grund = FehlerText;
    else if (TextZeilenAnhaengen(pfad, zeilen, &grund))
        return;
    const QByteArray text =
        (QStringLiteral("Log nicht schreibbar: ") + pfad + QStringLiteral(" (") + grund +
         QStringLiteral("): ") + zeilen.constLast() + u'\n')
            .toLocal8Bit();
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stderr);
    std::fflush(stderr);
}

// The MBusLog folder when it is missing; only that one level, never the database folder.
void MBusLogOrdnerAnlegen(const QString& ordner)
{
    const QString aufgeloest = PfadAufloesen(ordner);
    if (!QFileInfo(aufgeloest).isDir())
        QDir().mkdir(aufgeloest);
}

} // namespace

void ProgrammlogZeileSchreiben(const QString& text, bool mitPruefung)
{
    const FehlertextBewahren bewahren;
    const QDateTime jetzt = Jetzt();
    const QString pfad = PfadAufloesen(DBPath + Dateidatum(jetzt) + QStringLiteral("ed.log"));
    Anhaengen(pfad, {Zeilenzeit(jetzt) + u' ' + text}, mitPruefung);
}

void LogSchreiben(const QString& text)
{
    ProgrammlogZeileSchreiben(text, true);
}

void MBusLogSchreiben(const QString& text, const QString& kopfzeile, const QString& suffix)
{
    const FehlertextBewahren bewahren;
    const QDateTime jetzt = Jetzt();
    const QString ordner = DBPath + QStringLiteral("MBusLog\\");
    MBusLogOrdnerAnlegen(ordner);

    const QString datei = ordner + Dateidatum(jetzt) + suffix;
    QStringList zeilen;
    if (!MB_FileExists(datei))
        zeilen << kopfzeile;
    zeilen << Zeilenzeit(jetzt) + QStringLiteral(" ;") + text;
    Anhaengen(PfadAufloesen(datei), zeilen, true);
}

bool MB_FileExists(const QString& pfad)
{
    if (pfad.isEmpty())
        return false;
    const QFileInfo info(PfadAufloesen(pfad));
    return info.exists() && !info.isDir();
}
