#include "Verbindung.h"

#include "DatenbankFehler.h"
#include "SqlAusfuehrung.h"
#include "SqlNamen.h"

#include "platform/Pfad.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

#include <atomic>

namespace {

QMutex& RegisterSperre()
{
    static QMutex sperre;
    return sperre;
}

QList<Verbindung*>& Register()
{
    static QList<Verbindung*> liste;
    return liste;
}

QString NeuerVerbindungsName()
{
    static std::atomic<int> zaehler{0};
    return QStringLiteral("telvarin-db-%1").arg(++zaehler);
}

// The table of "SELECT ... FROM <table> [WHERE ...] [ORDER BY ...]"; "" for anything else
// (joins, several tables, groups, subqueries), whose rows cannot be changed.
QString EinzelneTabelle(const QString& sql)
{
    static const QRegularExpression muster(
        QStringLiteral(
            R"(^\s*SELECT\s.*?\sFROM\s+([A-Za-z_][A-Za-z0-9_]*)\s*(?:$|;|WHERE\b|ORDER\b))"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression verbund(QStringLiteral(R"(\sJOIN\s|\sUNION\s|\sGROUP\s)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch treffer = muster.match(sql);
    if (!treffer.hasMatch() || verbund.match(sql).hasMatch())
        return {};
    return treffer.captured(1);
}

} // namespace

std::unique_ptr<Verbindung> Verbindung::neu(const QString& treiber)
{
    std::unique_ptr<Verbindung> verbindung(new Verbindung);
    verbindung->m_name = NeuerVerbindungsName();
    QSqlDatabase::addDatabase(treiber, verbindung->m_name);
    return verbindung;
}

std::unique_ptr<Verbindung> Verbindung::OpenDatabase(const QString& pfad)
{
    const QString datei = QFileInfo(PfadAufloesen(pfad)).absoluteFilePath();
    if (!QFileInfo(datei).isFile()) {
        FehlerMerken(dbFehlerDateiNichtGefunden,
                     QStringLiteral("Datei '%1' nicht gefunden.").arg(pfad));
        return nullptr;
    }
    std::unique_ptr<Verbindung> verbindung = neu(QStringLiteral("QSQLITE"));
    if (!verbindung->sqliteEinrichten(datei))
        return nullptr;
    return verbindung;
}

bool Verbindung::sqliteEinrichten(const QString& datei)
{
    QSqlDatabase db = QSqlDatabase::database(m_name, false);
    // Opened as a URI with mode=rw: should the file vanish after the check above, SQLite
    // reports it instead of creating an empty database.
    QUrl url = QUrl::fromLocalFile(datei);
    url.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(url.toString(QUrl::FullyEncoded));
    db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(SqliteWartezeitMs));
    if (!db.open()) {
        m_fehlernummer = FehlerMerken(db.lastError());
        return false;
    }
    m_dialekt = Dialekt::SQLite;
    {
        // Reading the catalogue tells a database from any other file.
        QSqlQuery abfrage(db);
        if (!SqlAusfuehren(abfrage, QStringLiteral("SELECT count(*) FROM sqlite_master"), {},
                           m_fehlernummer))
            return false;
        // In write-ahead mode a commit needs no flush of its own (the file stays consistent).
        if (SqlAusfuehren(abfrage, QStringLiteral("PRAGMA journal_mode"), {}, m_fehlernummer) &&
            abfrage.next() && abfrage.value(0).toString().compare(u"wal", Qt::CaseInsensitive) == 0)
            SqlAusfuehren(abfrage, QStringLiteral("PRAGMA synchronous = NORMAL"), {},
                          m_fehlernummer);
    }
    m_fehlernummer = 0;
    QMutexLocker sperre(&RegisterSperre());
    Register().append(this);
    return true;
}

std::unique_ptr<Verbindung> Verbindung::SqliteNeuAnlegen(const QString& pfad)
{
    const QString datei = QFileInfo(PfadAufloesen(pfad)).absoluteFilePath();
    QFile neueDatei(datei);
    // NewOnly creates the file only when nothing is at the path, in one step.
    if (!neueDatei.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        if (QFileInfo::exists(datei))
            FehlerMerken(dbFehlerSchreibgeschuetzt,
                         QStringLiteral("Die Datei '%1' gibt es schon.").arg(pfad));
        else
            FehlerMerken(dbFehlerDateiNichtGefunden,
                         QStringLiteral("Die Datei '%1' kann nicht angelegt werden: %2")
                             .arg(pfad, neueDatei.errorString()));
        return nullptr;
    }
    neueDatei.close();
    std::unique_ptr<Verbindung> verbindung = OpenDatabase(datei);
    if (!verbindung)
        QFile::remove(datei);
    return verbindung;
}

std::unique_ptr<Verbindung> Verbindung::Oeffnen(const VerbindungsDaten& daten)
{
    if (daten.treiber.compare(u"QSQLITE", Qt::CaseInsensitive) == 0)
        return OpenDatabase(daten.datenbankName);
    if (!QSqlDatabase::isDriverAvailable(daten.treiber)) {
        FehlerMerken(
            dbFehlerServer,
            QStringLiteral("Der Datenbanktreiber %1 ist nicht verfügbar.").arg(daten.treiber));
        return nullptr;
    }
    std::unique_ptr<Verbindung> verbindung = neu(daten.treiber);
    QSqlDatabase db = QSqlDatabase::database(verbindung->m_name, false);
    db.setDatabaseName(daten.datenbankName);
    if (!daten.host.isEmpty())
        db.setHostName(daten.host);
    if (daten.port > 0)
        db.setPort(daten.port);
    db.setUserName(daten.benutzer);
    db.setPassword(daten.passwort);
    db.setConnectOptions(daten.optionen);
    if (!db.open()) {
        verbindung->m_fehlernummer = FehlerMerken(db.lastError(), daten.passwort);
        return nullptr;
    }
    switch (db.driver()->dbmsType()) {
    case QSqlDriver::SQLite:
        verbindung->m_dialekt = Dialekt::SQLite;
        break;
    case QSqlDriver::PostgreSQL:
        verbindung->m_dialekt = Dialekt::PostgreSQL;
        break;
    default:
        verbindung->m_dialekt = Dialekt::Andere;
        break;
    }
    QMutexLocker sperre(&RegisterSperre());
    Register().append(verbindung.get());
    return verbindung;
}

Verbindung::~Verbindung()
{
    Close();
}

bool Verbindung::offen() const
{
    return !m_name.isEmpty() && QSqlDatabase::contains(m_name) &&
           QSqlDatabase::database(m_name, false).isOpen();
}

void Verbindung::Close()
{
    if (m_name.isEmpty())
        return;
    {
        QMutexLocker sperre(&RegisterSperre());
        Register().removeAll(this);
    }
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_name.clear();
}

QSqlDatabase Verbindung::datenbank() const
{
    if (m_name.isEmpty())
        return QSqlDatabase();
    return QSqlDatabase::database(m_name, false);
}

bool Verbindung::Execute(const QString& sql, const QVariantList& werte)
{
    m_betroffen = -1;
    QSqlDatabase db = OffeneSqlVerbindung(m_name, m_fehlernummer);
    if (!db.isValid())
        return false;
    QSqlQuery abfrage(db);
    if (!SqlAusfuehren(abfrage, sql, werte, m_fehlernummer))
        return false;
    m_betroffen = abfrage.numRowsAffected();
    return true;
}

Recordset Verbindung::OpenRecordset(const QString& quelle, const QVariantList& werte, int optionen)
{
    Recordset rs;
    QSqlDatabase db = OffeneSqlVerbindung(m_name, m_fehlernummer);
    if (!db.isValid())
        return rs;

    const QString text = quelle.trimmed();
    QString sql = text;
    if (IstSqlName(text)) {
        rs.m_tabelle = text;
        sql = QStringLiteral("SELECT * FROM ") + SqlName(text);
    } else {
        rs.m_tabelle = EinzelneTabelle(text);
    }
    rs.m_verbindung = m_name;

    if ((optionen & dbAppendOnly) != 0 && IstSqlName(text)) {
        rs.m_nurAnfuegen = true;
        rs.m_offen = true;
        m_fehlernummer = 0;
        return rs;
    }

    QSqlQuery abfrage(db);
    if (!SqlAusfuehren(abfrage, sql, werte, m_fehlernummer))
        return Recordset();
    const QSqlRecord kopf = abfrage.record();
    for (int i = 0; i < kopf.count(); ++i)
        rs.m_felder << kopf.fieldName(i);
    while (abfrage.next()) {
        QVariantList zeile;
        zeile.reserve(kopf.count());
        for (int i = 0; i < kopf.count(); ++i)
            zeile << abfrage.value(i);
        rs.m_zeilen << zeile;
    }
    if (abfrage.lastError().isValid()) {
        m_fehlernummer = FehlerMerken(abfrage.lastError());
        return Recordset();
    }
    abfrage.finish();
    rs.m_offen = true;
    return rs;
}

bool Verbindung::TabelleVorhanden(const QString& tabelle) const
{
    if (!offen())
        return false;
    const QStringList tabellen = datenbank().tables(QSql::Tables);
    return std::any_of(tabellen.begin(), tabellen.end(), [&](const QString& name) {
        return name.compare(tabelle, Qt::CaseInsensitive) == 0;
    });
}

QStringList Verbindung::Feldnamen(const QString& tabelle)
{
    if (!IstSqlName(tabelle)) {
        m_fehlernummer = FehlerMerken(dbFehlerUngueltigerName,
                                      QStringLiteral("Ungültiger Name '%1'.").arg(tabelle));
        return {};
    }
    if (!TabelleVorhanden(tabelle))
        return {};
    QSqlDatabase db = OffeneSqlVerbindung(m_name, m_fehlernummer);
    if (!db.isValid())
        return {};
    QSqlQuery abfrage(db);
    if (!SqlAusfuehren(abfrage,
                       QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(SqlName(tabelle)), {},
                       m_fehlernummer))
        return {};
    QStringList namen;
    const QSqlRecord kopf = abfrage.record();
    for (int i = 0; i < kopf.count(); ++i)
        namen << kopf.fieldName(i);
    return namen;
}

bool Verbindung::FeldVorhanden(const QString& tabelle, const QString& feld)
{
    return Feldnamen(tabelle).contains(feld, Qt::CaseInsensitive);
}

QList<Verbindung*> Verbindung::offeneVerbindungen()
{
    QMutexLocker sperre(&RegisterSperre());
    return Register();
}
