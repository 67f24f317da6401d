#include "Sperrdatei.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSysInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Inhalt
{
    bool gelesen = false; // a process number could be read
    qint64 prozess = 0;
    QString programm;
    QString rechner;
    QByteArray rechnerId;
    QByteArray startId;
};

Inhalt InhaltDeuten(const QByteArray& bytes)
{
    Inhalt inhalt;
    const QList<QByteArray> zeilen = bytes.split('\n');
    bool ok = false;
    inhalt.prozess = zeilen.value(0).trimmed().toLongLong(&ok);
    inhalt.gelesen = ok && inhalt.prozess > 0;
    inhalt.programm = QString::fromUtf8(zeilen.value(1));
    inhalt.rechner = QString::fromUtf8(zeilen.value(2));
    inhalt.rechnerId = zeilen.value(3);
    inhalt.startId = zeilen.value(4);
    return inhalt;
}

bool DieserRechner(const Inhalt& inhalt)
{
    if (!inhalt.rechnerId.isEmpty()) {
        const QByteArray eigene = QSysInfo::machineUniqueId();
        if (!eigene.isEmpty())
            return eigene == inhalt.rechnerId;
    }
    return inhalt.rechner.isEmpty() || inhalt.rechner == QSysInfo::machineHostName();
}

bool ProzessLaeuft(qint64 prozess, const QString& programm)
{
    if (::kill(static_cast<pid_t>(prozess), 0) != 0 && errno == ESRCH)
        return false;
    // Another program under that number took over the number of a holder that ended. The
    // program of another user's process cannot be read: it counts as running.
    const QString exe = QFileInfo(QStringLiteral("/proc/%1/exe").arg(prozess)).symLinkTarget();
    if (exe.isEmpty() || programm.isEmpty())
        return true;
    QString name = QFileInfo(exe).fileName();
    name.remove(QStringLiteral(" (deleted)"));
    return name == QFileInfo(programm).fileName();
}

bool HalterBeendet(const Inhalt& inhalt, const QDateTime& geaendert)
{
    if (!inhalt.gelesen) {
        return geaendert.isValid() &&
               qAbs(geaendert.msecsTo(QDateTime::currentDateTimeUtc())) > kLeereSperrdateiMs;
    }
    if (!DieserRechner(inhalt))
        return false;
    if (!inhalt.startId.isEmpty() && inhalt.startId != QSysInfo::bootUniqueId())
        return true;
    return !ProzessLaeuft(inhalt.prozess, inhalt.programm);
}

QString Benutzername(uid_t uid)
{
    if (const passwd* eintrag = ::getpwuid(uid))
        return QString::fromLocal8Bit(eintrag->pw_name);
    return QString::number(uid);
}

} // namespace

Sperrhalter SperrhalterLesen(const QString& datei)
{
    Sperrhalter halter;
    struct stat info
    {
    };
    if (::lstat(QFile::encodeName(datei).constData(), &info) != 0)
        return halter;
    halter.datei = true;
    halter.besitzer = Benutzername(info.st_uid);
    QFile f(datei);
    if (!f.open(QIODevice::ReadOnly))
        return halter; // contents unknown: counts as held
    const Inhalt inhalt = InhaltDeuten(f.read(4096));
    halter.prozess = inhalt.gelesen ? inhalt.prozess : 0;
    halter.programm = inhalt.programm;
    halter.beendet =
        HalterBeendet(inhalt, QDateTime::fromSecsSinceEpoch(info.st_mtim.tv_sec, Qt::UTC)
                                  .addMSecs(info.st_mtim.tv_nsec / 1000000));
    return halter;
}

bool VerwaisteSperrdateiEntfernen(const QString& datei)
{
    const QByteArray name = QFile::encodeName(datei);
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    bool entfernt = false;
    struct stat offen
    {
    };
    struct stat pfad
    {
    };
    // A live holder keeps the file flock()ed; taking the flock shuts out every other remover.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &offen) == 0 &&
        ::lstat(name.constData(), &pfad) == 0 && offen.st_dev == pfad.st_dev &&
        offen.st_ino == pfad.st_ino) {
        QByteArray bytes(4096, '\0');
        const ssize_t n = ::pread(fd, bytes.data(), static_cast<size_t>(bytes.size()), 0);
        bytes.resize(n > 0 ? n : 0);
        const QDateTime geaendert = QDateTime::fromSecsSinceEpoch(offen.st_mtim.tv_sec, Qt::UTC)
                                        .addMSecs(offen.st_mtim.tv_nsec / 1000000);
        if (HalterBeendet(InhaltDeuten(bytes), geaendert))
            entfernt = ::unlink(name.constData()) == 0;
    }
    ::close(fd);
    return entfernt;
}

bool SperrdateiLoeschbar(const QString& datei)
{
    const QByteArray name = QFile::encodeName(datei);
    const QByteArray ordner = QFile::encodeName(QFileInfo(datei).absolutePath());
    struct stat dateiInfo
    {
    };
    struct stat ordnerInfo
    {
    };
    if (::lstat(name.constData(), &dateiInfo) != 0 || ::stat(ordner.constData(), &ordnerInfo) != 0)
        return false;
    if (::access(ordner.constData(), W_OK | X_OK) != 0)
        return false;
    if ((ordnerInfo.st_mode & S_ISVTX) == 0)
        return true;
    const uid_t ich = ::geteuid();
    return ich == 0 || ich == dateiInfo.st_uid || ich == ordnerInfo.st_uid;
}
