#include "StartMenue.h"

#include "master/dienste/MasterAufruf.h"
#include "master/dienste/MasterPortSperre.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "settings/Einstellungen.h"
#include "zugang/UserConfig.h"

#include <QDir>

StartMenue::StartMenue(Fabrik testfenster, Fabrik master, Fabrik felsquell, Zeigen zeigen)
    : m_zeigen(std::move(zeigen)), m_test(std::move(testfenster)), m_master(std::move(master)),
      m_felsquell(std::move(felsquell))
{
}

StartMenue::~StartMenue() = default;

QObject* StartMenue::zeigen(Einzelinstanz<QObject>& instanz)
{
    Sanduhr sanduhr;
    QObject* objekt = instanz.holen();
    if (objekt && m_zeigen)
        m_zeigen(objekt);
    return objekt;
}

QObject* StartMenue::testfensterZeigen()
{
    return zeigen(m_test);
}

QObject* StartMenue::masterZeigen()
{
    if (!m_master.vorhanden() && !masterSperreHolen())
        return nullptr;
    return zeigen(m_master);
}

QObject* StartMenue::felsquellZeigen()
{
    return zeigen(m_felsquell);
}

void StartMenue::nurZeiger()
{
    Sanduhr sanduhr;
}

bool StartMenue::masterSperreHolen()
{
    const int port = MasterAufrufLesen(Kommandozeile()).comPort;
    if (m_sperre && m_sperre->gehalten())
        return true;
    auto sperre = std::make_unique<MasterPortSperre>(port);
    if (sperre->holen()) {
        m_sperre = std::move(sperre);
        return true;
    }
    // The report goes where this master would have written its own lines.
    DBPath = QDir(Programmordner()).absolutePath() + QLatin1Char('/');
    KommandozeileAuswerten();
    ZEPIniLesen(QStringLiteral(".\\zep.ini"));
    ZweiterMasterMelden(port, sperre->halter(), false);
    return false;
}
