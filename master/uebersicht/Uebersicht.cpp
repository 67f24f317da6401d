#include "Uebersicht.h"

#include "PortZaehlung.h"
#include "database/BasisMdb.h"
#include "datafiles/RB6Wertdatei.h"
#include "grid/FlexGrid.h"
#include "master/dienste/MasterEinstellungen.h"
#include "master/dienste/MasterTreiber.h"
#include "platform/Global.h"
#include "settings/Einstellungen.h"
#include "text/Texte.h"
#include "zugang/UserConfig.h"

#include <QDir>

Uebersicht::Uebersicht(MasterStarter starter) : m_starter(std::move(starter)) {}

void Uebersicht::pfadeLesen()
{
    DBPath = QDir(Programmordner()).absolutePath() + QLatin1Char('/');
    KommandozeileAuswerten();
    ZEPIniLesen(QStringLiteral(".\\zep.ini"));
    DatenPath = DBPath;
    CPortListe = QStringLiteral(";");
}

QString Uebersicht::datenbankText()
{
    return DBPath + BasisMdbName;
}

QString Uebersicht::datenText()
{
    return DatenPath + QStringLiteral("yymmddmb.txt");
}

void Uebersicht::init()
{
    m_zeiten = ZykluszeitenLaden(kZepIni);
    RB6_StandardGroesse = MasterEinstellungen(0, kZepIni).rb6StandardGroesse();
}

int Uebersicht::MB_ComPortGetAnz(FlexGrid& grid)
{
    PortsInGrid({}, grid);
    FehlerText.clear();
    DatenbankSitzung sitzung;
    if (!sitzung.offen())
        return 0;
    const std::optional<QList<PortZeile>> ports = PortsZaehlen(*Datenbank, m_zeiten);
    if (!ports)
        return 0;
    return PortsInGrid(*ports, grid);
}

bool Uebersicht::autoStart()
{
    return Kommandozeile().contains(QStringLiteral("Auto"));
}

MasterStarter::Ergebnis Uebersicht::zeileStarten(const FlexGrid& grid, int zeile)
{
    const double port = Val(grid.TextMatrix(zeile, 0));
    return m_starter.starten(static_cast<int>(port));
}

void Uebersicht::alleStarten(const FlexGrid& grid)
{
    for (int zeile = 1; zeile < grid.Rows(); ++zeile)
        zeileStarten(grid, zeile);
}
