#include "DatenbankImport.h"

#include "ZaehlerListeDatei.h"
#include "database/Recordset.h"
#include "database/Transaktion.h"
#include "database/Verbindung.h"
#include "grid/FlexGrid.h"
#include "platform/Global.h"
#include "text/Texte.h"

#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

#include <utility>

namespace {

const QString kMBus = QStringLiteral("M-Bus");

// A whole number (blanks around allowed) of at most six digits.
bool Ganzzahl(const QString& text, int& wert)
{
    static const QRegularExpression kMuster(QStringLiteral("^-?[0-9]{1,6}$"));
    const QString t = text.trimmed();
    if (!kMuster.match(t).hasMatch())
        return false;
    wert = t.toInt();
    return true;
}

// The value a number cell is stored as: the number, or NULL when it holds none.
QVariant ZahlOderNull(const QString& text)
{
    int wert = 0;
    return Ganzzahl(text, wert) ? QVariant(wert) : QVariant();
}

struct Vorgabe
{
    const char* feld;
    QVariant wert;
};

constexpr int kVorlageSpalten = 7;

// A row of the index import list that can serve as a template: its numbers are numbers.
bool VorlageZeileGueltig(const FlexGrid& vorlage, int zeile, int& mbIndex, int& tarifGrp)
{
    return vorlage.Cols() >= kVorlageSpalten && Ganzzahl(vorlage.TextMatrix(zeile, 2), mbIndex) &&
           Ganzzahl(vorlage.TextMatrix(zeile, 4), tarifGrp);
}

// Addresses above this are none to store: 253 selects by secondary address, at 254 and 255
// (broadcast) every meter answers.
constexpr int kHoechstePrimaerAdresse = 250;

bool GleicheNummer(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The row (position from 0) for the meter with the number at the primary address, -1 for none:
// the row there holding that number, else the meter's row stored without a usable address (it
// was listed only above 250, or at 0 as it came from the factory), else the first row at the
// address that neither this import wrote for another meter nor holds the number of another
// meter the list shows at that address.
int ZeileAnAdresse(Recordset& zaehler, int adresse, const QString& id,
                   const QHash<int, QString>& geschrieben, const QStringList& nummernDort)
{
    const auto gelistet = [&nummernDort](const QString& nummer) {
        return std::any_of(nummernDort.cbegin(), nummernDort.cend(),
                           [&nummer](const QString& n) { return GleicheNummer(n, nummer); });
    };
    int erste = -1;
    int ohneAdresse = -1;
    int position = 0;
    for (zaehler.MoveFirst(); !zaehler.Eof(); zaehler.MoveNext(), ++position) {
        const Feldwert mbAdr = zaehler.Feld(QStringLiteral("MBAdr"));
        const QString znr = zaehler.Feld(QStringLiteral("ZNr")).text();
        if (mbAdr.istNull() || mbAdr.ganz() < 1 || mbAdr.ganz() > kHoechstePrimaerAdresse) {
            if (ohneAdresse < 0 && GleicheNummer(znr, id))
                ohneAdresse = position;
            continue;
        }
        if (mbAdr.ganz() != adresse)
            continue;
        const auto fuer = geschrieben.constFind(position);
        if (fuer != geschrieben.cend() && !GleicheNummer(*fuer, id))
            continue;
        if (GleicheNummer(znr, id))
            return position;
        if (erste < 0 && !gelistet(znr))
            erste = position;
    }
    return ohneAdresse >= 0 ? ohneAdresse : erste;
}

void Hingehen(Recordset& zaehler, int position)
{
    zaehler.MoveFirst();
    for (int i = 0; i < position && !zaehler.Eof(); ++i)
        zaehler.MoveNext();
}

} // namespace

QString DatenbankImport::ListenBericht::Meldung() const
{
    QStringList zeilen;
    if (ohneAdresse > 0) {
        // Meters counted when only one kind is there: by the rows, as before the counts existed.
        const int behalten = ohneGespeichert > 0 ? mitAdresse : ohneAdresse;
        const auto behaltenText = [](int anzahl, bool allein) {
            if (allein)
                return anzahl == 1 ? QStringLiteral("der Zähler behält seine bisherige Adresse")
                                   : QStringLiteral("die Zähler behalten ihre bisherige Adresse");
            return anzahl == 1 ? QStringLiteral("1 Zähler behält seine bisherige Adresse")
                               : QString::number(anzahl) +
                                     QStringLiteral(" Zähler behalten ihre bisherige Adresse");
        };
        const auto ohneText = [](int anzahl, bool allein) {
            if (allein)
                return anzahl == 1 ? QStringLiteral("der Zähler wurde ohne Adresse gespeichert")
                                   : QStringLiteral("die Zähler wurden ohne Adresse gespeichert");
            return anzahl == 1 ? QStringLiteral("1 Zähler wurde ohne Adresse gespeichert")
                               : QString::number(anzahl) +
                                     QStringLiteral(" Zähler wurden ohne Adresse gespeichert");
        };
        QStringList folgen;
        if (behalten > 0)
            folgen << behaltenText(behalten, ohneGespeichert == 0);
        if (ohneGespeichert > 0)
            folgen << ohneText(ohneGespeichert, behalten == 0);
        zeilen << QStringLiteral("%1 mit einer Adresse über 250 (keine Primäradresse): diese "
                                 "Adresse wurde nicht gespeichert, %2.")
                      .arg(ohneAdresse == 1
                               ? QStringLiteral("1 Zeile")
                               : QString::number(ohneAdresse) + QStringLiteral(" Zeilen"),
                           folgen.join(QStringLiteral(", ")));
    }
    for (const QString& adresse : doppelt)
        zeilen << QStringLiteral("Adresse ") + adresse +
                      QStringLiteral(" ist in der Liste mehrfach vergeben: jeder Zähler wurde in "
                                     "einer eigenen Zeile gespeichert.");
    return zeilen.join(QLatin1Char('\n'));
}

QString DatenbankImport::TarifText(const QString& vorlage)
{
    QString tarif = vorlage;
    tarif.replace(QLatin1Char(','), QLatin1Char(';'));
    if (!tarif.endsWith(QLatin1Char(';')))
        tarif += QLatin1Char(';');
    return tarif;
}

void DatenbankImport::ImportGet(Recordset& zaehler, bool neu, const FlexGrid& vorlage,
                                const QString& hersteller, const QString& medium)
{
    const Vorgabe vorgaben[] = {
        {"faktor", 1},
        {"Impulse", 1},
        {"Offset", 0},
        {"ZTyp", QStringLiteral("EVZ-Zähler")},
        {"ZStellen", 7},
        {"Stufe", 1},
        {"MBIndex", 1},
        {"TarifGruppe", QStringLiteral("Strom")},
        {"TarifGrp", 1},
        {"Tarif", QStringLiteral("5;")},
        {"Feld", QStringLiteral("E")},
    };
    for (const Vorgabe& vorgabe : vorgaben) {
        const QString feld = QString::fromLatin1(vorgabe.feld);
        if (neu || zaehler.Feld(feld).istNull())
            zaehler.Setzen(feld, vorgabe.wert);
    }
    const QString gross = medium.toUpper();
    for (int zeile = 1; zeile < vorlage.Rows(); ++zeile) {
        if (vorlage.TextMatrix(zeile, 0) != hersteller || vorlage.TextMatrix(zeile, 1) != gross)
            continue;
        int mbIndex = 0;
        int tarifGrp = 0;
        // A row whose numbers are none is no template.
        if (!VorlageZeileGueltig(vorlage, zeile, mbIndex, tarifGrp))
            continue;
        zaehler.Setzen(QStringLiteral("MBIndex"), mbIndex);
        zaehler.Setzen(QStringLiteral("TarifGruppe"), vorlage.TextMatrix(zeile, 3));
        zaehler.Setzen(QStringLiteral("TarifGrp"), tarifGrp);
        zaehler.Setzen(QStringLiteral("Tarif"), TarifText(vorlage.TextMatrix(zeile, 5)));
        zaehler.Setzen(QStringLiteral("Feld"), vorlage.TextMatrix(zeile, 6));
        return;
    }
}

QString DatenbankImport::VorlageMaengel(const FlexGrid& vorlage)
{
    // Rows with text; an empty grid (no list loaded) has none.
    QList<int> zeilen;
    for (int zeile = 1; zeile < vorlage.Rows(); ++zeile)
        for (int spalte = 0; spalte < vorlage.Cols(); ++spalte)
            if (!vorlage.TextMatrix(zeile, spalte).trimmed().isEmpty()) {
                zeilen << zeile;
                break;
            }
    if (zeilen.isEmpty())
        return QString();
    const QString liste = ZaehlerListeDatei::kIndexListe;
    if (vorlage.Cols() < kVorlageSpalten)
        return liste + QStringLiteral(" hat weniger als 7 Spalten (Herst.;Medium;MBIndex;"
                                      "TarifGruppe;TarifGrp;Tarif;Feld) und wird nicht verwendet.");
    QStringList unbrauchbar;
    for (const int zeile : zeilen) {
        int mbIndex = 0;
        int tarifGrp = 0;
        if (!VorlageZeileGueltig(vorlage, zeile, mbIndex, tarifGrp))
            unbrauchbar << QString::number(zeile + 1);
    }
    if (unbrauchbar.isEmpty())
        return QString();
    return liste + QStringLiteral(": Zeile ") + unbrauchbar.join(QStringLiteral(", ")) +
           QStringLiteral(" wird nicht verwendet (MBIndex und TarifGrp müssen ganze Zahlen sein).");
}

int DatenbankImport::ListeImportieren(Verbindung& db, const FlexGrid& scanListe,
                                      const FlexGrid& vorlage, int port, QString& fehler,
                                      ListenBericht* bericht)
{
    if (scanListe.Cols() < kMinSpalten) {
        fehler = QStringLiteral("Die Liste hat nicht die Spalten einer Zählerliste.");
        return -1;
    }
    Recordset zaehler = db.OpenRecordset(
        QStringLiteral("SELECT * FROM zaehler WHERE ZQUELLE = ? AND MBComP = ? ORDER BY LZNR"),
        {kMBus, port});
    if (!zaehler.offen()) {
        fehler = FehlerText;
        return -1;
    }
    ListenBericht eigenerBericht;
    ListenBericht& b = bericht ? *bericht : eigenerBericht;
    b = ListenBericht();
    // The meter numbers the list shows per usable address, and the rows this import wrote
    // (position, meter number).
    QMap<int, QStringList> nummernAnAdresse;
    for (int zeile = 1; zeile < scanListe.Rows(); ++zeile) {
        const QString id = scanListe.TextMatrix(zeile, 1);
        const QString primaer = scanListe.TextMatrix(zeile, 0);
        const int adresse = ZaehlerListeDatei::PortZahl(primaer);
        if (id.trimmed().isEmpty() || primaer.trimmed().isEmpty() || adresse < 1 ||
            adresse > kHoechstePrimaerAdresse)
            continue;
        QStringList& nummern = nummernAnAdresse[adresse];
        if (std::none_of(nummern.cbegin(), nummern.cend(),
                         [&id](const QString& n) { return GleicheNummer(n, id); }))
            nummern << id;
    }
    QHash<int, QString> geschrieben;
    // The meters (numbers case-folded) of the rows above 250, those found with an address there,
    // and those this import stored an address for.
    QSet<QString> ueber250;
    QSet<QString> mitAdresse;
    int gespeichert = 0;
    for (int zeile = 1; zeile < scanListe.Rows(); ++zeile) {
        const QString id = scanListe.TextMatrix(zeile, 1);
        const QString primaer = scanListe.TextMatrix(zeile, 0);
        if (id.trimmed().isEmpty() || primaer.trimmed().isEmpty())
            continue;
        const QString hersteller = scanListe.TextMatrix(zeile, 2);
        const QString medium = scanListe.TextMatrix(zeile, 4);
        const int adresse = ZaehlerListeDatei::PortZahl(primaer);
        const bool adresseSpeichern = adresse <= kHoechstePrimaerAdresse;
        bool gefunden = false;
        if (adresse < 1 || !adresseSpeichern) {
            gefunden = zaehler.FindFirst(QStringLiteral("ZNr"), id);
        } else {
            const int position =
                ZeileAnAdresse(zaehler, adresse, id, geschrieben, nummernAnAdresse.value(adresse));
            gefunden = position >= 0;
            if (gefunden)
                Hingehen(zaehler, position);
        }
        if (!adresseSpeichern) {
            ++b.ohneAdresse;
            ueber250.insert(id.toCaseFolded());
            if (gefunden && !zaehler.Feld(QStringLiteral("MBAdr")).istNull())
                mitAdresse.insert(id.toCaseFolded());
        } else {
            mitAdresse.insert(id.toCaseFolded());
        }
        const bool ok =
            (gefunden ? zaehler.Edit() : zaehler.AddNew()) &&
            (gefunden || zaehler.Setzen(QStringLiteral("ZName"), hersteller + u'_' + id)) &&
            zaehler.Setzen(QStringLiteral("ZQUELLE"), kMBus) &&
            zaehler.Setzen(QStringLiteral("MBComP"), port) &&
            zaehler.Setzen(QStringLiteral("MBZStand"), 1) &&
            zaehler.Setzen(QStringLiteral("ZNr"), id) &&
            zaehler.Setzen(QStringLiteral("MBBaud"),
                           ZahlOderNull(GetFeld(scanListe.TextMatrix(zeile, 6), 0))) &&
            (!adresseSpeichern || zaehler.Setzen(QStringLiteral("MBAdr"), adresse)) &&
            zaehler.Setzen(QStringLiteral("MB_Medium"), medium) &&
            zaehler.Setzen(QStringLiteral("MB_Version"), scanListe.TextMatrix(zeile, 3)) &&
            zaehler.Setzen(QStringLiteral("MB_Id"), id) &&
            zaehler.Setzen(QStringLiteral("Hersteller"), hersteller);
        if (ok)
            ImportGet(zaehler, !gefunden, vorlage, hersteller, medium);
        const int position = zaehler.AbsolutePosition();
        if (!ok || !zaehler.Update()) {
            fehler = FehlerText;
            zaehler.CancelUpdate();
            return -1;
        }
        // A new row joins the recordset at its end.
        geschrieben.insert(gefunden ? position : zaehler.RecordCount() - 1, id);
        ++gespeichert;
    }
    for (const QString& nummer : std::as_const(ueber250))
        ++(mitAdresse.contains(nummer) ? b.mitAdresse : b.ohneGespeichert);
    for (auto it = nummernAnAdresse.cbegin(); it != nummernAnAdresse.cend(); ++it)
        if (it->size() > 1)
            b.doppelt << QString::number(it.key()) + QStringLiteral(" (") +
                             it->join(QStringLiteral(", ")) + u')';
    return gespeichert;
}

int DatenbankImport::SatzNummer(const QString& index)
{
    int nummer = 0;
    if (index.contains(QLatin1Char('['))) {
        QString text = index;
        text.replace(QLatin1Char('['), QLatin1Char(';'))
            .replace(QLatin1Char(']'), QLatin1Char(';'));
        return Ganzzahl(GetFeld(text, 1), nummer) ? nummer : 0;
    }
    return Ganzzahl(index, nummer) ? nummer : 0;
}

DatenbankImport::Ergebnis DatenbankImport::IndexeImportieren(Verbindung& db, const FlexGrid& saetze,
                                                             int port, const QString& adresse,
                                                             int zeile, QString& meldung)
{
    int mbAdr = 0;
    if (!Ganzzahl(adresse, mbAdr))
        return Ergebnis::NichtGefunden;
    Recordset zaehler = db.OpenRecordset(
        QStringLiteral("SELECT LZNR FROM zaehler WHERE ZQUELLE = ? AND MBComP = ? AND MBAdr = ? "
                       "ORDER BY LZNR"),
        {kMBus, port, mbAdr});
    QString nummerText;
    const auto scheitern = [&] {
        meldung = QStringLiteral("Import Idx ") + FehlerText + QStringLiteral("\n\r") +
                  QStringLiteral("Index = ") + nummerText + QStringLiteral("  Zeile=") +
                  QString::number(zeile);
        return Ergebnis::Fehler;
    };
    if (!zaehler.offen())
        return scheitern();
    if (zaehler.RecordCount() != 1)
        return Ergebnis::NichtGefunden;
    const qint64 lznr = zaehler.Feld(QStringLiteral("LZNR")).ganz();
    const QString nummerFeld =
        Mandant == QStringLiteral("2500") ? QStringLiteral("Index") : QStringLiteral("MBIndex");

    Transaktion transaktion(db);
    if (!transaktion.begonnen() ||
        !db.Execute(QStringLiteral("DELETE FROM MB_IndexListe WHERE lznr = ?"), {lznr}))
        return scheitern();
    Recordset liste = db.OpenRecordset(QStringLiteral("MB_IndexListe"), {}, dbAppendOnly);
    if (!liste.offen())
        return scheitern();
    for (int z = 1; z < saetze.Rows(); ++z) {
        if (saetze.TextMatrix(z, 2).isEmpty())
            continue;
        const QString index = saetze.TextMatrix(z, 0);
        nummerText = index.contains(QLatin1Char('['))
                         ? index.section(QLatin1Char('['), 1).section(QLatin1Char(']'), 0, 0)
                         : index;
        const int nummer = SatzNummer(index);
        if (!liste.AddNew() || !liste.Setzen(QStringLiteral("lznr"), lznr) ||
            (nummer != 0 && !liste.Setzen(nummerFeld, nummer)) ||
            !liste.Setzen(QStringLiteral("Art"), saetze.TextMatrix(z, 2)) ||
            !liste.Setzen(QStringLiteral("Einheit"), saetze.TextMatrix(z, 4).left(10)) ||
            !liste.Setzen(QStringLiteral("Speichern"), 1) || !liste.Update())
            return scheitern(); // the transaction is undone: the old list stays
    }
    if (!transaktion.Commit())
        return scheitern();
    return Ergebnis::Ok;
}

bool DatenbankImport::TarifeEinlesen(Verbindung& db, qint64 lznr, FlexGrid& grid)
{
    Recordset tarife =
        db.OpenRecordset(QStringLiteral("SELECT ta.TA_BEZ, tazuordnung.MBusIndex FROM tazuordnung "
                                        "INNER JOIN ta ON tazuordnung.zta = ta.TA_NR "
                                        "WHERE tazuordnung.zlznr = ? ORDER BY ta.Ta_Reihenfolge"),
                         {lznr});
    if (!tarife.offen())
        return false;
    grid.AddItem(QString(), 1);
    grid.AddItem(QString(), 1);
    grid.setRows(2);
    grid.setCols(2);
    grid.setTextMatrix(0, 0, QStringLiteral("Tarif"));
    grid.setTextMatrix(0, 1, QStringLiteral("Index"));
    for (; !tarife.Eof(); tarife.MoveNext())
        grid.AddItem(tarife.FeldAn(0).text() + u'\t' + tarife.FeldAn(1).text());
    if (grid.Rows() > 2)
        grid.RemoveItem(1);
    return true;
}
