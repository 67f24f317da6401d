// The modem members of the name-bound driver: thin calls into the line the bus master shares with
// the modem (Modemkanal).

#include "MBusRacX4.h"

#include "TreiberEingaben.h"

void MBusRacX4::TELInit(const QVariant& port, const QVariant& baud, const QString& befehl)
{
    modemPortOeffnen(port, baud);
    m_anschluss.modem().initialisieren(befehl);
}

void MBusRacX4::TELMakeCall(const QVariant& port, const QVariant& baud, const QString& wahl)
{
    modemPortOeffnen(port, baud);
    m_anschluss.modem().waehlen(wahl);
}

void MBusRacX4::TELHangUp()
{
    m_anschluss.abbrechen();
    m_anschluss.modem().auflegen();
}

void MBusRacX4::APPBreak()
{
    m_anschluss.abbrechen();
    m_anschluss.modem().abbrechen();
}

int MBusRacX4::TELStatus()
{
    return m_anschluss.modem().telStatus();
}

QString MBusRacX4::ModemMeldung() const
{
    return m_anschluss.modem().dialog().meldung();
}

void MBusRacX4::setzeModemzeiten(const mbus::Modemzeiten& zeiten)
{
    m_anschluss.modem().setzeModemzeiten(zeiten);
}

void MBusRacX4::modemPortOeffnen(const QVariant& port, const QVariant& baud)
{
    const int nummer = TreiberPortNummer(port).value_or(0);
    const int rate = TreiberBaud(baud).value_or(0);
    if (!m_anschluss.offenAuf(nummer, rate))
        m_anschluss.oeffnen(nummer, rate);
}
