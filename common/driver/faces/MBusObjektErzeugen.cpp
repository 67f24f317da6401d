#include "MBusObjektErzeugen.h"

#include "MBusOLEAutoServer.h"
#include "MBusRacX4.h"
#include "platform/Global.h"

std::unique_ptr<MBusTreiber> MBusObjektErzeugen(const QString& name)
{
    FehlerText.clear();
    const QString gesucht = name.trimmed();
    if (gesucht.compare(kTreiberRacX4, Qt::CaseInsensitive) == 0)
        return std::make_unique<MBusRacX4>();
    if (gesucht.compare(kTreiberOleAutoServer, Qt::CaseInsensitive) == 0)
        return std::make_unique<MBusOLEAutoServer>();
    FehlerText = QStringLiteral("Kein M-Bus-Treiber mit dem Namen \"%1\"").arg(name);
    return nullptr;
}
