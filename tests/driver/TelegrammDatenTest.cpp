// The shared real telegrams: every good one decodes to its expectation (converted from our units
// to the expectation's), the application errors give their error, the malformed and unsupported
// ones are refused with a fault that describes them.

#include "support/TestUmgebung.h"

#include "DekodierHilfen.h"

#include <QDir>
#include <QFile>

#include <cmath>
#include <map>

namespace {

using namespace mbus;
using namespace dekodiertest;

QByteArray RahmenAusDatei(const QString& pfad)
{
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return {};
    return QByteArray::fromHex(datei.readAll().simplified().replace(' ', QByteArray()));
}

// The expectation files write UTF-8 that was encoded twice ("Â°C"): undo the second encoding.
QStringList ErwartungsZeilen(const QString& pfad)
{
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return {};
    QStringList zeilen;
    for (const QByteArray& roh : datei.readAll().split('\n')) {
        const QString zeile = QString::fromUtf8(roh).trimmed();
        if (!zeile.isEmpty())
            zeilen << QString::fromUtf8(zeile.toLatin1());
    }
    return zeilen;
}

QString Wert(const QStringList& zeilen, const QString& schluessel)
{
    for (const QString& zeile : zeilen) {
        if (zeile.startsWith(schluessel + u'='))
            return zeile.mid(schluessel.size() + 1);
    }
    return {};
}

QStringList Dateien(const QString& ordner)
{
    return QDir(Testdaten(QStringLiteral("telegrams/") + ordner))
        .entryList({QStringLiteral("*.hex")}, QDir::Files, QDir::Name);
}

// The quantity names of the expectations.
const std::map<QString, Groesse> kGroessen = {
    {"Energy", Groesse::Energie},
    {"Volume", Groesse::Volumen},
    {"Time point (date)", Groesse::Datum},
    {"Time point (date & time)", Groesse::DatumUhrzeit},
    {"Fabrication No", Groesse::Fabrikationsnummer},
    {"Operating time", Groesse::Betriebsdauer},
    {"On time", Groesse::Einschaltdauer},
    {"Firmware version", Groesse::Firmwareversion},
    {"Software version", Groesse::Softwareversion},
    {"Manufacturer specific", Groesse::Herstellerspezifisch},
    {"Flow temperature", Groesse::Vorlauftemperatur},
    {"Return temperature", Groesse::Ruecklauftemperatur},
    {"Volume flow", Groesse::Durchfluss},
    {"Power", Groesse::Leistung},
    {"Temperature difference", Groesse::Temperaturdifferenz},
    {"External temperature", Groesse::Aussentemperatur},
    {"Error flags", Groesse::Fehlerflags},
    {"Digital Input", Groesse::Digitaleingang},
    {"Averaging Duration", Groesse::Mittelungsdauer},
    {"Actuality Duration", Groesse::Aktualitaetsdauer},
    {"Voltage", Groesse::Spannung},
    {"Current", Groesse::Strom},
    {"Dimensionless", Groesse::Dimensionslos},
    {"Model / Version", Groesse::ModellVersion},
    {"Parameter set identification", Groesse::Parametersatz},
};

// Our display unit, the unit of the expectation and the factor between them. Durations stay in
// the unit the meter sends (min, h, d); the expectation converts them to seconds.
struct Umrechnung
{
    const char* erwartet;
    double faktor;
};
const std::map<QString, Umrechnung> kUmrechnungen = {
    {"kWh", {"Wh", 1e3}}, {"MWh", {"Wh", 1e6}},    {"GJ", {"J", 1e9}}, {"kW", {"W", 1e3}},
    {"s", {"s", 1}},      {"min", {"s", 60}},      {"h", {"s", 3600}}, {"d", {"s", 86400}},
    {"m^3", {"m^3", 1}},  {"m^3/h", {"m^3/h", 1}}, {"°C", {"°C", 1}},  {"K", {"K", 1}},
    {"V", {"V", 1}},      {"A", {"A", 1}},         {"", {"", 1}},
};

// Where we follow EN 13757-3 and the expectation (one public decoder's reading) does not:
// the value text we give instead.
struct Abweichung
{
    const char* datei;
    int datensatz;
    const char* wertText;
    const char* grund;
};
const Abweichung kAbweichungen[] = {
    {"abb_f95", 2, "",
     "BCD digits A to E mark a value the meter could not give (DD B4 EB DD); the expectation reads "
     "the hex digits as if they were decimal"},
    {"abb_f95", 3, "", "the same for the volume flow (DD B4 EB)"},
    {"landis+gyr_ultraheat_t230", 19, "",
     "VIFE 6F says the value is the date of the last end (type F); 00 00 00 00 is no date"},
    {"landis+gyr_ultraheat_t230", 20, "", "the same for the maximum volume flow"},
    {"landis+gyr_ultraheat_t230", 21, "26.08.2011 20:50",
     "date of the last end of the maximum flow temperature, not a temperature of 41065374.6 °C"},
    {"landis+gyr_ultraheat_t230", 22, "09.08.2011 11:43",
     "date of the last end of the maximum return temperature"},
};

const Abweichung* AbweichungFuer(const QString& datei, int datensatz)
{
    for (const Abweichung& a : kAbweichungen) {
        if (datei == QLatin1String(a.datei) && datensatz == a.datensatz)
            return &a;
    }
    return nullptr;
}

// Our English medium texts are shorter than the expectation's.
QString MediumDerErwartung(const QString& medium)
{
    if (medium == QLatin1String("Heat: Outlet"))
        return QStringLiteral("Heat");
    if (medium.startsWith(QLatin1String("Warm water")))
        return QStringLiteral("Warm water");
    return medium;
}

int Zahl(const QString& text)
{
    return text.isEmpty() ? 0 : text.toInt();
}

void DatensatzPruefen(const QString& datei, int nummer, const Datensatz& d, const QStringList& f)
{
    SCOPED_TRACE(
        QStringLiteral("%1 record %2: %3").arg(datei).arg(nummer).arg(f.join(u';')).toStdString());
    ASSERT_EQ(f.size(), 8);
    const QString funktion = d.sonderfunktion == Sonderfunktion::Herstellerdaten
                                 ? QStringLiteral("Manufacturer specific")
                             : d.sonderfunktion == Sonderfunktion::WeitereDatensaetze
                                 ? QStringLiteral("More records follow")
                                 : FunktionText(d.funktion, Sprache::Englisch);
    EXPECT_EQ(funktion, f[1]);
    EXPECT_EQ(d.speicher, f[2].toULongLong());
    EXPECT_EQ(int(d.tarif), Zahl(f[3]));
    EXPECT_EQ(int(d.untereinheit), Zahl(f[4]));

    if (d.sonderfunktion != Sonderfunktion::Keine) {
        EXPECT_EQ(WertText(d), f[7]);
        return;
    }
    const auto groesse = kGroessen.find(f[5]);
    if (groesse != kGroessen.end()) {
        if (groesse->second == Groesse::Datum || groesse->second == Groesse::DatumUhrzeit)
            EXPECT_TRUE(d.groesse == Groesse::Datum || d.groesse == Groesse::DatumUhrzeit);
        else
            EXPECT_EQ(GroesseText(d.groesse, Sprache::Englisch),
                      GroesseText(groesse->second, Sprache::Englisch));
    } else {
        EXPECT_EQ(d.groesse, Groesse::Klartext);
        EXPECT_EQ(d.klartext, f[5]);
    }

    if (const Abweichung* a = AbweichungFuer(datei, nummer)) {
        EXPECT_EQ(WertText(d), QString::fromUtf8(a->wertText)) << a->grund;
        return;
    }
    if (const auto* z = std::get_if<Zeitpunkt>(&d.wert)) {
        // A date the expectation writes with day or month 00 is no date.
        const bool keinDatum =
            f[7].mid(5, 2) == QLatin1String("00") || f[7].mid(8, 2) == QLatin1String("00");
        EXPECT_EQ(z->gueltig, !keinDatum);
        if (z->gueltig) {
            const QString form = f[7].size() == 10 ? QStringLiteral("yyyy-MM-dd")
                                                   : QStringLiteral("yyyy-MM-ddTHH:mm:ssZ");
            EXPECT_EQ(z->alsDateTime().toString(form), f[7]);
        }
        return;
    }
    if (std::holds_alternative<QString>(d.wert) || std::holds_alternative<QByteArray>(d.wert)) {
        EXPECT_EQ(WertText(d), f[7]);
        return;
    }
    const auto* zahl = std::get_if<Dezimal>(&d.wert);
    ASSERT_NE(zahl, nullptr) << WertText(d).toStdString();
    const QString einheit = EinheitText(d, Sprache::Englisch);
    double faktor = 1;
    if (d.groesse == Groesse::Klartext) {
        EXPECT_EQ(f[6], QStringLiteral("-")); // the expectation's unit of plain-text units
    } else {
        const auto u = kUmrechnungen.find(einheit);
        ASSERT_NE(u, kUmrechnungen.end()) << einheit.toStdString();
        EXPECT_EQ(QString::fromUtf8(u->second.erwartet), f[6] == QLatin1String("-") ? "" : f[6]);
        faktor = u->second.faktor;
    }
    const double erwartet = f[7].toDouble();
    EXPECT_NEAR(zahl->alsDouble() * faktor, erwartet, 1e-6 * std::max(1.0, std::abs(erwartet)))
        << zahl->text().toStdString() << " " << einheit.toStdString();
}

class TelegrammDatenTest : public TestUmgebung
{
};

TEST_F(TelegrammDatenTest, dieGeteiltenTestdatenSindDa)
{
    EXPECT_GE(Dateien(QStringLiteral("good")).size(), 25);
    EXPECT_GE(Dateien(QStringLiteral("error")).size(), 8);
    EXPECT_GE(Dateien(QStringLiteral("unsupported")).size(), 2);
}

TEST_F(TelegrammDatenTest, guteTelegrammeErgebenIhreErwartung)
{
    for (const QString& name : Dateien(QStringLiteral("good"))) {
        const QString basis = Testdaten(QStringLiteral("telegrams/good/") + name).chopped(4);
        const QString datei = name.chopped(4);
        SCOPED_TRACE(datei.toStdString());
        const auto ergebnis = DekodiereGenau(RahmenAusDatei(basis + QStringLiteral(".hex")));
        const auto* telegramm = std::get_if<Telegramm>(&ergebnis);
        if (const auto* fehler = std::get_if<DekodierFehler>(&ergebnis))
            ADD_FAILURE() << DekodierFehlerText(*fehler, Sprache::Englisch).toStdString();
        ASSERT_NE(telegramm, nullptr);

        const QStringList erwartung = ErwartungsZeilen(basis + QStringLiteral(".expect"));
        const Kopf& k = telegramm->kopf;
        QString ident = IdentText(k);
        while (ident.size() > 1 && ident.startsWith(u'0'))
            ident.remove(0, 1);
        EXPECT_EQ(ident, Wert(erwartung, QStringLiteral("id")));
        EXPECT_EQ(HerstellerText(k.hersteller), Wert(erwartung, QStringLiteral("manufacturer")));
        EXPECT_EQ(QString::number(k.version), Wert(erwartung, QStringLiteral("version")));
        EXPECT_EQ(MediumText(k.medium, Sprache::Englisch),
                  MediumDerErwartung(Wert(erwartung, QStringLiteral("medium"))));
        EXPECT_EQ(QString::number(k.zugriffsnummer), Wert(erwartung, QStringLiteral("access")));
        EXPECT_EQ(QStringLiteral("%1").arg(k.status, 2, 16, QLatin1Char('0')).toUpper(),
                  Wert(erwartung, QStringLiteral("status")).toUpper());

        qsizetype kopfzeile = 0;
        while (kopfzeile < erwartung.size() && !erwartung[kopfzeile].startsWith(u"record;"))
            ++kopfzeile;
        ASSERT_LT(kopfzeile, erwartung.size());
        const QStringList zeilen = erwartung.mid(kopfzeile + 1);
        ASSERT_EQ(telegramm->datensaetze.size(), zeilen.size());
        for (int i = 0; i < zeilen.size(); ++i)
            DatensatzPruefen(datei, i, telegramm->datensaetze[i], zeilen[i].split(u';'));
    }
}

TEST_F(TelegrammDatenTest, anwendungsfehlerErgebenIhrenFehlertext)
{
    int geprueft = 0;
    for (const QString& name : Dateien(QStringLiteral("error"))) {
        const QString basis = Testdaten(QStringLiteral("telegrams/error/") + name).chopped(4);
        const QStringList erwartung = ErwartungsZeilen(basis + QStringLiteral(".expect"));
        if (erwartung.isEmpty())
            continue; // a malformed frame, see below
        SCOPED_TRACE(name.toStdString());
        const auto ergebnis = DekodiereGenau(RahmenAusDatei(basis + QStringLiteral(".hex")));
        const auto* fehler = std::get_if<Anwendungsfehler>(&ergebnis);
        ASSERT_NE(fehler, nullptr);
        QString text = Wert(erwartung, QStringLiteral("error"));
        // The expectation writes "VIFE´s"; the standard's text is "VIFEs".
        text.replace(QStringLiteral("´s"), QStringLiteral("s"));
        EXPECT_EQ(AnwendungsfehlerText(fehler->code, Sprache::Englisch), text);
        ++geprueft;
    }
    EXPECT_EQ(geprueft, 4);
}

template <typename Fehler> const Fehler* FehlerAus(const Dekodierergebnis& ergebnis)
{
    const auto* fehler = std::get_if<DekodierFehler>(&ergebnis);
    return fehler ? std::get_if<Fehler>(fehler) : nullptr;
}

TEST_F(TelegrammDatenTest, fehlerhafteRahmenWerdenMitIhremFehlerAbgelehnt)
{
    const auto lies = [](const char* datei) {
        return DekodiereGenau(RahmenAusDatei(Testdaten(QString::fromLatin1(datei))));
    };
    // 8B 8B: the DIFE announces a further DIFE that never comes.
    const auto ergebnisDif = lies("telegrams/error/premature_end_of_dif2.hex");
    const auto* dif = FehlerAus<DatensatzEndetVorzeitig>(ergebnisDif);
    ASSERT_NE(dif, nullptr);
    EXPECT_EQ(dif->teil, Blockteil::Dife);
    EXPECT_EQ(dif->position, 29);
    // 8B 60: the DIB ends, the VIF is missing.
    const auto ergebnisVif = lies("telegrams/error/premature_end_of_vif1.hex");
    const auto* vif = FehlerAus<DatensatzEndetVorzeitig>(ergebnisVif);
    ASSERT_NE(vif, nullptr);
    EXPECT_EQ(vif->teil, Blockteil::Vif);
    // FC F3: a plain-text unit of 243 characters in a frame that holds 6 more bytes.
    const auto ergebnisText = lies("telegrams/error/too_long_var_vif.hex");
    const auto* text = FehlerAus<DatensatzEndetVorzeitig>(ergebnisText);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->teil, Blockteil::Klartext);
    EXPECT_EQ(text->erwartet, 0xF3);
    EXPECT_EQ(text->vorhanden, 6);
    // Eleven DIFEs behind the DIF.
    const auto ergebnisDifes = lies("telegrams/error/too_many_dife.hex");
    const auto* difes = FehlerAus<ZuVieleDifes>(ergebnisDifes);
    ASSERT_NE(difes, nullptr);
    EXPECT_EQ(difes->position, 29);
}

TEST_F(TelegrammDatenTest, nichtUnterstuetzteRahmenWerdenAbgelehnt)
{
    // A fixed data structure with 15 instead of 16 bytes.
    const auto kurz = DekodiereGenau(
        RahmenAusDatei(Testdaten(QStringLiteral("telegrams/unsupported/invalid_length2.hex"))));
    const auto* kopf = FehlerAus<KopfZuKurz>(kurz);
    ASSERT_NE(kopf, nullptr);
    EXPECT_EQ(kopf->ci, 0x73);
    EXPECT_EQ(kopf->erwartet, 16);
    EXPECT_EQ(kopf->vorhanden, 15);
    // The master's SND_UD setting a primary address: no meter's answer.
    const auto master = DekodiereGenau(
        RahmenAusDatei(Testdaten(QStringLiteral("telegrams/unsupported/manual_frame4.hex"))));
    const auto* keine = FehlerAus<KeineZaehlerantwort>(master);
    ASSERT_NE(keine, nullptr);
    EXPECT_EQ(keine->steuerfeld, 0x53);
}

// Every frame cut short inside its user data (length and checksum made right again) and every
// frame with one byte changed is decoded or refused, never read past its end.
TEST_F(TelegrammDatenTest, gekuerzteUndVeraenderteRahmenWerdenDekodiertOderAbgelehnt)
{
    int abgelehnt = 0;
    for (const QString& ordner : {QStringLiteral("good"), QStringLiteral("error")}) {
        for (const QString& name : Dateien(ordner)) {
            const QByteArray rahmen =
                RahmenAusDatei(Testdaten(QStringLiteral("telegrams/%1/%2").arg(ordner, name)));
            ASSERT_GE(rahmen.size(), 9) << name.toStdString();
            const QByteArray nutzdaten = rahmen.mid(7, rahmen.size() - 9);
            for (qsizetype n = 0; n < nutzdaten.size(); ++n) {
                const auto ergebnis = DekodiereGenau(BaueRahmen(
                    nutzdaten.left(n), quint8(rahmen[6]), quint8(rahmen[4]), quint8(rahmen[5])));
                abgelehnt += std::holds_alternative<DekodierFehler>(ergebnis) ? 1 : 0;
            }
            for (qsizetype i = 0; i < rahmen.size(); ++i) {
                QByteArray veraendert = rahmen;
                veraendert[i] = char(veraendert[i] ^ 0x80);
                const auto ergebnis = DekodiereGenau(veraendert);
                if (i >= 4 && i < rahmen.size() - 2) { // C to the last data byte: the checksum
                    EXPECT_NE(FehlerAus<Pruefsumme>(ergebnis), nullptr) << name.toStdString();
                }
            }
        }
    }
    EXPECT_GT(abgelehnt, 100);
}

} // namespace
