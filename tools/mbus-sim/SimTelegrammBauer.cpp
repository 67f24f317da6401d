#include "SimTelegrammBauer.h"

#include "SimMBus.h"
#include "SimRahmen.h"
#include "SimSekundaeradresse.h"

QByteArray SimTelegrammBauer::rspUd(const SimZaehler& zaehler, int adresse, quint8 zugriff,
                                    const QList<QByteArray>& saetze, bool mehrFolgt)
{
    const SimSekundaeradresse sek(zaehler.id,
                                  SimSekundaeradresse::herstellerCode(zaehler.hersteller),
                                  zaehler.version, zaehler.medium);
    QByteArray daten = sek.bytes();
    daten.append(char(zugriff));
    daten.append(char(zaehler.status));
    daten.append(2, '\0');
    for (const QByteArray& satz : saetze)
        daten.append(satz);
    const bool endetMitMehr = !saetze.isEmpty() && saetze.last().size() >= 1 &&
                              static_cast<quint8>(saetze.last()[0]) == SimMBus::DifMehrDaten;
    if (mehrFolgt && !endetMitMehr)
        daten.append(char(SimMBus::DifMehrDaten));
    return SimRahmen::lang(SimMBus::RspUd, static_cast<quint8>(adresse), SimMBus::CiAntwortLang,
                           daten);
}
