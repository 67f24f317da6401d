#include "SysInfo.h"

#include "platform/Meldung.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

QStringList SysInfoProgramme()
{
    return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"),
            QStringLiteral("kinfocenter"), QStringLiteral("lshw-gtk")};
}

QString SysInfoSuchen()
{
    for (const QString& name : SysInfoProgramme()) {
        const QString pfad = QStandardPaths::findExecutable(name);
        if (!pfad.isEmpty())
            return pfad;
    }
    return {};
}

void StartSysInfo()
{
    const QString programm = SysInfoSuchen();
    if (!programm.isEmpty() && QProcess::startDetached(programm, {}, QDir::currentPath()))
        return;
    MsgBox(QStringLiteral("Systeminformationen sind momentan nicht verfügbar"), vbOKOnly);
}
