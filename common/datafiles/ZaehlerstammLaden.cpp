// Loading a meter's master record from table zaehler.

#include "datafiles/Zaehlerstamm.h"

#include "datafiles/RB_DateiZeitraum.h"
#include "datafiles/ZaehlerstammPfade.h"
#include "log/Log.h"
#include "platform/Global.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cmath>
#include <limits>
#include <optional>

namespace {

const QString kNullWert = QStringLiteral("Unzulässige Verwendung von Null");
const QString kUeberlauf = QStringLiteral("Überlauf");

// The leading number of a text, read the way the energy-data system reads number texts of its
// tables: blanks anywhere are skipped, "." is the decimal sign, an exponent may follow; a text
// without a leading number gives 0.
double LeitendeZahl(const QString& text)
{
    QString ohneBlanks;
    for (const QChar zeichen : text)
        if (zeichen != u' ' && zeichen != u'\t' && zeichen != u'\r' && zeichen != u'\n')
            ohneBlanks += zeichen;
    static const QRegularExpression kMuster(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eEdD][+-]?\\d+)?"));
    const QRegularExpressionMatch treffer = kMuster.match(ohneBlanks);
    if (!treffer.hasMatch())
        return 0.0;
    QString zahl = treffer.captured(0);
    zahl.replace(u'd', u'e').replace(u'D', u'e');
    return zahl.toDouble();
}

// A number rounded (halves to even) into the field's type; false, with the reason in
// FehlerText, when it does not fit.
template <typename T> bool Einpassen(double zahl, const QString& spalte, T& ziel)
{
    const double gerundet = std::nearbyint(zahl);
    if (!std::isfinite(gerundet) || gerundet < double(std::numeric_limits<T>::min()) ||
        gerundet > double(std::numeric_limits<T>::max())) {
        FehlerText = kUeberlauf + QStringLiteral(": ") + spalte;
        return false;
    }
    ziel = T(gerundet);
    return true;
}

// Reads the columns of the current row into a record. A column that cannot be read leaves its
// field as it is (empty) and the reason in FehlerText.
class Spaltenleser
{
public:
    explicit Spaltenleser(const Recordset& zeile) : m_zeile(zeile) {}

    // leerErlaubt: an empty column leaves the field empty without complaint.
    void text(const QString& spalte, QString& ziel, bool leerErlaubt = false) const
    {
        if (const auto wert = lesen(spalte, leerErlaubt))
            ziel = wert->text();
    }
    void zahl(const QString& spalte, double& ziel) const
    {
        if (const auto wert = lesen(spalte, false))
            ziel = wert->zahl();
    }
    template <typename T> void ganz(const QString& spalte, T& ziel, bool leerErlaubt = false) const
    {
        const auto wert = lesen(spalte, leerErlaubt);
        if (wert && !wert->istNull())
            Einpassen(wert->zahl(), spalte, ziel);
    }
    // The numeric value of a text column.
    void ganzAusText(const QString& spalte, qint32& ziel) const
    {
        if (const auto wert = lesen(spalte, false))
            Einpassen(LeitendeZahl(wert->text()), spalte, ziel);
    }

private:
    std::optional<Feldwert> lesen(const QString& spalte, bool leerErlaubt) const
    {
        // A missing column leaves the recordset's reason in FehlerText.
        Feldwert wert = m_zeile.Feld(spalte);
        if (!wert.vorhanden())
            return std::nullopt;
        if (wert.istNull() && !leerErlaubt) {
            FehlerText = kNullWert + QStringLiteral(": ") + spalte;
            return std::nullopt;
        }
        return wert;
    }

    const Recordset& m_zeile;
};

void StammspaltenLesen(const Spaltenleser& spalten, ZaehlerStammdaten& satz)
{
    spalten.zahl(QStringLiteral("lfdnr"), satz.lfdnr);
    spalten.zahl(QStringLiteral("faktor"), satz.faktor);
    spalten.zahl(QStringLiteral("Impulse"), satz.Impulse);
    spalten.zahl(QStringLiteral("Offset"), satz.Offset);
    spalten.ganz(QStringLiteral("ZStellen"), satz.ZStellen);
    spalten.text(QStringLiteral("ZName"), satz.ZName);
    spalten.text(QStringLiteral("ZNr"), satz.ZNr);
    spalten.text(QStringLiteral("ZQuelle"), satz.ZQuelle);
    spalten.text(QStringLiteral("zaehlerplatz"), satz.zaehlerplatz, true);
    spalten.text(QStringLiteral("tarifgruppe"), satz.tarifgruppe);
    spalten.ganz(QStringLiteral("MBIndex"), satz.MBIndex, true);
    spalten.ganz(QStringLiteral("stufe"), satz.stufe);
    spalten.text(QStringLiteral("ztyp"), satz.ztyp);
    spalten.ganz(QStringLiteral("Tarifgrp"), satz.Tarifgrp);
    spalten.ganzAusText(QStringLiteral("BulaNr"), satz.BulaNr);
    spalten.zahl(QStringLiteral("fmax"), satz.fmax);
    spalten.zahl(QStringLiteral("fmin"), satz.fmin);
    spalten.zahl(QStringLiteral("MBMin"), satz.MBMin);
    spalten.zahl(QStringLiteral("MBMax"), satz.MBMax);
    spalten.ganz(QStringLiteral("anl"), satz.anl);
    spalten.ganz(QStringLiteral("TaGemessen"), satz.TaGemessen);
    spalten.ganz(QStringLiteral("TgAnfang"), satz.TgAnfang, true);
    spalten.ganzAusText(QStringLiteral("ZeitenNr"), satz.ZeitenNr);
}

// MBIndex from a tariff number, when it is one (0 to 255).
void IndexAusTarif(qint64 tarif, ZaehlerStammdaten& satz)
{
    if (tarif >= 0 && tarif <= 255)
        satz.MBIndex = quint8(tarif);
}

// Kind and number of the data source, and which value of the meter is its main one.
void QuellregelnAnwenden(Verbindung& datenbank, const Spaltenleser& spalten,
                         ZaehlerStammdaten& satz)
{
    const QString& quelle = satz.ZQuelle;
    if (quelle == u"virtuell") {
        satz.QuellArt = -1;
        satz.QuellNr = satz.lznr;
        satz.MBIndex = 0;
    } else if (quelle.startsWith(u'S')) {
        Einpassen(LeitendeZahl(quelle.mid(1)), QStringLiteral("ZQuelle"), satz.QuellArt);
        spalten.ganz(QStringLiteral("EINGNR"), satz.QuellNr);
        satz.MBIndex = 0;
    } else if (quelle == u"M-Bus") {
        satz.QuellArt = -2;
        satz.QuellNr = satz.lznr;
        spalten.ganz(QStringLiteral("MBZStand"), satz.MBZStand);
    } else if (quelle == u"VBZ" || quelle == u"Ausgebaut") {
        satz.QuellArt = -1;
        satz.QuellNr = satz.lznr;
    } else if (quelle == u"CSV Import") {
        satz.QuellArt = -2;
        satz.QuellNr = satz.lznr;
        if (satz.tarifgruppe.toUpper().contains(QStringLiteral("GAS")))
            IndexAusTarif(satz.TaGemessen, satz);
        else
            IndexAusTarif(MB_GetBasistarif(datenbank, satz.Tarifgrp), satz);
        spalten.ganz(QStringLiteral("MBZStand"), satz.MBZStand);
    } else if (quelle.contains(QStringLiteral("OMS"))) {
        satz.QuellArt = -2;
        satz.QuellNr = satz.lznr;
        IndexAusTarif(MB_GetBasistarif(datenbank, satz.Tarifgrp), satz);
        spalten.ganz(QStringLiteral("MBZStand"), satz.MBZStand);
    }
}

// The time range of the data file; a file that cannot be read leaves it 0.
void ZeitraumLesen(ZaehlerStammdaten& satz)
{
    const QString name = satz.DatenDatei.toUpper();
    if (name.contains(QStringLiteral(".ZEP"))) {
        QDateTime erster;
        QDateTime letzter;
        if (MB_GetDateiZeitraum(satz.DatenDatei, erster, letzter) == 0) {
            satz.TmErster = DatumInUnixZeit(erster);
            satz.TmLetzter = DatumInUnixZeit(letzter);
        }
    }
    if (name.contains(QStringLiteral("15P"))) {
        RB_Kopf kopf;
        UnixZeit letzte = 0;
        UnixZeit erste = 0;
        if (RB_DateiZeitraum15p(satz.DatenDatei, kopf, letzte, erste) == 0) {
            satz.TmLetzter = letzte;
            satz.TmErster = erste;
        }
    }
}

} // namespace

int MB_ZaehlerLaden(std::unique_ptr<Verbindung>& datenbank, qint32 lznr, ZaehlerStammdaten& satz)
{
    FehlerText.clear();
    satz = ZaehlerStammdaten{};
    if (!OeffneBasisMDB(datenbank, DBPath, MB_DBDatei, MB_DBOffen))
        return kZaehlerDatenbankFehlt;

    Recordset zeile =
        datenbank->OpenRecordset(QStringLiteral("SELECT * FROM zaehler WHERE LZNR = ?"), {lznr});
    if (!zeile.offen())
        return kZaehlerAbfrageFehler;
    if (zeile.Eof())
        return kZaehlerNichtGefunden;

    const Spaltenleser spalten(zeile);
    satz.lznr = lznr;
    StammspaltenLesen(spalten, satz);
    QuellregelnAnwenden(*datenbank, spalten, satz);
    satz.DatenDatei = MB_GetDatenPfad(DatenPath, DBPath, satz.QuellArt, satz.QuellNr, satz.MBIndex);
    satz.MdbDatei = MB_GetZaehlerMdbPfad(DBPath, QString(), satz.lznr);
    spalten.ganz(QStringLiteral("EINGNR"), satz.EingNr, true);
    spalten.text(QStringLiteral("txtBemerkung"), satz.txtBemerkung, true);
    spalten.text(QStringLiteral("ZOrt"), satz.ZOrt, true);
    ZeitraumLesen(satz);
    return kZaehlerGefunden;
}

int MB_ZaehlerLaden(qint32 lznr, ZaehlerStammdaten& satz)
{
    // The connection stays open for the process and is closed while the application ends,
    // before the database layer's own program-wide objects go.
    static bool schliessenVorgemerkt = false;
    if (!schliessenVorgemerkt && QCoreApplication::instance()) {
        qAddPostRoutine(MB_ZaehlerDatenbankSchliessen);
        schliessenVorgemerkt = true;
    }
    return MB_ZaehlerLaden(MB_ZaehlerDatenbank, lznr, satz);
}

bool OeffneBasisMDB(std::unique_ptr<Verbindung>& datenbank, const QString& verzeichnis,
                    const QString& dateiTeil, bool& offen)
{
    if (offen && datenbank && datenbank->offen())
        return true;
    LogSchreiben(QStringLiteral("Öffne Datenbank : ") + verzeichnis);
    datenbank = Verbindung::OpenDatabase(verzeichnis + dateiTeil);
    if (!datenbank) {
        LogSchreiben(QStringLiteral("Fehler bei OeffneBasisMDB : ") + FehlerText + u'\r' +
                     QStringLiteral("Programm wird beendet"));
        offen = false;
        return false;
    }
    offen = true;
    return true;
}

void MB_ZaehlerDatenbankSchliessen()
{
    MB_ZaehlerDatenbank.reset();
    MB_DBOffen = false;
}

qint32 MB_GetBasistarif(Verbindung& datenbank, qint32 tarifgruppe)
{
    if (!datenbank.offen())
        return -1;
    Recordset zeile = datenbank.OpenRecordset(
        QStringLiteral("SELECT BasisTarif FROM TaGrp WHERE TaGrp_nr = ?"), {tarifgruppe});
    if (!zeile.offen() || zeile.Eof())
        return -1;
    const Feldwert wert = zeile.Feld(QStringLiteral("basistarif"));
    qint32 tarif = -1;
    if (wert.istNull() || !Einpassen(wert.zahl(), QStringLiteral("basistarif"), tarif))
        return -1;
    return tarif;
}

qint32 MB_GetBasistarif(qint32 tarifgruppe)
{
    if (!MB_ZaehlerDatenbank)
        return -1;
    return MB_GetBasistarif(*MB_ZaehlerDatenbank, tarifgruppe);
}

QString MB_GetEinheit(qint32 lznr, qint32 index)
{
    if (!MB_ZaehlerDatenbank || !MB_ZaehlerDatenbank->offen())
        return {};
    Recordset zeile = MB_ZaehlerDatenbank->OpenRecordset(
        QStringLiteral("SELECT Einheit FROM MB_IndexListe WHERE Lznr = ? AND MBIndex = ?"),
        {lznr, index});
    if (!zeile.offen() || zeile.Eof())
        return {};
    QString einheit = zeile.Feld(QStringLiteral("Einheit")).text();
    while (einheit.endsWith(u' '))
        einheit.chop(1);
    return einheit;
}
