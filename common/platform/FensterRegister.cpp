#include "FensterRegister.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <atomic>
#include <limits>

#include <cerrno>
#include <csignal>
#include <unistd.h>

// File of one process: "<pid>.fenster", UTF-8, LF lines:
//   telvarin-fenster 1
//   start <start time of the process from /proc/<pid>/stat, or empty>
//   <handle> TAB <visible 0|1> TAB <border 0|1> TAB <title>
// The start time tells a process apart from a later one that got the same id after a crash.

namespace {

constexpr char kKennung[] = "telvarin-fenster 1";
constexpr char kStart[] = "start ";
constexpr char kEndung[] = ".fenster";
constexpr int kZaehlerBits = 24;

QString gOrdner; // set by tests; empty: the default folder

qint64 EigenerProzess()
{
    return static_cast<qint64>(::getpid());
}

QString StandardOrdner()
{
    const QString vorgabe = qEnvironmentVariable("TELVARIN_FENSTERREGISTER");
    if (!vorgabe.isEmpty())
        return vorgabe;
    const QString laufzeit = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!laufzeit.isEmpty() && QFileInfo(laufzeit).isDir())
        return laufzeit + QStringLiteral("/telvarin-fenster");
    return QDir::tempPath() + QStringLiteral("/telvarin-fenster-") +
           QString::number(static_cast<qulonglong>(::getuid()));
}

QString DateiVon(const QString& ordner, qint64 pid)
{
    return ordner + u'/' + QString::number(pid) + QLatin1String(kEndung);
}

struct Prozesszustand
{
    bool bekannt = false;
    char zustand = '?';
    QByteArray startzeit;
};

// State and start time of a process from /proc (fields 3 and 22 of its stat line); unknown
// where /proc is not available.
Prozesszustand ProzesszustandLesen(qint64 pid)
{
    Prozesszustand ergebnis;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return ergebnis;
    const QByteArray zeile = stat.readAll();
    const qsizetype nachName = zeile.lastIndexOf(')'); // the name may hold blanks and brackets
    if (nachName < 0)
        return ergebnis;
    const QList<QByteArray> felder = zeile.mid(nachName + 1).simplified().split(' ');
    constexpr int kStartzeitAbZustand = 22 - 3;
    if (felder.size() <= kStartzeitAbZustand || felder[0].isEmpty())
        return ergebnis;
    ergebnis.bekannt = true;
    ergebnis.zustand = felder[0][0];
    ergebnis.startzeit = felder[kStartzeitAbZustand];
    return ergebnis;
}

bool ProzessLaeuft(qint64 pid, const QByteArray& startzeit)
{
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return false;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM)
        return false;
    const Prozesszustand zustand = ProzesszustandLesen(pid);
    if (!zustand.bekannt)
        return true;
    if (zustand.zustand == 'Z' || zustand.zustand == 'X')
        return false;
    return startzeit.isEmpty() || zustand.startzeit == startzeit;
}

QString TitelEinzeilig(QString titel)
{
    titel.replace(u'\r', u' ');
    titel.replace(u'\n', u' ');
    return titel;
}

// The windows in one process's file; false when the process has ended (the file is then
// deleted) or the file is unreadable or not ours.
bool ListeLesen(const QString& datei, qint64 pid, QList<RegistriertesFenster>& fenster)
{
    fenster.clear();
    QFile f(datei);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> zeilen = f.readAll().split('\n');
    f.close();
    if (zeilen.size() < 2 || zeilen[0] != kKennung || !zeilen[1].startsWith(kStart))
        return false;
    if (!ProzessLaeuft(pid, zeilen[1].mid(qsizetype(sizeof(kStart)) - 1).trimmed())) {
        QFile::remove(datei);
        return false;
    }
    for (qsizetype i = 2; i < zeilen.size(); ++i) {
        const QList<QByteArray> teile = zeilen[i].split('\t');
        if (teile.size() < 4)
            continue;
        RegistriertesFenster eintrag;
        bool ok = false;
        eintrag.handle = teile[0].toLongLong(&ok);
        if (!ok)
            continue;
        eintrag.sichtbar = teile[1] == "1";
        eintrag.mitRahmen = teile[2] == "1";
        // the title is the rest of the line, tabs included
        const qsizetype titelAb = teile[0].size() + teile[1].size() + teile[2].size() + 3;
        eintrag.titel = QString::fromUtf8(zeilen[i].mid(titelAb));
        fenster << eintrag;
    }
    return true;
}

} // namespace

QString FensterRegisterOrdner()
{
    return gOrdner.isEmpty() ? StandardOrdner() : gOrdner;
}

void FensterRegisterOrdnerSetzen(const QString& ordner)
{
    gOrdner = ordner;
}

qint64 NeuerFensterHandle()
{
    static std::atomic<qint64> zaehler{0};
    const qint64 nummer = (++zaehler) & ((qint64(1) << kZaehlerBits) - 1);
    return (EigenerProzess() << kZaehlerBits) | nummer;
}

qint64 ProzessVonFensterHandle(qint64 handle)
{
    return handle >> kZaehlerBits;
}

bool FensterVeroeffentlichen(const QList<RegistriertesFenster>& fenster, qint64 pid)
{
    if (pid == 0)
        pid = EigenerProzess();
    const QString ordner = FensterRegisterOrdner();
    if (!QFileInfo(ordner).isDir()) {
        if (!QDir().mkpath(ordner))
            return false;
        QFile::setPermissions(ordner, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QByteArray inhalt = QByteArray(kKennung) + '\n';
    inhalt += QByteArray(kStart) + ProzesszustandLesen(pid).startzeit + '\n';
    for (const RegistriertesFenster& f : fenster) {
        inhalt += QByteArray::number(f.handle) + '\t' + (f.sichtbar ? '1' : '0') + '\t' +
                  (f.mitRahmen ? '1' : '0') + '\t' + TitelEinzeilig(f.titel).toUtf8() + '\n';
    }

    QSaveFile datei(DateiVon(ordner, pid));
    if (!datei.open(QIODevice::WriteOnly))
        return false;
    datei.write(inhalt);
    return datei.commit();
}

void FensterAbmelden(qint64 pid)
{
    QFile::remove(DateiVon(FensterRegisterOrdner(), pid == 0 ? EigenerProzess() : pid));
}

QList<RegistriertesFenster> RegistrierteFensterLesen()
{
    const QDir ordner(FensterRegisterOrdner());
    QList<qint64> prozesse;
    const QStringList dateien =
        ordner.entryList({QStringLiteral("*") + QLatin1String(kEndung)}, QDir::Files);
    for (const QString& name : dateien) {
        bool ok = false;
        const qint64 pid = name.chopped(qsizetype(sizeof(kEndung)) - 1).toLongLong(&ok);
        if (ok)
            prozesse << pid;
    }
    std::sort(prozesse.begin(), prozesse.end());

    QList<RegistriertesFenster> alle;
    for (const qint64 pid : prozesse) {
        QList<RegistriertesFenster> fenster;
        if (ListeLesen(DateiVon(ordner.path(), pid), pid, fenster))
            alle << fenster;
    }
    return alle;
}

bool FensterSuchen(qint64 fenster, const QString& titel, qint64& handle)
{
    const QList<RegistriertesFenster> alle = RegistrierteFensterLesen();
    for (const RegistriertesFenster& f : alle) {
        if (!f.sichtbar || !f.mitRahmen)
            continue;
        handle = f.handle;
        if (f.titel.contains(titel, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QString GetFensterText(qint64 handle)
{
    const qint64 pid = ProzessVonFensterHandle(handle);
    QList<RegistriertesFenster> fenster;
    if (handle <= 0 || !ListeLesen(DateiVon(FensterRegisterOrdner(), pid), pid, fenster))
        return {};
    for (const RegistriertesFenster& f : fenster)
        if (f.handle == handle)
            return f.titel;
    return {};
}
