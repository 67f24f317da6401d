#include "Portsperre.h"

#include "platform/Sperrdatei.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

QString PortSperrdatei(const QString& geraet)
{
    if (geraet.isEmpty())
        return {};
    // The folders in the order the serial port tries them.
    static const QStringList kOrdner = {QStringLiteral("/var/lock"),
                                        QStringLiteral("/etc/locks"),
                                        QStringLiteral("/var/spool/locks"),
                                        QStringLiteral("/var/spool/uucp"),
                                        QStringLiteral("/tmp"),
                                        QStringLiteral("/var/tmp"),
                                        QStringLiteral("/var/lock/lockdev"),
                                        QStringLiteral("/run/lock")};
    QString name = geraet;
    if (name.startsWith(QStringLiteral("/dev/")))
        name.remove(0, 5);
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.prepend(QStringLiteral("/LCK.."));
    for (const QString& ordner : kOrdner) {
        const QFileInfo info(ordner);
        if (!info.isReadable())
            continue;
        const QString datei = ordner + name;
        if (QFile::exists(datei) || info.isWritable())
            return datei;
    }
    return {};
}

bool VerwaistePortsperreEntfernen(const QString& geraet)
{
    const QString datei = PortSperrdatei(geraet);
    return !datei.isEmpty() && VerwaisteSperrdateiEntfernen(datei);
}

QString VerwaistePortsperreText(const QString& geraet)
{
    const QString datei = PortSperrdatei(geraet);
    if (datei.isEmpty())
        return {};
    const Sperrhalter halter = SperrhalterLesen(datei);
    if (!halter.datei || !halter.beendet || SperrdateiLoeschbar(datei))
        return {};
    const QString prozess = halter.prozess > 0
                                ? QStringLiteral("des beendeten Prozesses %1").arg(halter.prozess)
                                : QStringLiteral("eines beendeten Prozesses");
    const QString wer = halter.besitzer == QStringLiteral("root")
                            ? QStringLiteral("root")
                            : halter.besitzer + QStringLiteral(" oder root");
    return QStringLiteral("Sperrdatei %1 %2 gehört dem Benutzer %3, nur %4 kann sie löschen")
        .arg(datei, prozess, halter.besitzer, wer);
}
