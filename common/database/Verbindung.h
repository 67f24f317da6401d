#pragma once
// One open database: basis.mdb as an SQLite file, or a server database through a Qt SQL driver
// (ODBC). Every statement binds its values; nothing throws. A failure returns false (or a
// closed recordset), leaves the database's message in FehlerText and its number in
// Fehlernummer().
//
// A Verbindung belongs to the thread that opened it. Closing it (or destroying it) ends every
// recordset and transaction on it.

#include "Recordset.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QVariantList>

#include <memory>

enum class Dialekt { SQLite, PostgreSQL, Andere };

// How long an SQLite connection waits for another process's write to end before it gives up.
constexpr int SqliteWartezeitMs = 5000;

// What a server connection needs; the password is never repeated in a message.
struct VerbindungsDaten
{
    QString treiber;       // Qt driver name: "QODBC", "QPSQL" ("QSQLITE": see OpenDatabase)
    QString datenbankName; // ODBC connection string, database name or file
    QString host;
    int port = -1;
    QString benutzer;
    QString passwort;
    QString optionen; // the driver's connect options
};

class Verbindung
{
public:
    // Opens an existing SQLite file (a Windows-style path is resolved). A missing file is an
    // error ("Datei '<pfad>' nicht gefunden.", number 3024) and is never created; a file that
    // is no database is an error too. Several processes may write the same file: a writer
    // waits up to SqliteWartezeitMs for another one.
    static std::unique_ptr<Verbindung> OpenDatabase(const QString& pfad);

    // Creates a new, empty SQLite file and opens it. Anything already at the path stays as it
    // is and is reported.
    static std::unique_ptr<Verbindung> SqliteNeuAnlegen(const QString& pfad);

    // Opens a connection through any Qt SQL driver ("QSQLITE" goes through OpenDatabase).
    static std::unique_ptr<Verbindung> Oeffnen(const VerbindungsDaten& daten);

    ~Verbindung();
    Verbindung(const Verbindung&) = delete;
    Verbindung& operator=(const Verbindung&) = delete;

    bool offen() const;
    void Close();

    Dialekt dialekt() const { return m_dialekt; }
    // The Qt connection name (for code that needs QSqlDatabase itself).
    const QString& verbindungsName() const { return m_name; }
    QSqlDatabase datenbank() const;

    // Runs a statement; its values bind in order to the "?" placeholders.
    bool Execute(const QString& sql, const QVariantList& werte = {});
    // Rows changed by the last Execute (-1 when the driver cannot tell).
    int RecordsAffected() const { return m_betroffen; }

    // A recordset on a table name or a SELECT (see Recordset.h); with dbAppendOnly on a table
    // name no row is read, rows are only added. On failure the recordset is closed.
    Recordset OpenRecordset(const QString& quelle, const QVariantList& werte = {},
                            int optionen = 0);

    // Table names are compared without regard to letter case.
    bool TabelleVorhanden(const QString& tabelle) const;
    // The column names of a table as the database reports them (empty when it has none).
    QStringList Feldnamen(const QString& tabelle);
    bool FeldVorhanden(const QString& tabelle, const QString& feld);

    // Number of the last failure on this connection (0 after a success).
    int Fehlernummer() const { return m_fehlernummer; }

    // Every open connection of the process in the order they were opened.
    static QList<Verbindung*> offeneVerbindungen();
    // The thread that opened the connection (the only one that may use it).
    QThread* faden() const { return m_faden; }

private:
    Verbindung() = default;
    static std::unique_ptr<Verbindung> neu(const QString& treiber);
    bool sqliteEinrichten(const QString& datei);

    QString m_name;
    QThread* m_faden = QThread::currentThread();
    Dialekt m_dialekt = Dialekt::Andere;
    int m_fehlernummer = 0;
    int m_betroffen = -1;
};
