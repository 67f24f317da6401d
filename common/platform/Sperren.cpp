#include "Sperren.h"

#include "platform/Global.h"
#include "platform/Pfad.h"
#include "platform/Sperrdatei.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {

QString gOrdner; // set by tests; empty: the default folder

QString Datei(const QString& name)
{
    return QDir(Sperren::ordner()).filePath(name);
}

// Makes the folder of a lock when missing. The machine-wide folder is made writable for every
// user and not sticky (whatever the creator's umask), so that any user's process can take over
// a lock whose process ended.
bool OrdnerAnlegen(const QString& ordner)
{
    // A link put in the folder's place by someone else never leads the locks elsewhere.
    if (QFileInfo(ordner).isSymLink())
        return false;
    if (QFileInfo(ordner).isDir())
        return true;
    if (!QDir().mkpath(ordner))
        return false;
    if (QDir::cleanPath(QFileInfo(ordner).absoluteFilePath()) ==
        QDir::cleanPath(QFileInfo(Sperren::ordner()).absoluteFilePath()))
        ::chmod(QFile::encodeName(ordner).constData(), 0777);
    return true;
}

// Whatever the umask: every user may read who holds the lock and take it over once it ended.
// The file is changed through a descriptor of our own regular file, never by its name: in a
// folder every user may write, someone could have put a link to another file in its place.
void FuerJedenLesbar(const QString& datei)
{
    const int fd = ::open(QFile::encodeName(datei).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
        info.st_nlink == 1)
        ::fchmod(fd, 0666);
    ::close(fd);
}

} // namespace

QString Sperren::ordner()
{
    if (!gOrdner.isEmpty())
        return gOrdner;
    const QString vorgabe = qEnvironmentVariable("TELVARIN_SPERREN");
    if (!vorgabe.isEmpty())
        return vorgabe;
    // Every user's process must come to the same folder, so the choice never depends on the
    // rights of the one asking: a folder made already, else a lock folder every user may write
    // in (Debian's /run/lock), else the temporary folder.
    for (const QString& basis : {QStringLiteral("/run/lock"), QStringLiteral("/var/lock")}) {
        const QString ordner = basis + QStringLiteral("/telvarin");
        const QFileInfo vorhanden(ordner);
        if (vorhanden.isSymLink())
            continue;
        if (vorhanden.isDir())
            return ordner;
        const QFileInfo info(basis);
        if (info.isDir() && info.permissions().testFlag(QFileDevice::WriteOther))
            return ordner;
    }
    return QDir(QDir::tempPath()).filePath(QStringLiteral("telvarin-sperren"));
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
    // The folder as it stands on disk, however the settings spell its path.
    const QString wertordner =
        PfadAufloesen(dbPath + QStringLiteral("Z") + QString::number(mandant));
    return QDir::cleanPath(QFileInfo(wertordner).absoluteFilePath()) + QStringLiteral(".lock");
}

bool Sperren::gehalten(const QString& datei)
{
    // Only looks: taking a free lock for a moment would turn away a process that takes it for
    // real in that moment (a master starting while the overview looks).
    const Sperrhalter halter = SperrhalterLesen(datei);
    return halter.datei && !halter.beendet;
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
    m_nichtAnlegbar = false;
    if (gehalten())
        return true;
    const QString ordner = QFileInfo(m_datei).absolutePath();
    if (!OrdnerAnlegen(ordner)) {
        m_nichtAnlegbar = true;
        FehlerText = QStringLiteral("Ordner %1 nicht anlegbar").arg(ordner);
        return false;
    }
    m_sperre = std::make_unique<QLockFile>(m_datei);
    // Only a lock whose process has ended is stale; a live holder is never pushed out.
    m_sperre->setStaleLockTime(0);
    bool genommen = m_sperre->tryLock(0);
    // QLockFile does not take over a file its holder left empty, nor one of another user that it
    // may not open for writing; both are left behind by processes that ended.
    if (!genommen && m_sperre->error() == QLockFile::LockFailedError &&
        VerwaisteSperrdateiEntfernen(m_datei))
        genommen = m_sperre->tryLock(0);
    if (genommen) {
        FuerJedenLesbar(m_datei);
        return true;
    }
    if (m_sperre->error() == QLockFile::LockFailedError) {
        FehlerText = QStringLiteral("Gesperrt von Prozess %1: %2").arg(halter()).arg(m_datei);
    } else {
        m_nichtAnlegbar = true;
        FehlerText = QStringLiteral("Sperrdatei nicht anlegbar: %1").arg(m_datei);
    }
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

bool Sperre::dateiSteht() const
{
    return gehalten() && SperrhalterLesen(m_datei).prozess == QCoreApplication::applicationPid();
}

void Sperre::aufgeben()
{
    // Releasing a QLockFile removes whatever file stands under its name. The descriptor it
    // holds is one of a deleted file; it is kept until the process ends.
    static auto* verlassen = new std::vector<std::unique_ptr<QLockFile>>;
    if (m_sperre)
        verlassen->push_back(std::move(m_sperre));
}

qint64 Sperre::halter() const
{
    return SperrhalterLesen(m_datei).prozess;
}
