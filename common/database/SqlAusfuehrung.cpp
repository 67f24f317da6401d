#include "SqlAusfuehrung.h"

#include "DatenbankFehler.h"

#include <QDateTime>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimeZone>

namespace {

bool IstOdbc(const QSqlDriver* treiber)
{
    return treiber && qstrcmp(treiber->metaObject()->className(), "QODBCDriver") == 0;
}

// Yes/no values go in as 1 and 0, which every database takes into a SMALLINT column.
// A date and time is wall-clock time: it is stored with the date and time it shows, whatever
// time zone the value or the database server has. The ODBC driver passes the date and time
// fields as they are (as a timestamp, which every server reads alike); every other driver gets
// the text "yyyy-MM-dd hh:mm:ss", which none of them converts (a driver given a date-time
// with a zone would turn it into the server's zone).
QVariant Bindewert(const QVariant& wert, const QSqlDriver* treiber)
{
    if (wert.typeId() == QMetaType::Bool)
        return QVariant(wert.toBool() ? 1 : 0);
    if (wert.typeId() == QMetaType::QDateTime && !wert.isNull()) {
        // the fields themselves: a local time that the clock skips is still a valid wall time
        const QDateTime zeit = wert.toDateTime();
        if (IstOdbc(treiber))
            return QDateTime(zeit.date(), zeit.time(), QTimeZone::utc());
        QString text = zeit.date().toString(QStringLiteral("yyyy-MM-dd")) + u' ' +
                       zeit.time().toString(QStringLiteral("hh:mm:ss"));
        if (zeit.time().msec() != 0)
            text += zeit.time().toString(QStringLiteral(".zzz"));
        return text;
    }
    return wert;
}

} // namespace

bool SqlAusfuehren(QSqlQuery& abfrage, const QString& sql, const QVariantList& werte,
                   int& fehlernummer)
{
    abfrage.setForwardOnly(true);
    if (!abfrage.prepare(sql)) {
        fehlernummer = FehlerMerken(abfrage.lastError());
        return false;
    }
    for (const QVariant& wert : werte)
        abfrage.addBindValue(Bindewert(wert, abfrage.driver()));
    if (!abfrage.exec()) {
        fehlernummer = FehlerMerken(abfrage.lastError());
        return false;
    }
    fehlernummer = 0;
    return true;
}

QSqlDatabase OffeneSqlVerbindung(const QString& name, int& fehlernummer)
{
    if (!name.isEmpty() && QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen())
            return db;
    }
    fehlernummer = FehlerMerken(dbFehlerGeschlossen,
                                QStringLiteral("Die Datenbankverbindung ist geschlossen."));
    return QSqlDatabase();
}
