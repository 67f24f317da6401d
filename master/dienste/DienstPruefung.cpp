#include "DienstPruefung.h"

#include "platform/Global.h"
#include "platform/Warten.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

namespace {

constexpr int kGestoppt = 1;
constexpr int kStartet = 2;
constexpr int kStoppt = 3;
constexpr int kLaeuft = 4;
constexpr int kAngehalten = 7;

} // namespace

SystemctlSteuerung::SystemctlSteuerung(QString programm, int fristMs)
    : m_programm(std::move(programm)), m_fristMs(fristMs)
{
}

bool SystemctlSteuerung::ausfuehren(const QStringList& argumente, QByteArray& ausgabe,
                                    QString& fehler) const
{
    QProcess prozess;
    QEventLoop warten;
    QTimer frist;
    frist.setSingleShot(true);
    bool fertig = false;
    QObject::connect(&prozess, &QProcess::finished, &warten, [&] {
        fertig = true;
        warten.quit();
    });
    QObject::connect(&prozess, &QProcess::errorOccurred, &warten, [&](QProcess::ProcessError art) {
        if (art == QProcess::FailedToStart)
            warten.quit();
    });
    QObject::connect(&frist, &QTimer::timeout, &warten, &QEventLoop::quit);
    prozess.start(m_programm, argumente);
    frist.start(m_fristMs);
    // The window stays responsive while the service manager answers.
    if (prozess.state() != QProcess::NotRunning || prozess.error() != QProcess::FailedToStart)
        warten.exec();
    if (prozess.error() == QProcess::FailedToStart) {
        fehler = QStringLiteral("%1 nicht gestartet: %2").arg(m_programm, prozess.errorString());
        return false;
    }
    if (!fertig) {
        prozess.kill();
        prozess.waitForFinished(1000);
        fehler = QStringLiteral("%1 %2: keine Antwort in %3 ms")
                     .arg(m_programm, argumente.join(QLatin1Char(' ')))
                     .arg(m_fristMs);
        return false;
    }
    ausgabe = prozess.readAllStandardOutput();
    if (prozess.exitStatus() != QProcess::NormalExit || prozess.exitCode() != 0) {
        const QString meldung = QString::fromLocal8Bit(prozess.readAllStandardError()).trimmed();
        fehler = QStringLiteral("%1 %2: Rückgabe %3 %4")
                     .arg(m_programm, argumente.join(QLatin1Char(' ')))
                     .arg(prozess.exitCode())
                     .arg(meldung);
        return false;
    }
    return true;
}

bool SystemctlSteuerung::zustand(const QString& unit, DienstZustand& zustand, QString& fehler)
{
    QByteArray ausgabe;
    if (!ausfuehren({QStringLiteral("show"), QStringLiteral("-p"),
                     QStringLiteral("LoadState,ActiveState,FreezerState"), QStringLiteral("--"),
                     unit},
                    ausgabe, fehler))
        return false;
    for (const QByteArray& zeile : ausgabe.split('\n')) {
        const qsizetype gleich = zeile.indexOf('=');
        if (gleich < 0)
            continue;
        const QByteArray name = zeile.left(gleich).trimmed();
        const QString wert = QString::fromUtf8(zeile.mid(gleich + 1)).trimmed();
        if (name == "LoadState")
            zustand.loadState = wert;
        else if (name == "ActiveState")
            zustand.activeState = wert;
        else if (name == "FreezerState")
            zustand.freezerState = wert;
    }
    return true;
}

bool SystemctlSteuerung::starten(const QString& unit, QString& fehler)
{
    QByteArray ausgabe;
    return ausfuehren(
        {QStringLiteral("start"), QStringLiteral("--no-block"), QStringLiteral("--"), unit},
        ausgabe, fehler);
}

bool SystemctlSteuerung::fortsetzen(const QString& unit, QString& fehler)
{
    QByteArray ausgabe;
    return ausfuehren({QStringLiteral("thaw"), QStringLiteral("--"), unit}, ausgabe, fehler);
}

int CheckService(const QString& unit, DienstSteuerung& steuerung)
{
    FehlerText.clear();
    QString fehler;
    DienstZustand zustand;
    if (!steuerung.zustand(unit, zustand, fehler)) {
        FehlerText = fehler;
        return -1;
    }
    if (zustand.loadState.isEmpty() || zustand.loadState == QStringLiteral("not-found")) {
        FehlerText = QStringLiteral("Dienst %1 nicht gefunden").arg(unit);
        return -1;
    }
    if (zustand.freezerState == QStringLiteral("frozen")) {
        if (!steuerung.fortsetzen(unit, fehler)) {
            FehlerText = fehler;
            return -1;
        }
        DoEvents();
        return kAngehalten;
    }
    const QString& aktiv = zustand.activeState;
    if (aktiv == QStringLiteral("active") || aktiv == QStringLiteral("reloading"))
        return kLaeuft;
    if (aktiv == QStringLiteral("activating"))
        return kStartet;
    if (aktiv == QStringLiteral("deactivating"))
        return kStoppt;
    if (aktiv == QStringLiteral("inactive") || aktiv == QStringLiteral("failed")) {
        if (!steuerung.starten(unit, fehler)) {
            FehlerText = fehler;
            return -1;
        }
        DoEvents();
        return kGestoppt;
    }
    FehlerText = QStringLiteral("Dienst %1: unbekannter Zustand \"%2\"").arg(unit, aktiv);
    return -1;
}

QString DienstStatusText(int status)
{
    switch (status) {
    case kGestoppt:
        return QStringLiteral("Dienst war beendet");
    case kLaeuft:
        return QStringLiteral("Dienst ist gestartet");
    case kAngehalten:
        return QStringLiteral("Dienst war angehalten");
    default:
        return QStringLiteral("Dienst Status = ") + QString::number(status);
    }
}
