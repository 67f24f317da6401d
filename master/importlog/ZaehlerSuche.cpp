#include "ZaehlerSuche.h"

#include "database/BasisMdb.h"
#include "platform/Global.h"

namespace {

const QString kAbfrage = QStringLiteral("SELECT MBAdr, MBIndex, LZNR, MBComP FROM zaehler "
                                        "WHERE MBAdr IS NOT NULL ORDER BY MBAdr, LZNR");

} // namespace

bool ZaehlerSuche::laden()
{
    m_zeilen.clear();
    m_anzahl = 0;
    DatenbankSitzung sitzung;
    if (!sitzung.offen())
        return false;
    Recordset rs = Datenbank->OpenRecordset(kAbfrage);
    if (!rs.offen())
        return false;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        if (rs.FeldAn(1).istNull() || rs.FeldAn(2).istNull())
            continue;
        Zeile zeile;
        zeile.lznr = qint32(rs.FeldAn(2).ganz());
        zeile.port = rs.FeldAn(3).istNull() ? -1 : rs.FeldAn(3).ganz();
        m_zeilen[schluessel(rs.FeldAn(0).ganz(), rs.FeldAn(1).ganz())].append(zeile);
        ++m_anzahl;
    }
    return true;
}

ZaehlerSuche::Treffer ZaehlerSuche::suchen(int adresse, int index, int port, qint32& lznr) const
{
    const auto gefunden = m_zeilen.constFind(schluessel(adresse, index));
    if (gefunden == m_zeilen.cend())
        return Treffer::Keiner;
    const QList<Zeile>& zeilen = *gefunden;
    if (zeilen.size() == 1) {
        lznr = zeilen.front().lznr;
        return Treffer::Eindeutig;
    }
    if (port >= 0) {
        const Zeile* einzige = nullptr;
        for (const Zeile& zeile : zeilen) {
            if (zeile.port != port)
                continue;
            if (einzige)
                return Treffer::Mehrdeutig;
            einzige = &zeile;
        }
        if (einzige) {
            lznr = einzige->lznr;
            return Treffer::Eindeutig;
        }
    }
    return Treffer::Mehrdeutig;
}
