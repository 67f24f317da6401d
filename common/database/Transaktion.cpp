#include "Transaktion.h"

#include "DatenbankFehler.h"
#include "SqlAusfuehrung.h"
#include "Verbindung.h"

#include <QSqlError>
#include <QSqlQuery>

Transaktion::Transaktion(Verbindung& verbindung)
    : m_verbindung(verbindung.verbindungsName()), m_sqlite(verbindung.dialekt() == Dialekt::SQLite)
{
    int nummer = 0;
    QSqlDatabase db = OffeneSqlVerbindung(m_verbindung, nummer);
    if (!db.isValid())
        return;
    if (m_sqlite)
        m_offen = anweisung(QStringLiteral("BEGIN IMMEDIATE"));
    else if (db.transaction())
        m_offen = true;
    else
        FehlerMerken(db.lastError());
}

Transaktion::~Transaktion()
{
    Rollback();
}

bool Transaktion::anweisung(const QString& sql)
{
    int nummer = 0;
    QSqlDatabase db = OffeneSqlVerbindung(m_verbindung, nummer);
    if (!db.isValid())
        return false;
    QSqlQuery abfrage(db);
    return SqlAusfuehren(abfrage, sql, {}, nummer);
}

bool Transaktion::Commit()
{
    if (!m_offen)
        return false;
    bool ok = false;
    if (m_sqlite) {
        ok = anweisung(QStringLiteral("COMMIT"));
    } else {
        int nummer = 0;
        QSqlDatabase db = OffeneSqlVerbindung(m_verbindung, nummer);
        ok = db.isValid() && db.commit();
        if (db.isValid() && !ok)
            FehlerMerken(db.lastError());
    }
    if (!ok) {
        Rollback();
        return false;
    }
    m_offen = false;
    return true;
}

void Transaktion::Rollback()
{
    if (!m_offen)
        return;
    m_offen = false;
    if (!QSqlDatabase::contains(m_verbindung))
        return; // a closed connection has ended its transaction already
    QSqlDatabase db = QSqlDatabase::database(m_verbindung, false);
    if (!db.isOpen())
        return;
    if (m_sqlite) {
        QSqlQuery abfrage(db);
        abfrage.exec(QStringLiteral("ROLLBACK"));
    } else {
        db.rollback();
    }
}
