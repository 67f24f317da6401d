// The shared real telegrams: every good one decodes to its expectation (converted from our units
// to the expectation's), the application errors give their error, the malformed and unsupported
// ones are refused with a fault that describes them. (Cut and changed frames: fuzz/.)

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
using G = Groesse;
// clang-format off
const std::map<QString, Groesse> kGroessen = {
    {"Energy", G::Energie}, {"Volume", G::Volumen}, {"Power", G::Leistung},
    {"Time point (date)", G::Datum}, {"Time point (date & time)", G::DatumUhrzeit},
    {"Fabrication No", G::Fabrikationsnummer}, {"Operating time", G::Betriebsdauer},
    {"On time", G::Einschaltdauer}, {"Firmware version", G::Firmwareversion},
    {"Software version", G::Softwareversion}, {"Manufacturer specific", G::Herstellerspezifisch},
    {"Flow temperature", G::Vorlauftemperatur}, {"Return temperature", G::Ruecklauftemperatur},
    {"Volume flow", G::Durchfluss}, {"Temperature difference", G::Temperaturdifferenz},
    {"External temperature", G::Aussentemperatur}, {"Error flags", G::Fehlerflags},
    {"Digital Input", G::Digitaleingang}, {"Averaging Duration", G::Mittelungsdauer},
    {"Actuality Duration", G::Aktualitaetsdauer}, {"Voltage", G::Spannung}, {"Current", G::Strom},
    {"Dimensionless", G::Dimensionslos}, {"Model / Version", G::ModellVersion},
    {"Parameter set identification", G::Parametersatz}};
// clang-format on

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
    EXPECT_EQ(int(d.tarif), f[3].toInt());
    EXPECT_EQ(int(d.untereinheit), f[4].toInt());

    if (d.sonderfunktion != Sonderfunktion::Keine) {
        EXPECT_EQ(WertText(d), f[7]);
        return;
    }
    const auto groesse = kGroessen.find(f[5]);
    if (groesse != kGroessen.end()) {
        if (groesse->second == Groesse::Datum || groesse->second == Groesse::DatumUhrzeit)
            EXPECT_TRUE(d.groesse == Groesse::Datum || d.groesse == Groesse::DatumUhrzeit);
        else
            EXPECT_EQ(d.groesse, groesse->second);
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

using TelegrammDatenTest = TestUmgebung;

TEST_F(TelegrammDatenTest, guteTelegrammeErgebenIhreErwartung)
{
    const QStringList dateien = Dateien(QStringLiteral("good"));
    ASSERT_GE(dateien.size(), 25);
    for (const QString& name : dateien) {
        const QString basis = Testdaten(QStringLiteral("telegrams/good/") + name).chopped(4);
        const QString datei = name.chopped(4);
        SCOPED_TRACE(datei.toStdString());
        const QByteArray rahmen = RahmenAusDatei(basis + QStringLiteral(".hex"));
        const auto ergebnis = DekodiereGenau(rahmen);
        const auto* telegramm = std::get_if<Telegramm>(&ergebnis);
        ASSERT_NE(telegramm, nullptr) << FehlerText(rahmen).toStdString();

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

TEST_F(TelegrammDatenTest, fehlerhafteUndNichtUnterstuetzteRahmenWerdenMitIhremFehlerAbgelehnt)
{
    const struct
    {
        const char* datei;
        const char* fehler;
    } faelle[] = {
        // 8B 8B: the DIFE announces a further DIFE that never comes.
        {"error/premature_end_of_dif2",
         "Record at byte 29 ends early: DIFE missing (1 bytes expected, 0 present)"},
        // 8B 60: the DIB ends, the VIF is missing.
        {"error/premature_end_of_vif1",
         "Record at byte 29 ends early: VIF missing (1 bytes expected, 0 present)"},
        // FC F3: a plain-text unit of 243 characters in a frame that holds 6 more bytes.
        {"error/too_long_var_vif",
         "Record at byte 41 ends early: plain text VIF missing (243 bytes expected, 6 present)"},
        // Eleven DIFEs behind the DIF.
        {"error/too_many_dife", "More than 10 DIFEs in the record at byte 29"},
        // A fixed data structure with 15 instead of 16 bytes.
        {"unsupported/invalid_length2",
         "Data header too short (CI 73): 16 bytes expected, 15 present"},
        // The master's SND_UD setting a primary address: no meter's answer.
        {"unsupported/manual_frame4", "Not a meter answer (C field 53)"},
    };
    for (const auto& fall : faelle) {
        const QByteArray rahmen = RahmenAusDatei(
            Testdaten(QStringLiteral("telegrams/%1.hex").arg(QLatin1String(fall.datei))));
        EXPECT_EQ(FehlerText(rahmen), QString::fromUtf8(fall.fehler)) << fall.datei;
    }
}

} // namespace
