#pragma once
// The databases the tests of the value tables and the index list run on: the meter database
// file (SQLite) and a server database through ODBC. The server is the one named by the
// environment variable TELVARIN_TEST_ODBC (an ODBC connection string with UID and PWD, as the
// test command's throw-away PostgreSQL cluster gives it); each test gets a schema of its own
// there, so tests may run side by side.

#include "database/Verbindung.h"

#include <QString>
#include <QStringList>

#include <memory>

class DatenbankZiel
{
public:
    virtual ~DatenbankZiel() = default;

    // Why the tests cannot run here ("" when they can).
    virtual QString nichtVerfuegbar() const { return {}; }
    // Fresh tables without rows in the working folder or a new schema; false with the reason
    // in FehlerText.
    virtual bool einrichten() = 0;
    virtual void abbauen();
    // The credentials the program reads from obrak.conf for this database.
    virtual QStringList parameter() const = 0;
    // SQL giving DT as the text "yyyy-MM-dd hh:mm:ss", as the database itself holds it.
    virtual QString dtAlsText() const = 0;
    // Statements that turn the table into one that takes new rows but fails on any read of its
    // rows (the rows go to the table "<tabelle>Daten").
    virtual QStringList unlesbarMachen(const QString& tabelle, const QString& spalten) const = 0;

    // A connection of the test's own for preparing and checking rows.
    Verbindung& pruefung() { return *m_pruefung; }

protected:
    std::unique_ptr<Verbindung> m_pruefung;
};

class SqliteZiel : public DatenbankZiel
{
public:
    static constexpr const char* name = "SQLite";
    bool einrichten() override;
    QStringList parameter() const override;
    QString dtAlsText() const override { return QStringLiteral("DT"); }
    QStringList unlesbarMachen(const QString& tabelle, const QString& spalten) const override;

private:
    QString m_datei;
};

class ServerZiel : public DatenbankZiel
{
public:
    static constexpr const char* name = "Server";

    // The connection string of the test server (without the driver's own logs); "" when none
    // is given.
    static QString verbindungstext();

    QString nichtVerfuegbar() const override;
    bool einrichten() override;
    void abbauen() override;
    // Kind 2 with the connection string without UID and PWD as data source (the schema of the
    // test chosen in it), user and password apart, the database as catalog.
    QStringList parameter() const override;
    QString dtAlsText() const override
    {
        return QStringLiteral("to_char(DT, 'YYYY-MM-DD HH24:MI:SS')");
    }
    QStringList unlesbarMachen(const QString& tabelle, const QString& spalten) const override;

private:
    QString m_schema;
};
