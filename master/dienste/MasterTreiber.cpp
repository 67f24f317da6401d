#include "MasterTreiber.h"

#include "driver/faces/IMBusOLEAutoServer.h"
#include "driver/faces/MBusObjektErzeugen.h"
#include "driver/faces/MBusRacX4.h"
#include "platform/Global.h"
#include "platform/Meldung.h"

namespace {

constexpr int kEnglisch = 1;

void Erzeugen(std::unique_ptr<MBusTreiber>& ziel, const QString& name)
{
    ziel = MBusObjektErzeugen(name);
    if (!ziel)
        MsgBox(QStringLiteral("Fehler LoadMBusPovider ") + FehlerText);
}

} // namespace

IMBusOLEAutoServer* OleServer()
{
    return MB_OleServer ? MB_OleServer->alsOleAutoServer() : nullptr;
}

MBusRacX4* RacServer()
{
    return MB_RacServer ? MB_RacServer->alsRacX4() : nullptr;
}

void LoadMBusPovider(int treiberNummer)
{
    MasterTreiberFreigeben();
    switch (treiberNummer) {
    case 0:
        Erzeugen(MB_OleServer, kTreiberOleAutoServer);
        break;
    case 1:
        Erzeugen(MB_RacServer, kTreiberRacX4);
        if (MBusRacX4* rac = RacServer())
            rac->setLNGLanguage(kEnglisch);
        break;
    default:
        MsgBox(QStringLiteral("Kein OleProvider ausgewählt"));
        break;
    }
}

void OleServerFreigeben()
{
    if (IMBusOLEAutoServer* ole = OleServer())
        ole->OLEClosePort();
    MB_OleServer.reset();
}

void MasterTreiberFreigeben()
{
    OleServerFreigeben();
    if (MBusRacX4* rac = RacServer())
        rac->COMClose();
    MB_RacServer.reset();
}
