#include "DatenbankFehler.h"

#include "platform/Global.h"

#include <QSqlError>

int FehlerMerken(int nummer, const QString& text)
{
    FehlerText = text;
    return nummer;
}

int FehlerMerken(const QSqlError& fehler, const QString& ausblenden)
{
    QString text = fehler.databaseText().trimmed();
    if (text.isEmpty())
        text = fehler.driverText().trimmed();
    if (text.isEmpty())
        text = fehler.text().trimmed();
    if (!ausblenden.isEmpty())
        text.replace(ausblenden, QStringLiteral("***"));

    bool zahl = false;
    const int nummer = fehler.nativeErrorCode().toInt(&zahl);
    return FehlerMerken(zahl && nummer != 0 ? nummer : dbFehlerServer, text);
}
