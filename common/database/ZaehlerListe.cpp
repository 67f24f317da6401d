#include "ZaehlerListe.h"

#include "BasisMdb.h"

bool ZaehlerListeLaden(QList<QStringList>& feld)
{
    DatenbankSitzung sitzung;
    return sitzung.offen() && ZaehlerListeLaden(*Datenbank, feld);
}

bool ZaehlerListeLaden(Verbindung& verbindung, QList<QStringList>& feld)
{
    Recordset rs = verbindung.OpenRecordset(ZaehlerListeAbfrage);
    if (!rs.offen())
        return false;

    if (rs.RecordCount() == 0) {
        feld = {QStringList{QString()}};
        return true;
    }
    QList<QStringList> liste;
    liste.reserve(rs.RecordCount());
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        QStringList zeile(ZaehlerListeSpalten);
        for (int k = 1; k <= 9; ++k)
            zeile[k] = rs.FeldAn(k).text();
        liste << zeile;
    }
    feld = liste;
    return true;
}
