#include "ComZuordnung.h"

#include "settings/Einstellungen.h"

QString ComGeraet(int port)
{
    if (port < kErsterComPort || port > kLetzterComPort)
        return {};
    const QString eingetragen =
        IniLesen(QStringLiteral("COM"), QStringLiteral("COM%1").arg(port), kZepIni).trimmed();
    if (!eingetragen.isEmpty())
        return eingetragen;
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
}
