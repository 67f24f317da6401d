#include "EditorStart.h"

#include "platform/Pfad.h"

#include <QDir>
#include <QProcess>

namespace {

bool Starten(const QString& programm, const QStringList& argumente)
{
    return QProcess::startDetached(programm, argumente, QDir::currentPath());
}

ProgrammStarter& Starter()
{
    static ProgrammStarter starter = Starten;
    return starter;
}

} // namespace

bool TextdateiImEditorOeffnen(const QString& datei)
{
    return Starter()(QStringLiteral("xdg-open"), {PfadAufloesen(datei)});
}

void ProgrammStarterSetzen(ProgrammStarter starter)
{
    Starter() = starter ? std::move(starter) : ProgrammStarter(Starten);
}
