#include "Sperren.h"

#include "platform/Global.h"
#include "platform/Pfad.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>

#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace {

QString gOrdner; // set by tests; empty: the default folder

QString Datei(const QString& name)
{
    return QDir(Sperren::ordner()).filePath(name);
}

} // namespace

QString Sperren::ordner()
{
    if (!gOrdner.isEmpty())
        return gOrdner;
    const QString vorgabe = qEnvironmentVariable("TELVARIN_SPERREN");
    if (!vorgabe.isEmpty())
        return vorgabe;
    const QString laufzeit = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!laufzeit.isEmpty())
        return QDir(laufzeit).filePath(QStringLiteral("telvarin-sperren"));
    return QDir(QDir::tempPath()).filePath(QStringLiteral("telvarin-sperren-%1").arg(getuid()));
}

void Sperren::ordnerSetzen(const QString& ordner)
{
    gOrdner = ordner;
}

QString Sperren::masterDatei(int port)
{
    return Datei(QStringLiteral("master-com%1.lock").arg(port));
}

QString Sperren::zyklusDatei(qint64 mandant, int port)
{
    return Datei(QStringLiteral("zyklus-m%1-com%2.lock").arg(mandant).arg(port));
}

QString Sperren::wertordnerDatei(const QString& dbPath, qint64 mandant)
{
    // One name per folder, however the settings spell its path.
    const QString wertordner =
        PfadAufloesen(dbPath + QStringLiteral("Z") + QString::number(mandant));
    const QString absolut = QDir::cleanPath(QFileInfo(wertordner).absoluteFilePath());
    const QByteArray hash =
        QCryptographicHash::hash(absolut.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return Datei(QStringLiteral("werte-z%1-%2.lock").arg(mandant).arg(QString::fromLatin1(hash)));
}

bool Sperren::gehalten(const QString& datei)
{
    // Only looks: taking a free lock for a moment would turn away a process that takes it for
    // real in that moment (a master starting while the overview looks).
    if (!QFileInfo::exists(datei))
        return false;
    QLockFile sperre(datei);
    qint64 pid = 0;
    QString rechner;
    QString programm;
    if (!sperre.getLockInfo(&pid, &rechner, &programm)) {
        // Being written by its holder right now, or unreadable: held as long as it stands.
        return QFileInfo::exists(datei);
    }
    if (rechner != QSysInfo::machineHostName())
        return true; // a holder elsewhere cannot be checked
    if (pid <= 0 || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM))
        return false;
    // A live process with that number that is another program took over the number of a
    // holder that ended (as QLockFile judges it).
    const QString exe = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
    return exe.isEmpty() || programm.isEmpty() || QFileInfo(exe).fileName() == programm;
}

bool Sperren::zyklusLaeuft(qint64 mandant)
{
    static const QRegularExpression kName(QStringLiteral("^zyklus-m(-?\\d+)-com\\d+\\.lock$"));
    const QStringList dateien =
        QDir(ordner()).entryList({QStringLiteral("zyklus-m*.lock")}, QDir::Files);
    for (const QString& name : dateien) {
        const QRegularExpressionMatch treffer = kName.match(name);
        if (treffer.hasMatch() && treffer.captured(1).toLongLong() == mandant &&
            gehalten(Datei(name)))
            return true;
    }
    return false;
}

Sperre::Sperre(QString datei) : m_datei(std::move(datei)) {}

Sperre::~Sperre() = default;

bool Sperre::holen()
{
    if (gehalten())
        return true;
    const QString ordner = QFileInfo(m_datei).absolutePath();
    if (!QDir().mkpath(ordner)) {
        FehlerText = QStringLiteral("Ordner %1 nicht anlegbar").arg(ordner);
        return false;
    }
    m_sperre = std::make_unique<QLockFile>(m_datei);
    // Only a lock whose process has ended is stale; a live holder is never pushed out.
    m_sperre->setStaleLockTime(0);
    if (m_sperre->tryLock(0))
        return true;
    FehlerText = m_sperre->error() == QLockFile::LockFailedError
                     ? QStringLiteral("Gesperrt von Prozess %1: %2").arg(halter()).arg(m_datei)
                     : QStringLiteral("Sperrdatei nicht anlegbar: %1").arg(m_datei);
    m_sperre.reset();
    return false;
}

void Sperre::freigeben()
{
    m_sperre.reset();
}

bool Sperre::gehalten() const
{
    return m_sperre && m_sperre->isLocked();
}

qint64 Sperre::halter() const
{
    if (!m_sperre)
        return 0;
    qint64 pid = 0;
    QString host;
    QString programm;
    return m_sperre->getLockInfo(&pid, &host, &programm) ? pid : 0;
}
