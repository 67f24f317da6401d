#include "MasterPortSperre.h"

#include "log/Log.h"
#include "platform/Global.h"
#include "platform/Meldung.h"

#include <QDir>
#include <QLockFile>

#include <unistd.h>

QString SperrOrdner()
{
    const QString vorgabe = qEnvironmentVariable("TELVARIN_SPERREN");
    if (!vorgabe.isEmpty())
        return vorgabe;
    const QString laufzeit = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!laufzeit.isEmpty())
        return QDir(laufzeit).filePath(QStringLiteral("telvarin-sperren"));
    return QDir(QDir::tempPath()).filePath(QStringLiteral("telvarin-sperren-%1").arg(getuid()));
}

QString MasterSperrDatei(int port)
{
    return QDir(SperrOrdner()).filePath(QStringLiteral("master-com%1.lock").arg(port));
}

MasterPortSperre::MasterPortSperre(int port) : m_port(port) {}

MasterPortSperre::~MasterPortSperre() = default;

bool MasterPortSperre::holen()
{
    if (gehalten())
        return true;
    if (!QDir().mkpath(SperrOrdner())) {
        FehlerText = QStringLiteral("Ordner %1 nicht anlegbar").arg(SperrOrdner());
        return false;
    }
    m_datei = std::make_unique<QLockFile>(MasterSperrDatei(m_port));
    // Only a lock whose process has ended is stale; a live master is never pushed out.
    m_datei->setStaleLockTime(0);
    if (m_datei->tryLock(0))
        return true;
    FehlerText =
        QStringLiteral("Master für Com%1 läuft bereits (Prozess %2)").arg(m_port).arg(halter());
    return false;
}

bool MasterPortSperre::gehalten() const
{
    return m_datei && m_datei->isLocked();
}

qint64 MasterPortSperre::halter() const
{
    qint64 pid = 0;
    QString host;
    QString programm;
    if (m_datei && m_datei->getLockInfo(&pid, &host, &programm))
        return pid;
    return 0;
}

bool MasterLaeuftFuerPort(int port)
{
    QLockFile datei(MasterSperrDatei(port));
    datei.setStaleLockTime(0);
    if (datei.tryLock(0)) {
        datei.unlock();
        return false;
    }
    return datei.error() == QLockFile::LockFailedError;
}

void ZweiterMasterMelden(int port, qint64 halter, bool still)
{
    const QString text = QStringLiteral("Master für Com%1 läuft bereits (Prozess %2), dieser "
                                        "Start endet")
                             .arg(port)
                             .arg(halter);
    MBusLogSchreiben(text, QString(), QStringLiteral("mb.log"));
    LogSchreiben(text);
    if (!still)
        MsgBox(text, vbCritical, QStringLiteral("Com%1 MBus-Master").arg(port));
}
