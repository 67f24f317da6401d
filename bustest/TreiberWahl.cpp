#include "TreiberWahl.h"

#include "driver/faces/IMBusOLEAutoServer.h"
#include "driver/faces/MBusObjektErzeugen.h"
#include "driver/faces/MBusRacX4.h"
#include "platform/Meldung.h"

namespace {
constexpr int kEnglisch = 1;
}

TreiberWahl::TreiberWahl() = default;

TreiberWahl::~TreiberWahl()
{
    allePortsSchliessen();
}

void TreiberWahl::LoadMBusPovider(int& treiberNummer)
{
    switch (treiberNummer) {
    case 0:
        m_oleServer = MBusObjektErzeugen(kTreiberOleAutoServer);
        break;
    case 1:
        m_racServer = MBusObjektErzeugen(kTreiberRacX4);
        if (MBusRacX4* rac = RacServer())
            rac->setLNGLanguage(kEnglisch);
        break;
    case 2:
        break;
    default:
        MsgBox(QStringLiteral("Kein OleProvider ausgewählt"));
        break;
    }
}

IMBusOLEAutoServer* TreiberWahl::OleServer() const
{
    return m_oleServer ? m_oleServer->alsOleAutoServer() : nullptr;
}

MBusRacX4* TreiberWahl::RacServer() const
{
    return m_racServer ? m_racServer->alsRacX4() : nullptr;
}

void TreiberWahl::racServerSchliessen()
{
    if (MBusRacX4* rac = RacServer())
        rac->COMClose();
    m_racServer.reset();
}

void TreiberWahl::allePortsSchliessen()
{
    if (MBusRacX4* rac = RacServer())
        rac->COMClose();
    if (IMBusOLEAutoServer* ole = OleServer())
        ole->OLEClosePort();
}
