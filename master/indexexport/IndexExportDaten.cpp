#include "IndexExportDaten.h"

#include "database/BasisMdb.h"
#include "database/OdbcVerbindungstext.h"
#include "database/Schema.h"
#include "database/Transaktion.h"
#include "database/Verbindung.h"
#include "database/ZaehlerListe.h"
#include "platform/Global.h"

#include <QRegularExpression>

#include <optional>

namespace {

// The connection of one operation: the caller's, or basis.mdb for the time of the operation.
class Zugriff
{
public:
    explicit Zugriff(Verbindung* verbindung)
    {
        if (verbindung) {
            if (verbindung->offen())
                m_verbindung = verbindung;
            else
                FehlerText = QStringLiteral("Die Datenbankverbindung ist geschlossen.");
            return;
        }
        m_sitzung.emplace();
        if (m_sitzung->offen())
            m_verbindung = Datenbank;
    }
    Verbindung* operator->() const { return m_verbindung; }
    Verbindung& operator*() const { return *m_verbindung; }
    explicit operator bool() const { return m_verbindung != nullptr; }

private:
    std::optional<DatenbankSitzung> m_sitzung;
    Verbindung* m_verbindung = nullptr;
};

const QString kZaehlerAbfrage =
    QStringLiteral(" SELECT    zaehler.LZNR, zaehler.ZNR, zaehler.ZNAME, zaehler.MBAdr, "
                   "zaehler.MBComP, zaehler.MBBaud, zaehler.MBIndex, zaehler.MBZstand") +
    QStringLiteral(" From zaehler") + QStringLiteral(" Where ((zaehler.lznr = ?))");

const QString kIndexAbfrage = QStringLiteral(
    "SELECT Lznr, MBIndex, Text FROM MBusIndexListe WHERE Lznr = ? ORDER BY MBIndex");

bool Ersetzen(Verbindung& verbindung, qint32 lznr, const QList<IndexExportZeile>& zeilen,
              int& anzahl)
{
    if (!verbindung.Execute(QStringLiteral("DELETE FROM MBusIndexListe WHERE Lznr = ?"), {lznr}))
        return false;
    for (const IndexExportZeile& zeile : zeilen) {
        const std::optional<int> index = IndexWert(zeile.index);
        if (!index)
            continue;
        if (!verbindung.Execute(
                QStringLiteral("INSERT INTO MBusIndexListe (Lznr, MBIndex, Text) VALUES (?, ?, ?)"),
                {lznr, *index, zeile.text}))
            return false;
        ++anzahl;
    }
    return true;
}

} // namespace

std::optional<int> IndexWert(const QString& text)
{
    bool ok = false;
    const int wert = text.trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return wert;
}

QString IndexExportDaten::DatenbankName() const
{
    if (!m_verbindung)
        return DBPath + BasisMdbName;
    // a server's connection string, without the credentials
    OdbcVerbindungstext text(m_verbindung->datenbank().databaseName());
    text.entfernen(QStringLiteral("UID"));
    text.entfernen(QStringLiteral("PWD"));
    return text.text();
}

bool IndexExportDaten::TabelleSicherstellen()
{
    FehlerText.clear();
    const Zugriff db(m_verbindung);
    if (!db)
        return false;
    if (db->OpenRecordset(QStringLiteral("SELECT Lznr FROM MBusIndexListe WHERE 1 = 0")).offen())
        return true;
    static const QRegularExpression kTabelle(QStringLiteral("\\bMBusIndexListe\\b"));
    Transaktion transaktion(*db);
    if (!transaktion.begonnen())
        return false;
    for (const QString& anweisung : SchemaAnweisungen(db->dialekt()))
        if (kTabelle.match(anweisung).hasMatch() && !db->Execute(anweisung))
            return false;
    return transaktion.Commit();
}

bool IndexExportDaten::ZaehlerListeLaden(QList<QStringList>& liste)
{
    FehlerText.clear();
    const Zugriff db(m_verbindung);
    return db && ::ZaehlerListeLaden(*db, liste);
}

bool IndexExportDaten::ZaehlerLaden(qint32 lznr, ZaehlerKopf& kopf, QList<IndexExportZeile>& zeilen)
{
    FehlerText.clear();
    kopf = {};
    zeilen.clear();
    const Zugriff db(m_verbindung);
    if (!db)
        return false;
    {
        Recordset rs = db->OpenRecordset(kZaehlerAbfrage, {lznr});
        if (!rs.offen())
            return false;
        if (!rs.Eof()) {
            kopf.znr = rs.FeldAn(1).text();
            kopf.zname = rs.FeldAn(2).text();
            const Feldwert adresse = rs.FeldAn(3);
            bool zahl = false;
            adresse.text().toDouble(&zahl);
            if (zahl)
                kopf.mbAdr = adresse.text();
        }
    }
    Recordset rs = db->OpenRecordset(kIndexAbfrage, {lznr});
    if (!rs.offen())
        return false;
    for (; !rs.Eof(); rs.MoveNext())
        zeilen.append({rs.FeldAn(0).text(), rs.FeldAn(1).text(), rs.FeldAn(2).text()});
    return true;
}

int IndexExportDaten::IndexSpeichern(qint32 lznr, const QList<IndexExportZeile>& zeilen)
{
    FehlerText.clear();
    const Zugriff db(m_verbindung);
    if (!db)
        return -1;
    int anzahl = 0;
    Transaktion transaktion(*db);
    if (!transaktion.begonnen() || !Ersetzen(*db, lznr, zeilen, anzahl) || !transaktion.Commit())
        return -1; // leaving without Commit undoes the delete and every insert
    return anzahl;
}
