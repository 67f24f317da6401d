#include "DatenbankZiel.h"

#include "database/OdbcVerbindungstext.h"
#include "database/Schema.h"

#include "platform/Global.h"

#include <QDir>

#include <atomic>

#include <unistd.h>

void DatenbankZiel::abbauen()
{
    m_pruefung.reset();
}

bool SqliteZiel::einrichten()
{
    m_datei = QDir::current().filePath(QStringLiteral("basis.mdb"));
    if (!DatenbankAnlegen(m_datei))
        return false;
    m_pruefung = Verbindung::OpenDatabase(m_datei);
    return m_pruefung != nullptr;
}

QStringList SqliteZiel::parameter() const
{
    return {QStringLiteral("1"), m_datei, QString(), QString(), QString(), QString(), QString()};
}

QStringList SqliteZiel::unlesbarMachen(const QString& tabelle, const QString& spalten) const
{
    QStringList neu;
    for (const QString& spalte : spalten.split(u',')) {
        neu << QStringLiteral("NEW.") + spalte.trimmed();
    }
    // abs() of the smallest integer is an overflow error, raised for every row read
    return {QStringLiteral("ALTER TABLE %1 RENAME TO %1Daten").arg(tabelle),
            QStringLiteral("CREATE VIEW %1 AS SELECT %2 FROM %1Daten "
                           "WHERE abs(-9223372036854775808 + lznr - lznr) > 0")
                .arg(tabelle, spalten),
            QStringLiteral("CREATE TRIGGER %1Anfuegen INSTEAD OF INSERT ON %1 BEGIN "
                           "INSERT INTO %1Daten (%2) VALUES (%3); END")
                .arg(tabelle, spalten, neu.join(QStringLiteral(", ")))};
}

QString ServerZiel::verbindungstext()
{
    const QString text = qEnvironmentVariable("TELVARIN_TEST_ODBC");
    if (text.isEmpty())
        return text;
    // no communication log of the PostgreSQL driver in the temporary folder
    OdbcVerbindungstext ohneLog(text);
    ohneLog.setzen(QStringLiteral("CommLog"), QStringLiteral("0"));
    ohneLog.setzen(QStringLiteral("Debug"), QStringLiteral("0"));
    return ohneLog.text();
}

QString ServerZiel::nichtVerfuegbar() const
{
    if (verbindungstext().isEmpty())
        return QStringLiteral("TELVARIN_TEST_ODBC is not set (the test command sets it to a "
                              "throw-away PostgreSQL cluster): server variant skipped");
    return {};
}

bool ServerZiel::einrichten()
{
    static std::atomic<int> zaehler{0};
    m_schema = QStringLiteral("t%1_%2").arg(getpid()).arg(++zaehler);
    VerbindungsDaten daten;
    daten.treiber = QStringLiteral("QODBC");
    daten.datenbankName = verbindungstext();
    m_pruefung = Verbindung::Oeffnen(daten);
    if (!m_pruefung)
        return false;
    if (!m_pruefung->Execute(QStringLiteral("CREATE SCHEMA ") + m_schema) ||
        !m_pruefung->Execute(QStringLiteral("SET search_path TO ") + m_schema))
        return false;
    return SchemaAnlegen(*m_pruefung);
}

void ServerZiel::abbauen()
{
    if (m_pruefung && !m_schema.isEmpty())
        m_pruefung->Execute(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(m_schema));
    DatenbankZiel::abbauen();
}

QStringList ServerZiel::parameter() const
{
    OdbcVerbindungstext text(verbindungstext());
    const QString benutzer = text.wert(QStringLiteral("UID"));
    const QString passwort = text.wert(QStringLiteral("PWD"));
    const QString katalog = text.wert(QStringLiteral("DATABASE"));
    text.entfernen(QStringLiteral("UID"));
    text.entfernen(QStringLiteral("PWD"));
    text.setzen(QStringLiteral("ConnSettings"), QStringLiteral("SET search_path TO ") + m_schema);
    return {QStringLiteral("2"), text.text(), benutzer, passwort, katalog, QString(), QString()};
}

QStringList ServerZiel::unlesbarMachen(const QString& tabelle, const QString& spalten) const
{
    // a division by zero for every row read; the view passes new rows on to the table
    return {QStringLiteral("ALTER TABLE %1 RENAME TO %1Daten").arg(tabelle),
            QStringLiteral("CREATE VIEW %1 AS SELECT %2 FROM %1Daten WHERE 1 / (lznr - lznr) = 0")
                .arg(tabelle, spalten)};
}
