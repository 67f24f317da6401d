#pragma once
// Running one statement with bound values; shared by the connection and its recordsets.

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVariantList>

class QSqlQuery;

// Prepares the statement, binds the values in order to its "?" placeholders and runs it.
// A failure leaves the database's message in FehlerText and its number in fehlernummer.
bool SqlAusfuehren(QSqlQuery& abfrage, const QString& sql, const QVariantList& werte,
                   int& fehlernummer);

// The connection of that name when it is open; otherwise an invalid one, with the failure
// stored as for SqlAusfuehren.
QSqlDatabase OffeneSqlVerbindung(const QString& name, int& fehlernummer);
