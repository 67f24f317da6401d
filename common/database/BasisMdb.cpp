#include "BasisMdb.h"

#include "platform/Global.h"
#include "platform/Pfad.h"

QString BasisMdbPfad()
{
    return PfadAufloesen(DBPath + BasisMdbName);
}

bool DatenbankOeffnen()
{
    DatenbankSchliessen();
    std::unique_ptr<Verbindung> verbindung = Verbindung::OpenDatabase(DBPath + BasisMdbName);
    if (!verbindung)
        return false;
    Datenbank = verbindung.release();
    return true;
}

void DatenbankSchliessen()
{
    delete Datenbank;
    Datenbank = nullptr;
}

DatenbankSitzung::DatenbankSitzung()
{
    if (Datenbank && Datenbank->offen()) {
        m_offen = true;
        return;
    }
    m_eigene = true;
    m_offen = DatenbankOeffnen();
}

DatenbankSitzung::~DatenbankSitzung()
{
    if (m_eigene)
        DatenbankSchliessen();
}
