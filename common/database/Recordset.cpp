#include "Recordset.h"

#include "DatenbankFehler.h"
#include "SqlAusfuehrung.h"
#include "SqlNamen.h"

#include "platform/Global.h"

#include <QSqlIndex>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

bool IstZahl(const QVariant& wert)
{
    switch (wert.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

// The comparison of a criterion "feld = wert": numbers by value, texts without regard to
// letter case; an empty field matches nothing.
bool Gleich(const QVariant& feld, const QVariant& wert)
{
    if (!feld.isValid() || feld.isNull() || !wert.isValid() || wert.isNull())
        return false;
    if (IstZahl(feld) || IstZahl(wert)) {
        bool feldZahl = false;
        bool wertZahl = false;
        const double a = feld.toString().trimmed().replace(u',', u'.').toDouble(&feldZahl);
        const double b = wert.toString().trimmed().replace(u',', u'.').toDouble(&wertZahl);
        if (IstZahl(feld))
            return wertZahl && feld.toDouble() == b;
        return feldZahl && a == wert.toDouble();
    }
    return feld.toString().compare(wert.toString(), Qt::CaseInsensitive) == 0;
}

} // namespace

void Recordset::Close()
{
    *this = Recordset();
}

bool Recordset::Eof() const
{
    return m_position >= m_zeilen.size();
}

bool Recordset::Bof() const
{
    return m_position < 0 || m_zeilen.isEmpty();
}

int Recordset::RecordCount() const
{
    return static_cast<int>(m_zeilen.size());
}

void Recordset::MoveFirst()
{
    m_position = 0;
}

void Recordset::MoveLast()
{
    m_position = m_zeilen.isEmpty() ? 0 : static_cast<int>(m_zeilen.size()) - 1;
}

void Recordset::MoveNext()
{
    if (Eof()) {
        fehler(dbFehlerKeinAktuellerDatensatz, QStringLiteral("Kein aktueller Datensatz."));
        return;
    }
    ++m_position;
}

void Recordset::MovePrevious()
{
    if (m_position < 0) {
        fehler(dbFehlerKeinAktuellerDatensatz, QStringLiteral("Kein aktueller Datensatz."));
        return;
    }
    --m_position;
}

int Recordset::feldIndex(const QString& name) const
{
    for (int i = 0; i < m_felder.size(); ++i) {
        if (m_felder[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    const qsizetype punkt = name.lastIndexOf(u'.');
    if (punkt >= 0)
        return feldIndex(name.mid(punkt + 1));
    return -1;
}

bool Recordset::FeldVorhanden(const QString& name) const
{
    return feldIndex(name) >= 0;
}

bool Recordset::fehler(int nummer, const QString& text)
{
    m_fehlernummer = FehlerMerken(nummer, text);
    return false;
}

Feldwert Recordset::Feld(const QString& name) const
{
    return wertAn(feldIndex(name));
}

Feldwert Recordset::FeldAn(int spalte) const
{
    return wertAn(spalte < m_felder.size() ? spalte : -1);
}

Feldwert Recordset::wertAn(int index) const
{
    if (index < 0) {
        m_fehlernummer =
            FehlerMerken(dbFehlerElementNichtGefunden,
                         QStringLiteral("Element in dieser Auflistung nicht gefunden."));
        return Feldwert(QVariant(), false);
    }
    if (Bof() || Eof()) {
        m_fehlernummer = FehlerMerken(dbFehlerKeinAktuellerDatensatz,
                                      QStringLiteral("Kein aktueller Datensatz."));
        return Feldwert(QVariant(), true);
    }
    return Feldwert(m_zeilen[m_position].value(index));
}

bool Recordset::FindFirst(const QString& feld, const QVariant& wert)
{
    m_keinTreffer = true;
    const int index = feldIndex(feld);
    if (index < 0)
        return fehler(dbFehlerElementNichtGefunden,
                      QStringLiteral("Element in dieser Auflistung nicht gefunden."));
    for (int i = 0; i < m_zeilen.size(); ++i) {
        if (Gleich(m_zeilen[i].value(index), wert)) {
            m_position = i;
            m_keinTreffer = false;
            return true;
        }
    }
    return false;
}

bool Recordset::AddNew()
{
    CancelUpdate();
    if (!aktualisierbar())
        return fehler(
            dbFehlerSchreibgeschuetzt,
            QStringLiteral("Die Datensätze dieser Abfrage können nicht geändert werden."));
    m_modus = Modus::Neu;
    return true;
}

bool Recordset::Edit()
{
    CancelUpdate();
    if (!aktualisierbar() || m_nurAnfuegen)
        return fehler(
            dbFehlerSchreibgeschuetzt,
            QStringLiteral("Die Datensätze dieser Abfrage können nicht geändert werden."));
    if (Bof() || Eof())
        return fehler(dbFehlerKeinAktuellerDatensatz, QStringLiteral("Kein aktueller Datensatz."));
    m_modus = Modus::Aendern;
    return true;
}

bool Recordset::Setzen(const QString& feld, const QVariant& wert)
{
    if (m_modus == Modus::Lesen)
        return fehler(dbFehlerUpdateOhneAddNew,
                      QStringLiteral("Update oder CancelUpdate ohne AddNew oder Edit."));
    const QString name = feld.mid(feld.lastIndexOf(u'.') + 1);
    if (!IstSqlName(name) || (!m_nurAnfuegen && feldIndex(name) < 0))
        return fehler(dbFehlerElementNichtGefunden,
                      QStringLiteral("Element in dieser Auflistung nicht gefunden."));
    const int gesetzt = pufferIndex(name);
    if (gesetzt >= 0) {
        m_pufferWerte[gesetzt] = wert;
        return true;
    }
    m_pufferFelder << name;
    m_pufferWerte << wert;
    return true;
}

int Recordset::pufferIndex(const QString& feld) const
{
    for (int i = 0; i < m_pufferFelder.size(); ++i) {
        if (m_pufferFelder[i].compare(feld, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void Recordset::CancelUpdate()
{
    m_modus = Modus::Lesen;
    m_pufferFelder.clear();
    m_pufferWerte.clear();
}

bool Recordset::Update()
{
    if (m_modus == Modus::Lesen)
        return fehler(dbFehlerUpdateOhneAddNew,
                      QStringLiteral("Update oder CancelUpdate ohne AddNew oder Edit."));
    const bool ok = m_modus == Modus::Neu ? einfuegen() : aendern();
    // Whether stored or not, the row is finished: a failed row never reaches the next Update.
    CancelUpdate();
    if (ok)
        m_fehlernummer = 0;
    return ok;
}

const QStringList& Recordset::schluessel()
{
    if (m_schluesselGelesen)
        return m_schluessel;
    m_schluesselGelesen = true;
    int nummer = 0;
    const QSqlDatabase db = OffeneSqlVerbindung(m_verbindung, nummer);
    if (!db.isValid())
        return m_schluessel;
    // A server that folds names keeps its catalogue in lower case.
    for (const QString& name : {m_tabelle, m_tabelle.toLower()}) {
        const QSqlIndex index = db.primaryIndex(name);
        for (int i = 0; i < index.count(); ++i)
            m_schluessel << index.fieldName(i);
        if (!m_schluessel.isEmpty())
            break;
    }
    return m_schluessel;
}

bool Recordset::einfuegen()
{
    QSqlDatabase db = OffeneSqlVerbindung(m_verbindung, m_fehlernummer);
    if (!db.isValid())
        return false;
    QStringList spalten;
    QStringList platzhalter;
    for (const QString& feld : std::as_const(m_pufferFelder)) {
        spalten << SqlName(feld);
        platzhalter << QStringLiteral("?");
    }
    const QString sql =
        spalten.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(SqlName(m_tabelle))
                          : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(SqlName(m_tabelle), spalten.join(QStringLiteral(", ")),
                                     platzhalter.join(QStringLiteral(", ")));
    QSqlQuery abfrage(db);
    if (!SqlAusfuehren(abfrage, sql, m_pufferWerte, m_fehlernummer))
        return false;
    if (m_nurAnfuegen)
        return true;

    // The new row joins the recordset, read back by its key when the table has a single one
    // (so that values the database filled in show), else as it was set.
    QVariant neueId = abfrage.lastInsertId();
    abfrage.finish();
    QVariantList zeile;
    const QStringList& schluesselFelder = schluessel();
    if (schluesselFelder.size() == 1) {
        const int gesetzt = pufferIndex(schluesselFelder.first());
        const QVariant schluesselWert = gesetzt >= 0 ? m_pufferWerte[gesetzt] : neueId;
        if (schluesselWert.isValid() && !schluesselWert.isNull())
            zeile = zeileNachSchluessel(schluesselFelder.first(), schluesselWert);
    }
    if (zeile.isEmpty()) {
        for (const QString& feld : std::as_const(m_felder)) {
            const int gesetzt = pufferIndex(feld);
            zeile << (gesetzt >= 0 ? m_pufferWerte[gesetzt] : QVariant());
        }
    }
    m_zeilen << zeile;
    return true;
}

QVariantList Recordset::zeileNachSchluessel(const QString& feld, const QVariant& wert)
{
    int nummer = 0;
    QSqlDatabase db = OffeneSqlVerbindung(m_verbindung, nummer);
    if (!db.isValid())
        return {};
    QSqlQuery abfrage(db);
    const QString sql =
        QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(SqlName(m_tabelle), SqlName(feld));
    const QString fehlerVorher = FehlerText;
    if (!SqlAusfuehren(abfrage, sql, {wert}, nummer) || !abfrage.next()) {
        FehlerText = fehlerVorher; // the row is stored; only its read-back failed
        return {};
    }
    const QSqlRecord zeileDb = abfrage.record();
    QVariantList zeile;
    for (const QString& name : std::as_const(m_felder))
        zeile << zeileDb.value(name); // QSqlRecord finds names without regard to case
    return zeile;
}

bool Recordset::aendern()
{
    QSqlDatabase db = OffeneSqlVerbindung(m_verbindung, m_fehlernummer);
    if (!db.isValid())
        return false;
    if (Bof() || Eof())
        return fehler(dbFehlerKeinAktuellerDatensatz, QStringLiteral("Kein aktueller Datensatz."));
    if (m_pufferFelder.isEmpty())
        return true;

    const QStringList& schluesselFelder = schluessel();
    QStringList bedingungen;
    QVariantList schluesselWerte;
    for (const QString& feld : schluesselFelder) {
        const int index = feldIndex(feld);
        if (index < 0)
            break;
        bedingungen << SqlName(feld) + QStringLiteral(" = ?");
        schluesselWerte << m_zeilen[m_position].value(index);
    }
    if (schluesselFelder.isEmpty() || bedingungen.size() != schluesselFelder.size())
        return fehler(dbFehlerSchreibgeschuetzt,
                      QStringLiteral("Die Zeile kann nicht geändert werden: die Abfrage enthält "
                                     "den Schlüssel der Tabelle '%1' nicht.")
                          .arg(m_tabelle));

    QStringList zuweisungen;
    for (const QString& feld : std::as_const(m_pufferFelder))
        zuweisungen << SqlName(feld) + QStringLiteral(" = ?");
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                            .arg(SqlName(m_tabelle), zuweisungen.join(QStringLiteral(", ")),
                                 bedingungen.join(QStringLiteral(" AND ")));
    QSqlQuery abfrage(db);
    if (!SqlAusfuehren(abfrage, sql, m_pufferWerte + schluesselWerte, m_fehlernummer))
        return false;
    if (abfrage.numRowsAffected() == 0)
        return fehler(dbFehlerDatensatzGeloescht, QStringLiteral("Datensatz ist gelöscht."));

    QVariantList& zeile = m_zeilen[m_position];
    for (int i = 0; i < m_pufferFelder.size(); ++i) {
        for (int k = 0; k < m_felder.size(); ++k) {
            if (m_felder[k].compare(m_pufferFelder[i], Qt::CaseInsensitive) == 0)
                zeile[k] = m_pufferWerte[i];
        }
    }
    return true;
}
