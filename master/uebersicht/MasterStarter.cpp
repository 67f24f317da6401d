#include "MasterStarter.h"

#include "log/Log.h"
#include "master/dienste/MasterPortSperre.h"
#include "master/dienste/MasterTreiber.h"
#include "platform/Global.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include <cerrno>
#include <csignal>

namespace {

bool Starten(const QString& programm, const QStringList& argumente, qint64& pid, QString& fehler)
{
    QProcess prozess;
    prozess.setProgram(programm);
    prozess.setArguments(argumente);
    prozess.setWorkingDirectory(QDir::currentPath());
    if (prozess.startDetached(&pid))
        return true;
    fehler = prozess.errorString();
    return false;
}

bool Lebt(qint64 pid)
{
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

} // namespace

MasterStarter::MasterStarter(Start start, LaeuftPruefung laeuft, ProzessPruefung lebt)
    : m_start(start ? std::move(start) : Start(Starten)),
      m_laeuft(laeuft ? std::move(laeuft) : LaeuftPruefung(MasterLaeuftFuerPort)),
      m_lebt(lebt ? std::move(lebt) : ProzessPruefung(Lebt)),
      m_programm(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("pollex")))
{
}

QStringList MasterStarter::argumente(int port)
{
    QStringList argumente{QStringLiteral("Auto")};
    if (!Mandant.isEmpty())
        argumente << QStringLiteral("-M") + Mandant;
    argumente << QStringLiteral("-C") + QString::number(port);
    return argumente;
}

QString MasterStarter::Eintrag(int port)
{
    return QStringLiteral("CPort") + QString::number(port) + QLatin1Char(';');
}

MasterStarter::Ergebnis MasterStarter::starten(int port)
{
    if (port == 0)
        return Ergebnis::KeinPort;
    if (m_laeuft(port))
        return Ergebnis::LaeuftSchon;
    if (CPortListe.isEmpty())
        CPortListe = QStringLiteral(";");
    const QString eintrag = Eintrag(port);
    if (CPortListe.contains(QLatin1Char(';') + eintrag)) {
        if (m_lebt(m_prozesse.value(port)))
            return Ergebnis::LaeuftSchon;
        // The master started from here has ended: the port is free again.
        CPortListe.replace(QLatin1Char(';') + eintrag, QStringLiteral(";"));
        m_prozesse.remove(port);
    }

    const QStringList argumente = MasterStarter::argumente(port);
    const QString zeile = m_programm + QLatin1Char(' ') + argumente.join(QLatin1Char(' '));
    qint64 pid = 0;
    QString fehler;
    if (!m_start(m_programm, argumente, pid, fehler)) {
        FehlerText = fehler + QStringLiteral("  ") + zeile;
        LogSchreiben(QStringLiteral("Master Com%1 nicht gestartet: ").arg(port) + FehlerText);
        return Ergebnis::Fehler;
    }
    CPortListe += eintrag;
    m_prozesse.insert(port, pid);
    LogSchreiben(
        QStringLiteral("Master Com%1 gestartet: %2 (Prozess %3)").arg(port).arg(zeile).arg(pid));
    return Ergebnis::Gestartet;
}
