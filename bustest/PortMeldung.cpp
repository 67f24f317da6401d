#include "PortMeldung.h"

#include "driver/faces/TreiberEingaben.h"
#include "log/Log.h"
#include "platform/Meldung.h"
#include "serial/ComZuordnung.h"

void PortFehlerMelden(const QString& meldung, const QVariant& port)
{
    MsgBox(meldung);
    const int nummer = TreiberPortNummer(port).value_or(0);
    LogSchreiben(meldung + QStringLiteral(" (COM%1: ").arg(nummer) + ComGeraetHinweis(nummer) +
                 QLatin1Char(')'));
}
