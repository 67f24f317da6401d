#include "SqlAusfuehrung.h"

#include "DatenbankFehler.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

// Yes/no values go in as 1 and 0, which every database takes into a SMALLINT column.
QVariant Bindewert(const QVariant& wert)
{
    if (wert.typeId() == QMetaType::Bool)
        return QVariant(wert.toBool() ? 1 : 0);
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
        abfrage.addBindValue(Bindewert(wert));
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
