#include "WertTabellen.h"

#include "DatenbankFehler.h"
#include "MBConnection.h"

#include "log/Log.h"
#include "platform/Global.h"

namespace {

// Opens rs for appending to the table after checking that the table has the columns.
bool AnfuegenOeffnen(Recordset& rs, const QString& tabelle, const QString& spalten,
                     const QString& dienst)
{
    rs.Close();
    bool ok = false;
    if (!MB_Connection || !MB_Connection->offen()) {
        FehlerMerken(dbFehlerGeschlossen,
                     QStringLiteral("Die Datenbankverbindung ist geschlossen."));
    } else if (MB_Connection->Execute(
                   QStringLiteral("SELECT %1 FROM %2 WHERE 1 = 0").arg(spalten, tabelle))) {
        rs = MB_Connection->OpenRecordset(tabelle, {}, dbAppendOnly);
        ok = rs.offen();
    }
    if (!ok)
        LogSchreiben(QStringLiteral("Fehler in ") + dienst + QStringLiteral(" : ") + FehlerText);
    return ok;
}

} // namespace

bool MB_ZaehlerstaendeOeffnen(Recordset& rs)
{
    return AnfuegenOeffnen(rs, QStringLiteral("Zaehlerstaende"),
                           QStringLiteral("lznr, Tm, DT, ZStand, ta"),
                           QStringLiteral("MB_ZaehlerstaendeOeffnen"));
}

bool MBIndexlisteOeffnen(Recordset& rs)
{
    return AnfuegenOeffnen(rs, QStringLiteral("MBusWerte"), QStringLiteral("lznr, Tm, idx, Wert"),
                           QStringLiteral("MBIndexlisteOeffnen"));
}

bool MB_RecordsetOeffnen(const std::shared_ptr<Verbindung>& verbindung, Recordset& rs,
                         const QString& sql, const QVariantList& werte)
{
    rs.Close();
    if (!verbindung || !verbindung->offen()) {
        FehlerMerken(dbFehlerGeschlossen,
                     QStringLiteral("Die Datenbankverbindung ist geschlossen."));
        return false;
    }
    rs = verbindung->OpenRecordset(sql, werte);
    return rs.offen();
}

int MB_ZaehlerstandSpeichern(Recordset& rs, qint32 lznr, UnixZeit tm, qint32 ta, double zstand)
{
    UnixZeit zeit = tm;
    const QDateTime dt = UnixZeitInDatum(zeit);
    if (!rs.AddNew() || !rs.Setzen(QStringLiteral("lznr"), lznr) ||
        !rs.Setzen(QStringLiteral("Tm"), tm) || !rs.Setzen(QStringLiteral("DT"), dt) ||
        !rs.Setzen(QStringLiteral("ZStand"), zstand) || !rs.Setzen(QStringLiteral("ta"), ta) ||
        !rs.Update()) {
        rs.CancelUpdate();
        return -1;
    }
    return 0;
}

int MB_MBusWertSpeichern(Recordset& rs, qint32 lznr, UnixZeit tm, qint32 idx, double wert)
{
    if (!rs.AddNew() || !rs.Setzen(QStringLiteral("lznr"), lznr) ||
        !rs.Setzen(QStringLiteral("Tm"), tm) || !rs.Setzen(QStringLiteral("idx"), idx) ||
        !rs.Setzen(QStringLiteral("Wert"), wert) || !rs.Update()) {
        rs.CancelUpdate();
        return -1;
    }
    return 0;
}
