#include "MasterDatenbank.h"

#include "database/MBConnection.h"
#include "database/OdbcVerbindungstext.h"
#include "platform/Global.h"
#include "text/Texte.h"
#include "zugang/UserConfig.h"

namespace {

constexpr int kParameterAnzahl = 7;

QString OhnePasswort(const QString& text)
{
    if (!OdbcVerbindungstext::istVerbindungstext(text) && !text.contains(QLatin1Char('=')))
        return text;
    return OdbcVerbindungstext(text).textOhnePasswort();
}

} // namespace

QString MasterDatenbankWaehlen()
{
    ReadUserConfig();
    while (DBParameter.size() < kParameterAnzahl)
        DBParameter.append(QString());
    if (Mandant != QStringLiteral("1450"))
        DBParameter[0] = QStringLiteral("0");
    if (Val(DBParameter[0]) == 0) {
        DBParameter[0] = QStringLiteral("1");
        DBParameter[2] = QString();
        DBParameter[3] = QString();
        DBParameter[1] = DBPath + QStringLiteral("basis.mdb");
        DBParameter[4] = QStringLiteral("1");
    }
    return QStringLiteral("DB : ") + OhnePasswort(DBParameter[1]) + QStringLiteral("  User: ") +
           DBParameter[2];
}

bool MBOpenDatenbank()
{
    while (DBParameter.size() < kParameterAnzahl)
        DBParameter.append(QString());
    return MB_DatenbankVerbinden(MB_Connection, DBParameter[0], DBParameter[2], DBParameter[3],
                                 DBParameter[1], DBParameter[4]);
}

QString DatenbankFehlerText()
{
    while (DBParameter.size() < kParameterAnzahl)
        DBParameter.append(QString());
    const int art = static_cast<int>(Val(DBParameter[0]));
    QString verbindung =
        MB_OdbcVerbindungstext(art, DBParameter[2], DBParameter[3], DBParameter[1], DBParameter[4]);
    if (verbindung.isEmpty())
        verbindung = QStringLiteral("Provider=SQLite;Data Source=") + DBParameter[1];
    return QStringLiteral("Fehler beim öffnen der Datenbank ") + OhnePasswort(DBParameter[1]) +
           QLatin1Char('\r') + OhnePasswort(verbindung) + QLatin1Char('\r');
}
