#include "IndexListeSpeichern.h"

#include "MBConnection.h"
#include "Recordset.h"
#include "Transaktion.h"

#include "log/Log.h"
#include "platform/Global.h"

namespace {

// Deletes the meter's rows and adds the new ones; false on the first failure (FehlerText
// holds the database's message).
bool Ersetzen(Verbindung& verbindung, qint32 lznr, const QList<IndexListenWert>& werte)
{
    if (!verbindung.Execute(QStringLiteral("Delete from MB_IndexListe where lznr = ?"), {lznr}))
        return false;
    Recordset rs = verbindung.OpenRecordset(QStringLiteral("MB_IndexListe"), {}, dbAppendOnly);
    if (!rs.offen())
        return false;
    for (qsizetype i = 0; i < werte.size(); ++i) {
        const IndexListenWert& wert = werte[i];
        if (!rs.AddNew() || !rs.Setzen(QStringLiteral("lznr"), lznr) ||
            !rs.Setzen(QStringLiteral("MBIndex"), static_cast<int>(i + 1)) ||
            !rs.Setzen(QStringLiteral("Faktor"), 1.0) ||
            !rs.Setzen(QStringLiteral("MBTyp"), IndexListeMBTyp(wert.einheit)) ||
            !rs.Setzen(QStringLiteral("Art"), wert.art) ||
            !rs.Setzen(QStringLiteral("Einheit"), IndexListeEinheit(wert.einheit)) ||
            !rs.Setzen(QStringLiteral("Speichern"), 1) ||
            !rs.Setzen(QStringLiteral("Anzeigen"), 1) || !rs.Update())
            return false;
    }
    return true;
}

} // namespace

int IndexListeMBTyp(const QString& einheit)
{
    int typ = 0;
    if (einheit.contains(QStringLiteral("kW")) || einheit.contains(u'/') ||
        einheit.contains(QStringLiteral("°C")))
        typ = 1;
    if (einheit.contains(QStringLiteral("kWh")))
        typ = 0;
    return typ;
}

QString IndexListeEinheit(const QString& einheit)
{
    qsizetype ende = einheit.size();
    while (ende > 0 && einheit[ende - 1] == u' ')
        --ende;
    return ende == 0 ? QStringLiteral(" ") : einheit.left(ende);
}

int IndexListeSchreiben(qint32 lznr, const QList<IndexListenWert>& werte)
{
    if (!MB_DatenbankVerbinden())
        return -1;
    bool ok = false;
    {
        Transaktion transaktion(*MB_Connection);
        ok =
            transaktion.begonnen() && Ersetzen(*MB_Connection, lznr, werte) && transaktion.Commit();
        // leaving the block without Commit undoes the delete and every insert
    }
    if (!ok) {
        FehlerText = QStringLiteral("Fehler beim Speichern der Indexliste für lznr=") +
                     QString::number(lznr) + QStringLiteral(" : ") + FehlerText;
        LogSchreiben(FehlerText);
        return -1;
    }
    return static_cast<int>(werte.size());
}
