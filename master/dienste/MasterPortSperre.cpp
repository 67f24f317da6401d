#include "MasterPortSperre.h"

#include "log/Log.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "platform/Sperren.h"

QString MasterSperrDatei(int port)
{
    return Sperren::masterDatei(port);
}

MasterPortSperre::MasterPortSperre(int port)
    : m_port(port), m_sperre(std::make_unique<Sperre>(Sperren::masterDatei(port)))
{
    m_pruefung.setInterval(kPruefIntervallMs);
    m_pruefung.callOnTimeout([this] { pruefen(); });
}

MasterPortSperre::~MasterPortSperre() = default;

bool MasterPortSperre::holen()
{
    if (gehalten())
        return true;
    if (!m_sperre->holen()) {
        if (!m_sperre->nichtAnlegbar()) {
            FehlerText = QStringLiteral("Master für Com%1 läuft bereits (Prozess %2)")
                             .arg(m_port)
                             .arg(halter());
            return false;
        }
        // Reported by the first look, when the master's settings (and so its log) are known.
    }
    m_pruefung.start();
    return true;
}

void MasterPortSperre::pruefen()
{
    if (m_sperre->dateiSteht())
        return;
    // The file is gone (or was never made): take the lock again as at the start.
    m_sperre->aufgeben();
    const QString merken = FehlerText;
    QString meldung;
    if (!m_sperre->holen()) {
        meldung = m_sperre->nichtAnlegbar()
                      ? QStringLiteral("Sperre des Masters für Com%1 nicht anlegbar, der Master "
                                       "läuft ohne sie: ")
                                .arg(m_port) +
                            FehlerText
                      : QStringLiteral("Sperre des Masters für Com%1 hält Prozess %2")
                            .arg(m_port)
                            .arg(halter());
    }
    FehlerText = merken;
    if (!meldung.isEmpty() && meldung != m_gemeldet)
        LogSchreiben(meldung);
    m_gemeldet = meldung;
}

bool MasterPortSperre::gehalten() const
{
    return m_sperre->gehalten();
}

qint64 MasterPortSperre::halter() const
{
    return m_sperre->halter();
}

bool MasterLaeuftFuerPort(int port)
{
    return Sperren::gehalten(Sperren::masterDatei(port));
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
