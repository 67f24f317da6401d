#include "zugang/Laufzeitfehler.h"

#include "log/Log.h"
#include "platform/Meldung.h"

void ShowErrorMessage(const Laufzeitfehler& fehler)
{
    const QString text = QStringLiteral("Fehler Nummer: ") + QString::number(fehler.nummer) +
                         QStringLiteral("\r\nFehlerbeschreibung: ") + fehler.beschreibung +
                         QStringLiteral("\r\nFehlerquelle: ") + fehler.quelle +
                         QStringLiteral("\r\nHilfe: ") + fehler.hilfe;
    MsgBox(text, vbCritical);
    LogSchreiben(fehler.beschreibung);
}
