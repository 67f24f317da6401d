#include "MasterZaehlerliste.h"

#include "MasterLog.h"

#include "database/Verbindung.h"
#include "grid/FlexGrid.h"
#include "grid/GridHilfen.h"
#include "platform/Global.h"
#include "platform/Meldung.h"
#include "text/Texte.h"

namespace {

QString FeldText(const Recordset& rs, const char* name)
{
    return rs.Feld(QString::fromLatin1(name)).text();
}

// A whole number of the row in the range, else the default.
template <class T> T FeldZahl(const Recordset& rs, const char* name, T vorgabe = T())
{
    const Feldwert feld = rs.Feld(QString::fromLatin1(name));
    if (feld.istNull())
        return vorgabe;
    const qint64 wert = feld.ganz();
    if (wert < std::numeric_limits<T>::min() || wert > std::numeric_limits<T>::max())
        return vorgabe;
    return static_cast<T>(wert);
}

void Fehler(FlexGrid& log, int port)
{
    MasterLogZeile(log, QStringLiteral("Fehler ZählerlisteLadenComPort = ") +
                            QString::number(port) + QStringLiteral(" Errorcode= ") + FehlerText);
}

void ZeileUebernehmen(const Recordset& rs, int i, Zaehlerliste& ziel)
{
    const QString adresse = FeldText(rs, "MBAdr");
    const QString id = FeldText(rs, "MB_ID");
    ziel.grid.setTextMatrix(i, 0, adresse);
    ziel.grid.setTextMatrix(i, 1, FeldText(rs, "MBBaud"));
    ziel.grid.setTextMatrix(i, 5, id);
    ziel.grid.setTextMatrix(i, 6, FeldText(rs, "TAGRP_NAME"));

    MBZaehler& z = ziel.zaehler[static_cast<size_t>(i)];
    z.MBBaud = FeldZahl<qint32>(rs, "MBBaud");
    z.MBAdr = FeldZahl<quint8>(rs, "MBAdr");
    z.LZNR = FeldZahl<qint32>(rs, "LZNR");
    z.MBIndex = FeldZahl<qint32>(rs, "MBIndex");
    z.Zname = FeldText(rs, "zname");
    z.BasisTarif = FeldZahl<quint8>(rs, "BasisTarif");
    z.MB_ID = id;
    z.MB_SelectSec = FeldText(rs, "MB_SelectSec");
    const double comPort = Val(FeldText(rs, "MBComP"));
    z.MBComP = comPort >= 0 && comPort <= 255 ? static_cast<quint8>(comPort) : 0;

    ziel.indexAuswahl.append(adresse + QLatin1Char(';') + id + QLatin1Char(';') +
                             FeldText(rs, "BasisTarif"));
}

// Marks the stored records of meter i from its index list. False when the query failed.
bool IndexlisteLaden(Verbindung& verbindung, MBZaehler& z, Zaehlerliste& ziel)
{
    Recordset rs = verbindung.OpenRecordset(IndexlisteAbfrage(z.LZNR));
    if (!rs.offen())
        return false;
    if (rs.Eof()) {
        MasterLogZeile(ziel.log, QStringLiteral("Für lznr ") + QString::number(z.LZNR) +
                                     QStringLiteral(" Index ") + QString::number(z.MBAdr) +
                                     QStringLiteral(" keine Indexliste "));
        z.IndexAnz = 0;
        return true;
    }
    z.IndexAnz = static_cast<qint16>(qMin(rs.RecordCount(), 32767));
    for (; !rs.Eof(); rs.MoveNext()) {
        const Feldwert index = rs.Feld(QStringLiteral("MBIndex"));
        const qint64 k = index.ganz();
        if (index.istNull() || k < 0 || k > MBZaehler::kMaxWerte) {
            MasterLogZeile(ziel.log, QStringLiteral("Indexliste lznr ") + QString::number(z.LZNR) +
                                         QStringLiteral(": MBIndex ") + index.text() +
                                         QStringLiteral(" liegt nicht in 0 bis 255, übergangen"));
            continue;
        }
        MBWert& wert = z.Werte[static_cast<size_t>(k)];
        wert.Speichern = rs.Feld(QStringLiteral("Speichern")).jaNein() ? 255 : 0;
        const double typ = Val(rs.Feld(QStringLiteral("MBTyp")).text());
        wert.MBTyp = typ >= 0 && typ <= 255 ? static_cast<quint8>(typ) : 0;
    }
    rs.Close();
    return true;
}

} // namespace

QString ZaehlerlisteAbfrage(int port)
{
    return QStringLiteral(" SELECT zaehler.LZNR, zaehler.STUFE, zaehler.ZQUELLE, "
                          "zaehler.TARIFGRUPPE, zaehler.ZNR, ") +
           QStringLiteral(" zaehler.ZNAME, zaehler.FAKTOR, zaehler.IMPULSE, zaehler.OFFSET, "
                          "zaehler.MBComP, zaehler.MB_ID, ") +
           QStringLiteral(" zaehler.MBAdr, zaehler.MBBaud, zaehler.MBIndex, tagrp.TAGRP_NAME, "
                          "tagrp.BasisTarif, zaehler.MB_SelectSec, zaehler.zname ") +
           QStringLiteral(" FROM zaehler INNER JOIN tagrp ON zaehler.TARIFGRP = tagrp.TAGRP_NR ") +
           QStringLiteral(" Where ((zaehler.Stufe > 0) And (zaehler.ZQuelle = 'M-Bus') And "
                          "(zaehler.MBComP = ") +
           QString::number(port) + QStringLiteral("))") +
           QStringLiteral(" ORDER BY Zaehler.MBBaud desc, Zaehler.MBAdr");
}

QString IndexlisteAbfrage(qint32 lznr)
{
    return QStringLiteral(" SELECT MB_IndexListe.LZNR, MB_IndexListe.MBIndex, "
                          "MB_IndexListe.Art, ") +
           QStringLiteral(" MB_IndexListe.Einheit, MB_IndexListe.Speichern, "
                          "MB_IndexListe.Anzeigen, ") +
           QStringLiteral(" MB_IndexListe.Faktor, MB_IndexListe.Farbe, MB_IndexListe.MBTyp, "
                          "MB_IndexListe.TarifNr, ") +
           QStringLiteral(" MB_IndexListe.Reihenfolge ") +
           QStringLiteral(" FROM zaehler INNER JOIN MB_INDEXLISTE ON zaehler.LZNR = "
                          "MB_INDEXLISTE.LZNR") +
           QStringLiteral(" Where ((MB_IndexListe.lznr = ") + QString::number(lznr) +
           QStringLiteral("))");
}

int BM_ZaehlerlisteLadenComPort(Verbindung* verbindung, int port, Zaehlerliste ziel)
{
    ziel.grid.setCols(7);
    if (port == 0) {
        MsgBox(QStringLiteral("Kein Comport anngegeben"));
        return -1;
    }
    if (!verbindung || !verbindung->offen()) {
        FehlerText = QStringLiteral("Keine Verbindung zur Datenbank");
        Fehler(ziel.log, port);
        return -1;
    }
    Recordset rs = verbindung->OpenRecordset(ZaehlerlisteAbfrage(port));
    if (!rs.offen()) {
        Fehler(ziel.log, port);
        return -1;
    }
    if (rs.Eof()) {
        rs.Close();
        MasterLogZeile(ziel.log,
                       QStringLiteral("Fehler keine Zähler.  ComPort = ") + QString::number(port));
        return -1;
    }
    const int anzahl = rs.RecordCount();
    if (anzahl > kMaxZaehlerJePort) {
        rs.Close();
        FehlerText = QStringLiteral("%1 Zähler an einem Port, höchstens %2 möglich")
                         .arg(anzahl)
                         .arg(kMaxZaehlerJePort);
        Fehler(ziel.log, port);
        return -1;
    }
    const int zeilen = anzahl + 1;
    ziel.grid.setRows(zeilen);
    ziel.zaehler.assign(static_cast<size_t>(zeilen) + 1, MBZaehler());
    MasterLogZeile(ziel.log, QStringLiteral("Lade Zählerliste. Anz = ") + QString::number(zeilen));

    ziel.indexAuswahl.clear();
    int i = 1;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext(), ++i)
        ZeileUebernehmen(rs, i, ziel);
    MasterLogZeile(ziel.log, QStringLiteral("Geladene Zähler. Anz = ") + QString::number(anzahl));
    rs.Close();

    for (i = 1; i < zeilen; ++i) {
        if (!IndexlisteLaden(*verbindung, ziel.zaehler[static_cast<size_t>(i)], ziel)) {
            Fehler(ziel.log, port);
            return zeilen;
        }
    }
    FlexGridSpaltenbreiten(ziel.grid);
    return zeilen;
}
