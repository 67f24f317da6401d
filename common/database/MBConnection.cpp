#include "MBConnection.h"

#include "OdbcVerbindungstext.h"

#include "platform/Global.h"
#include "platform/Meldung.h"

#include <QRegularExpression>

#include <cmath>

namespace {

// How long a server login may take before it counts as failed.
constexpr int AnmeldeFristSekunden = 15;

// The kind as a whole number (a number or numeric text); 0 for anything else.
int DatenbankArt(const QString& dbFlag)
{
    bool zahl = false;
    const double wert = QString(dbFlag).trimmed().replace(u',', u'.').toDouble(&zahl);
    if (!zahl || !(std::abs(wert) < 1e6) || wert != std::trunc(wert))
        return 0;
    return static_cast<int>(wert);
}

// The message of a failed open without any password it might repeat.
QString OhnePasswort(QString text, const QStringList& geheim)
{
    static const QRegularExpression pwd(
        QStringLiteral(R"((PWD|PASSWORD)\s*=\s*(\{[^}]*\}|[^;\s]*))"),
        QRegularExpression::CaseInsensitiveOption);
    text.replace(pwd, QStringLiteral("\\1=***"));
    for (const QString& wort : geheim) {
        if (!wort.isEmpty())
            text.replace(wort, QStringLiteral("***"));
    }
    return text;
}

std::unique_ptr<Verbindung> ServerOeffnen(int art, const QString& benutzer, const QString& passwort,
                                          const QString& datenquelle, const QString& katalog)
{
    VerbindungsDaten daten;
    daten.treiber = QStringLiteral("QODBC");
    daten.optionen = QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(AnmeldeFristSekunden);
    QString text = MB_OdbcVerbindungstext(art, benutzer, passwort, datenquelle, katalog);
    // The ODBC driver of Qt reads a text without "DRIVER=" or "SERVER=" as a data source name
    // and puts "DSN=" in front itself.
    if (!text.contains(QStringLiteral("DRIVER="), Qt::CaseInsensitive) &&
        !text.contains(QStringLiteral("SERVER="), Qt::CaseInsensitive) &&
        text.startsWith(QStringLiteral("DSN="), Qt::CaseInsensitive))
        text = text.mid(4);
    daten.datenbankName = text;
    std::unique_ptr<Verbindung> verbindung = Verbindung::Oeffnen(daten);
    if (!verbindung) {
        const QStringList geheim{passwort,
                                 OdbcVerbindungstext(datenquelle).wert(QStringLiteral("PWD"))};
        FehlerText = OhnePasswort(
            QStringLiteral("Die Verbindung zur Datenbank ist nicht zustande gekommen: ") +
                FehlerText,
            geheim);
    }
    return verbindung;
}

} // namespace

QString MB_OdbcVerbindungstext(int dbFlag, const QString& benutzer, const QString& passwort,
                               const QString& datenquelle, const QString& katalog)
{
    if (dbFlag < 2 || dbFlag > 4)
        return {};
    OdbcVerbindungstext text;
    if (OdbcVerbindungstext::istVerbindungstext(datenquelle)) {
        text = OdbcVerbindungstext(datenquelle);
    } else if (dbFlag == 4) {
        text = OdbcVerbindungstext(QStringLiteral("DRIVER={Oracle}"));
        text.setzen(QStringLiteral("DBQ"), datenquelle.trimmed());
    } else {
        text = OdbcVerbindungstext(QStringLiteral("DRIVER={FreeTDS}"));
        text.setzen(QStringLiteral("SERVER"), datenquelle.trimmed());
    }
    if (dbFlag != 4 && !katalog.isEmpty())
        text.setzen(QStringLiteral("DATABASE"), katalog);
    if (!benutzer.isEmpty())
        text.setzen(QStringLiteral("UID"), benutzer);
    if (!passwort.isEmpty())
        text.setzen(QStringLiteral("PWD"), passwort);
    return text.text();
}

bool MB_DatenbankVerbinden(std::shared_ptr<Verbindung>& verbindung, const QString& dbFlag,
                           const QString& benutzer, const QString& passwort,
                           const QString& datenquelle, const QString& katalog)
{
    if (verbindung && verbindung->offen())
        return true;

    const int art = DatenbankArt(dbFlag);
    if (art == 5) {
        MsgBox(QStringLiteral("5 ist noch nicht belegt als dbFlag."));
        return false;
    }
    if (art < 1 || art > 4) {
        MsgBox(QStringLiteral("Keine gültige Datenbank!"));
        return false;
    }

    std::unique_ptr<Verbindung> neu =
        art == 1 ? Verbindung::OpenDatabase(datenquelle)
                 : ServerOeffnen(art, benutzer, passwort, datenquelle, katalog);
    if (!neu)
        return false;
    verbindung = std::move(neu);
    MB_Connection = verbindung;
    return verbindung->offen();
}

bool MB_DatenbankVerbinden()
{
    return MB_DatenbankVerbinden(MB_Connection, DBParameter.value(0), DBParameter.value(2),
                                 DBParameter.value(3), DBParameter.value(1), DBParameter.value(4));
}

void MB_ConnectionSchliessen()
{
    if (MB_Connection)
        MB_Connection->Close();
    MB_Connection.reset();
}
