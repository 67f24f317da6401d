#include "Ereignis.h"

namespace mbus {

int EmpfangsTestWert(const Ereignis& ereignis)
{
    switch (ereignis.art) {
    case Ereignisart::Laeuft:
        return kEmpfangLaeuft;
    case Ereignisart::Gesendet:
        return kEmpfangLeerlauf;
    case Ereignisart::Quittung:
        return kEmpfangQuittung;
    case Ereignisart::Telegramm:
        return kEmpfangTelegramm;
    case Ereignisart::Zeitueberschreitung:
        return kEmpfangZeitueberschreitung;
    case Ereignisart::Ungueltig:
        return kEmpfangUngueltig;
    }
    return kEmpfangUngueltig;
}

} // namespace mbus
