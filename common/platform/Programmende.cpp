#include "Programmende.h"

#include "platform/Warten.h"

Programmende::Lauf::Lauf(Programmende& ende) : m_ende(ende)
{
    if (m_ende.m_angefordert)
        return;
    if (m_ende.m_laeuft) {
        m_ende.m_abgewiesen = true;
        if (m_ende.m_abweisung)
            m_ende.m_abweisung(true);
        return;
    }
    m_ende.m_laeuft = true;
    m_gueltig = true;
}

Programmende::Lauf::~Lauf()
{
    if (!m_gueltig)
        return;
    m_ende.m_laeuft = false;
    if (m_ende.m_abgewiesen) {
        m_ende.m_abgewiesen = false;
        if (m_ende.m_abweisung)
            m_ende.m_abweisung(false);
    }
    if (m_ende.m_angefordert)
        m_ende.ausfuehren();
}

Programmende::Programmende(std::function<void()> portsSchliessen, std::function<void()> endeAktion)
    : m_portsSchliessen(std::move(portsSchliessen)), m_endeAktion(std::move(endeAktion))
{
}

void Programmende::beenden()
{
    ProgrammEndeMelden();
    m_angefordert = true;
    if (!m_laeuft)
        ausfuehren();
}

void Programmende::ausfuehren()
{
    if (m_beendet)
        return;
    m_beendet = true;
    if (m_portsSchliessen)
        m_portsSchliessen();
    if (m_endeAktion)
        m_endeAktion();
}
