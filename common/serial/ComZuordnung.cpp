#include "ComZuordnung.h"

#include "serial/Portsperre.h"
#include "settings/Einstellungen.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace {

QString Eingetragen(int port)
{
    return IniLesen(QStringLiteral("COM"), QStringLiteral("COM%1").arg(port), kZepIni).trimmed();
}

} // namespace

QString ComGeraet(int port)
{
    if (port < kErsterComPort || port > kLetzterComPort)
        return {};
    const QString eingetragen = Eingetragen(port);
    if (!eingetragen.isEmpty())
        return eingetragen;
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
}

QString ComGeraetHinweis(int port)
{
    if (port < kErsterComPort || port > kLetzterComPort)
        return QStringLiteral("keine Portnummer von %1 bis %2")
            .arg(kErsterComPort)
            .arg(kLetzterComPort);
    const QString geraet = ComGeraet(port);
    const QString text = QStringLiteral("Gerät ") + geraet;
    if (QFileInfo::exists(geraet)) {
        if (!GeraetZugaenglich(geraet))
            return text + QStringLiteral(": ") + kTextGeraetVerweigert;
        const QString verwaist = VerwaistePortsperreText(geraet);
        return verwaist.isEmpty() ? text : text + QStringLiteral(", ") + verwaist;
    }
    const QString zeile = QStringLiteral("ZEP.INI [COM] COM%1=").arg(port);
    if (Eingetragen(port).isEmpty())
        return text + QStringLiteral(" nicht vorhanden, Eintrag fehlt: ") + zeile;
    return text + QStringLiteral(" nicht vorhanden: ") + zeile + geraet;
}

bool GeraetZugaenglich(const QString& geraet)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(geraet).constData(), R_OK | W_OK, AT_EACCESS) ==
           0;
}
