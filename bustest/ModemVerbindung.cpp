#include "ModemVerbindung.h"

#include "driver/faces/MBusRacX4.h"
#include "driver/modem/Modemstatus.h"
#include "platform/Warten.h"

#include <QElapsedTimer>

namespace {

// Between two polls of TELStatus; the dialogue's own steps are far longer.
constexpr int kAbfragePauseMs = 20;

QString Sekunden(int sekunden)
{
    return QString::number(sekunden) +
           (sekunden == 1 ? QStringLiteral(" Sekunde") : QStringLiteral(" Sekunden"));
}

} // namespace

QString ModemVerbindung::InitialisierungZuLang(int sekunden)
{
    return QStringLiteral("Das Modem hat die Initialisierung nicht in ") + Sekunden(sekunden) +
           QStringLiteral(" beendet.");
}

QString ModemVerbindung::AnrufZuLang(int sekunden)
{
    return QStringLiteral("Das Modem hat den Anruf nicht in ") + Sekunden(sekunden) +
           QStringLiteral(" abgeschlossen.");
}

QString ModemVerbindung::AuflegenZuLang(int sekunden)
{
    return QStringLiteral("Das Modem hat nicht in ") + Sekunden(sekunden) +
           QStringLiteral(" aufgelegt.");
}

QString ModemVerbindung::WahlProtokoll(const QString& meldung, const QString& antwort)
{
    return QStringLiteral("Modem wählen: ") + meldung +
           (antwort.isEmpty() ? QStringLiteral(", keine Antwort des Modems")
                              : QStringLiteral(", Antwort des Modems: ") + antwort);
}

namespace {

QString Beendet(const QString& antwort)
{
    return antwort.isEmpty() ? QString() : QStringLiteral(" (") + antwort + QLatin1Char(')');
}

} // namespace

QString ModemVerbindung::VerbindungBeendetAnzeige(const QString& antwort, int gefunden)
{
    return QStringLiteral("Verbindung beendet") + Beendet(antwort) + QStringLiteral(": ") +
           QString::number(gefunden) + QStringLiteral(" Zähler gefunden");
}

QString ModemVerbindung::VerbindungBeendetMeldung(const QString& antwort, int gefunden)
{
    return QStringLiteral("Die Modemverbindung ist während der Suche beendet worden") +
           Beendet(antwort) +
           (gefunden == 1 ? QStringLiteral(". Bis dahin wurde 1 Zähler gefunden.")
                          : QStringLiteral(". Bis dahin wurden ") + QString::number(gefunden) +
                                QStringLiteral(" Zähler gefunden.")) +
           QStringLiteral(" Für eine neue Suche bitte auflegen und neu wählen.");
}

template <typename Bedingung>
bool ModemVerbindung::abwarten(MBusRacX4& treiber, int sekunden, Bedingung fertig)
{
    QElapsedTimer uhr;
    uhr.start();
    const qint64 frist = static_cast<qint64>(sekunden) * 1000;
    for (;;) {
        m_status = treiber.TELStatus();
        if (fertig(m_status))
            return true;
        if (uhr.elapsed() >= frist || !Warten(kAbfragePauseMs))
            return false;
    }
}

ModemVerbindung::Waehlergebnis ModemVerbindung::waehlen(MBusRacX4& treiber, int port, int baud,
                                                        const Timing& timing,
                                                        const QString& initBefehl,
                                                        const QString& waehlBefehl)
{
    treiber.setCOMTimeout(timing[0]);
    treiber.setCOMTimeoutOffset(timing[1]);
    treiber.setCOMTimeoutByte(timing[2]);
    treiber.setCOMDeadtime(timing[3]);
    if (m_modemzeiten)
        treiber.setzeModemzeiten(*m_modemzeiten);

    treiber.APPInitCom(port, baud);
    if (treiber.APPIsComOpen() != 0) {
        treiber.APPCloseCom();
        return {QStringLiteral("Fehler Open Com ") + QString::number(port), true};
    }
    treiber.APPInitCom(port, baud);
    treiber.TELInit(port, baud, initBefehl);
    const bool initialisiert = abwarten(treiber, m_fristen.initialisierung, [](int status) {
        return status == mbus::kTelStatusBereit || status == mbus::kTelStatusUnbestaetigt;
    });
    if (!initialisiert) {
        treiber.APPBreak();
        return {ProgrammEndet() ? QString() : InitialisierungZuLang(m_fristen.initialisierung),
                false, antwort(treiber)};
    }
    // A hang-up asked for during the initialisation: no call.
    if (m_auflegenAngefordert || ProgrammEndet())
        return {};

    treiber.TELMakeCall(port, baud, waehlBefehl);
    const bool gewaehlt = abwarten(treiber, m_fristen.anruf,
                                   [](int status) { return status != mbus::kTelStatusLaeuft; });
    if (!gewaehlt) {
        const QString ergebnis = antwort(treiber);
        treiber.APPBreak();
        return {ProgrammEndet() ? QString() : AnrufZuLang(m_fristen.anruf), false, ergebnis};
    }
    // A hang-up asked for during the call aborted it; the hang-up follows without a message.
    if (m_auflegenAngefordert)
        return {};
    return {QStringLiteral("fertig ") + QString::number(m_status), false, antwort(treiber)};
}

bool ModemVerbindung::verbunden(MBusRacX4& treiber)
{
    return treiber.TELStatus() == mbus::kTelStatusVerbunden;
}

QString ModemVerbindung::antwort(MBusRacX4& treiber)
{
    return treiber.ModemMeldung();
}

void ModemVerbindung::sucheBeginnen()
{
    m_laeuft = true;
    m_suche = true;
}

void ModemVerbindung::sucheBeenden()
{
    m_laeuft = false;
    m_suche = false;
}

bool ModemVerbindung::leitungVerloren(MBusRacX4& treiber)
{
    return m_suche && !m_auflegenAngefordert && treiber.TELStatus() != mbus::kTelStatusVerbunden;
}

QString ModemVerbindung::auflegen(MBusRacX4& treiber)
{
    treiber.APPBreak();
    treiber.TELHangUp();
    if (abwarten(treiber, m_fristen.auflegen,
                 [](int status) { return status == mbus::kTelStatusLeerlauf; }))
        return QString();
    return ProgrammEndet() ? QString() : AuflegenZuLang(m_fristen.auflegen);
}

void ModemVerbindung::auflegenAnfordern(MBusRacX4& treiber)
{
    m_auflegenAngefordert = true;
    treiber.APPBreak();
}

bool ModemVerbindung::auflegenFaellig()
{
    if (m_laeuft || !m_auflegenAngefordert)
        return false;
    m_auflegenAngefordert = false;
    return true;
}
