#pragma once
// Tests that run alike on the meter database file (SQLite) and on a server database through
// ODBC: a typed suite over SqliteZiel and ServerZiel. The server is the one TELVARIN_TEST_ODBC
// names (an ODBC connection string with UID and PWD, as the test command's throw-away
// PostgreSQL cluster gives it); each server test gets a schema of its own. The program runs in
// the time zone Europe/Berlin, the server in another one, so that a shifted time would show.

#include "DatenbankUmgebung.h"

#include "database/MBConnection.h"
#include "database/OdbcVerbindungstext.h"

#include "platform/Cp1252.h"

#include <atomic>
#include <ctime>
#include <string>
#include <type_traits>

#include <unistd.h>

class SqliteZiel
{
public:
    static constexpr const char* name = "SQLite";
    bool einrichten()
    {
        m_datei = QDir::current().filePath(QStringLiteral("basis.mdb"));
        m_pruefung = DatenbankAnlegen(m_datei) ? Verbindung::OpenDatabase(m_datei) : nullptr;
        return m_pruefung != nullptr;
    }
    void abbauen() { m_pruefung.reset(); }
    // The credentials the program reads from obrak.conf for this database.
    QStringList parameter() const { return {QStringLiteral("1"), m_datei, {}, {}, {}, {}, {}}; }
    // SQL giving DT as the text "yyyy-MM-dd hh:mm:ss", as the database itself holds it.
    static QString dtAlsText() { return QStringLiteral("DT"); }
    // Statements that turn the table into one that takes new rows but fails on any read of its
    // rows (they go to "<tabelle>Daten"); abs() of the smallest integer overflows on each row.
    static QStringList unlesbarMachen(const QString& tabelle, const QString& spalten)
    {
        const QString neu =
            QStringLiteral("NEW.") +
            QString(spalten).replace(u' ', QString()).replace(u',', QStringLiteral(", NEW."));
        return {QStringLiteral("ALTER TABLE %1 RENAME TO %1Daten").arg(tabelle),
                QStringLiteral("CREATE VIEW %1 AS SELECT %2 FROM %1Daten "
                               "WHERE abs(-9223372036854775808 + lznr - lznr) > 0")
                    .arg(tabelle, spalten),
                QStringLiteral("CREATE TRIGGER %1Anfuegen INSTEAD OF INSERT ON %1 BEGIN "
                               "INSERT INTO %1Daten (%2) VALUES (%3); END")
                    .arg(tabelle, spalten, neu)};
    }
    // A connection of the test's own for preparing and checking rows.
    Verbindung& pruefung() { return *m_pruefung; }

protected:
    QString m_datei;
    std::unique_ptr<Verbindung> m_pruefung;
};

class ServerZiel : public SqliteZiel
{
public:
    static constexpr const char* name = "Server";

    // The test server's connection string without the driver's own logs ("" when none).
    static QString verbindungstext()
    {
        OdbcVerbindungstext text(qEnvironmentVariable("TELVARIN_TEST_ODBC"));
        if (text.text().isEmpty())
            return {};
        text.setzen(QStringLiteral("CommLog"), QStringLiteral("0"));
        text.setzen(QStringLiteral("Debug"), QStringLiteral("0"));
        return text.text();
    }
    static QString wert(const char* schluessel)
    {
        return OdbcVerbindungstext(verbindungstext()).wert(QString::fromLatin1(schluessel));
    }
    static OdbcVerbindungstext ohneAnmeldung()
    {
        OdbcVerbindungstext text(verbindungstext());
        text.entfernen(QStringLiteral("UID"));
        text.entfernen(QStringLiteral("PWD"));
        return text;
    }
    bool einrichten()
    {
        static std::atomic<int> zaehler{0};
        m_schema = QStringLiteral("t%1_%2").arg(getpid()).arg(++zaehler);
        VerbindungsDaten daten;
        daten.treiber = QStringLiteral("QODBC");
        daten.datenbankName = verbindungstext();
        m_pruefung = Verbindung::Oeffnen(daten);
        return m_pruefung && m_pruefung->Execute(QStringLiteral("CREATE SCHEMA ") + m_schema) &&
               m_pruefung->Execute(QStringLiteral("SET search_path TO ") + m_schema) &&
               SchemaAnlegen(*m_pruefung);
    }
    void abbauen()
    {
        if (m_pruefung)
            m_pruefung->Execute(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(m_schema));
        m_pruefung.reset();
    }
    // Kind 2: the connection string without UID and PWD (the test's schema chosen in it), user
    // and password apart, the database as catalog.
    QStringList parameter() const
    {
        OdbcVerbindungstext text = ohneAnmeldung();
        text.setzen(QStringLiteral("ConnSettings"),
                    QStringLiteral("SET search_path TO ") + m_schema);
        return {QStringLiteral("2"), text.text(), wert("UID"), wert("PWD"),
                wert("DATABASE"),    {},          {}};
    }
    static QString dtAlsText() { return QStringLiteral("to_char(DT, 'YYYY-MM-DD HH24:MI:SS')"); }
    // A division by zero for every row read; the view passes new rows on to the table.
    static QStringList unlesbarMachen(const QString& tabelle, const QString& spalten)
    {
        return {
            QStringLiteral("ALTER TABLE %1 RENAME TO %1Daten").arg(tabelle),
            QStringLiteral("CREATE VIEW %1 AS SELECT %2 FROM %1Daten WHERE 1 / (lznr - lznr) = 0")
                .arg(tabelle, spalten)};
    }

private:
    QString m_schema;
};

template <class Ziel> class ZielUmgebung : public DatenbankUmgebung
{
protected:
    void SetUp() override
    {
        DatenbankUmgebung::SetUp();
        m_zone = qgetenv("TZ");
        qputenv("TZ", "Europe/Berlin");
        tzset();
        if (std::is_same_v<Ziel, ServerZiel> && ServerZiel::verbindungstext().isEmpty())
            GTEST_SKIP() << "TELVARIN_TEST_ODBC is not set: server variant skipped";
        ASSERT_TRUE(m_ziel.einrichten()) << qPrintable(FehlerText);
    }
    void TearDown() override
    {
        MB_ConnectionSchliessen();
        m_ziel.abbauen();
        if (m_zone.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", m_zone);
        tzset();
        DatenbankUmgebung::TearDown();
    }

    // MB_Connection opened with the credentials of this database.
    void verbinden()
    {
        DBParameter = m_ziel.parameter();
        ASSERT_TRUE(MB_DatenbankVerbinden()) << qPrintable(FehlerText);
    }
    void pruefAusfuehren(const QString& sql, const QVariantList& werte = {})
    {
        ASSERT_TRUE(m_ziel.pruefung().Execute(sql, werte)) << qPrintable(sql + ": " + FehlerText);
    }
    // Every row of the query on the test's own connection.
    QList<QList<Feldwert>> pruefZeilen(const QString& sql, const QVariantList& werte = {})
    {
        Recordset rs = m_ziel.pruefung().OpenRecordset(sql, werte);
        EXPECT_TRUE(rs.offen()) << qPrintable(sql + ": " + FehlerText);
        QList<QList<Feldwert>> zeilen;
        for (; rs.offen() && !rs.Eof(); rs.MoveNext()) {
            zeilen.append(QList<Feldwert>());
            for (int i = 0; i < rs.Feldnamen().size(); ++i)
                zeilen.last() << rs.FeldAn(i);
        }
        return zeilen;
    }
    // The program log of the test's day (the test clock stands on 05.12.2026).
    QString programmlog() const { return Cp1252ZuText(lesen(QStringLiteral("261205ed.log"))); }

    Ziel m_ziel;
    QByteArray m_zone;
};

using DatenbankZiele = ::testing::Types<SqliteZiel, ServerZiel>;

struct ZielName
{
    template <class Ziel> static std::string GetName(int) { return Ziel::name; }
};
