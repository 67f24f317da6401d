// The value information tables and the units a value is shown in.

#include "support/TestUmgebung.h"

#include "DekodierHilfen.h"
#include "driver/decode/VifTabelle.h"

namespace {

using namespace mbus;
using namespace dekodiertest;

class VifTabelleTest : public TestUmgebung
{
};

struct Erwartet
{
    const char* datensatz;
    const char* beschreibung; // German
    const char* einheit;
    const char* wert;
};

void Pruefen(const Erwartet& f)
{
    const Datensatz d = EinDatensatz(QString::fromLatin1(f.datensatz));
    EXPECT_EQ(BeschreibungText(d, Sprache::Deutsch), QString::fromUtf8(f.beschreibung))
        << f.datensatz;
    EXPECT_EQ(EinheitText(d, Sprache::Deutsch), QString::fromUtf8(f.einheit)) << f.datensatz;
    EXPECT_EQ(WertText(d), QString::fromLatin1(f.wert)) << f.datensatz;
}

TEST_F(VifTabelleTest, primaereVifsInDenEinheitenDerAnzeige)
{
    const Erwartet faelle[] = {
        {"04 03 39 30 00 00", "Energie", "kWh", "12.345"}, // Wh
        {"04 06 39 30 00 00", "Energie", "kWh", "12345"},  // kWh
        {"04 07 39 30 00 00", "Energie", "kWh", "123450"}, // 10 kWh
        {"04 0E 39 30 00 00", "Energie", "GJ", "12.345"},  // MJ
        {"04 13 39 30 00 00", "Volumen", "m^3", "12.345"}, // l
        {"04 16 39 30 00 00", "Volumen", "m^3", "12345"},
        {"04 1B 39 30 00 00", "Masse", "t", "12.345"}, // kg
        {"02 20 18 00", "Einschaltdauer", "s", "24"},
        {"02 21 18 00", "Einschaltdauer", "min", "24"},
        {"02 22 18 00", "Einschaltdauer", "h", "24"},
        {"02 27 0C 02", "Betriebsdauer", "d", "524"},
        {"02 2B 39 30", "Leistung", "kW", "12.345"},      // W
        {"02 2E 39 30", "Leistung", "kW", "12345"},       // kW
        {"02 33 39 30", "Leistung", "GJ/h", "0.012345"},  // kJ/h
        {"02 3B 39 30", "Durchfluss", "m^3/h", "12.345"}, // l/h
        {"02 43 0A 00", "Durchfluss", "m^3/h", "0.06"},   // 10^-4 m^3/min
        {"02 4B 01 00", "Durchfluss", "m^3/h", "0.0036"}, // 10^-6 m^3/s
        {"02 53 39 30", "Massestrom", "t/h", "12.345"},   // kg/h
        {"02 5A 04 02", "Vorlauftemperatur", "°C", "51.6"},
        {"02 5E 04 02", "Rücklauftemperatur", "°C", "51.6"},
        {"02 61 09 00", "Temperaturdifferenz", "K", "0.09"},
        {"02 65 2E 08", "Außentemperatur", "°C", "20.94"},
        {"02 69 39 30", "Druck", "bar", "123.45"},
        {"01 6E 07", "HKV-Einheiten", "", "7"},
        {"01 71 07", "Mittelungsdauer", "min", "7"},
        {"01 74 04", "Aktualitätsdauer", "s", "4"},
        {"0C 78 61 15 01 24", "Fabrikationsnummer", "", "24011561"},
        {"01 7A 05", "Busadresse", "", "5"},
        {"01 FF 13 04", "Herstellerspezifisch", "", "4"},
    };
    for (const Erwartet& f : faelle)
        Pruefen(f);
}

TEST_F(VifTabelleTest, erweiterungstabellenFbUndFd)
{
    const Erwartet faelle[] = {
        {"04 FB 00 08 00 00 00", "Energie", "MWh", "0.8"},
        {"04 FB 09 08 00 00 00", "Energie", "GJ", "8"},
        {"02 FB 10 05 00", "Volumen", "m^3", "500"},
        {"02 FB 1A 1D 02", "Relative Feuchte", "%", "54.1"},
        {"02 FB 29 02 00", "Leistung", "kW", "2000"}, // MW
        {"02 FB 2E 32 00", "Frequenz", "Hz", "5"},
        {"02 FB 59 D0 52", "Vorlauftemperatur", "°C", "100"}, // 212.00 °F
        {"02 FB 61 84 03", "Temperaturdifferenz", "K", "5"},  // 9.00 °F
        {"01 FD 08 2A", "Zugriffsnummer", "", "42"},
        {"09 FD 0E 02", "Firmwareversion", "", "2"},
        {"01 FD 17 00", "Fehlerflags", "", "0"},
        {"01 FD 1B 02", "Digitaleingang", "", "2"},
        {"02 FD 1C 60 09", "Baudrate", "Baud", "2400"},
        {"01 FD 28 03", "Speicherintervall", "Monate", "3"},
        {"02 FD 48 44 09", "Spannung", "V", "237.2"},
        {"02 FD 59 40 E2", "Strom", "A", "-7.616"},
        {"0A FD 3A 00 05", "Dimensionslos", "", "500"},
        {"02 FD 6D 64 00", "Batteriebetriebsdauer", "d", "100"},
        {"02 FD 74 10 0E", "Batterierestlaufzeit", "d", "3600"},
    };
    for (const Erwartet& f : faelle)
        Pruefen(f);
}

TEST_F(VifTabelleTest, kombinierbareVifesKorrigierenBeschreibenUndAendernDieEinheit)
{
    const Erwartet faelle[] = {
        {"02 93 74 39 30", "Volumen", "m^3", "0.12345"},  // 10^-2 correction
        {"02 93 7D 39 30", "Volumen", "m^3", "12345"},    // 10^3 correction
        {"02 93 22 39 30", "Volumen", "m^3/h", "12.345"}, // per hour
        {"02 93 15 00 00", "Volumen, keine Daten verfügbar", "m^3", "0"},
        {"04 90 28 0B 00 00 00", "Volumen, je Eingangsimpuls Kanal 0", "m^3", "0.000011"},
        {"04 86 3B 23 00 00 00", "Energie, nur positive Beiträge", "kWh", "35"},
        {"02 93 52 05 00", "Volumen, Dauer erste Unterschreitung", "h", "5"},
        {"02 93 49 03 00", "Volumen, Anzahl Überschreitungen", "", "3"},
        {"04 DA 6F 32 14 7A 18", "Vorlauftemperatur, Ende (letzter)", "", "26.08.2011 20:50"},
        {"44 ED 7E 3B 17 9E 14", "Datum/Uhrzeit, zukünftiger Wert", "", "30.04.2012 23:59"},
        {"02 FD C9 FC 01 E6 00", "Spannung, Phase L1", "V", "230"},
        {"04 83 7F FA 04 00 00", "Energie, herstellerspezifisch", "kWh", "1.274"},
        {"02 FC 03 48 52 25 74 22 15", "%RH", "%RH", "54.1"}, // plain text, reversed
        {"84 00 7C 01 43 F3 0D 00 00", "C", "C", "3571"},
    };
    for (const Erwartet& f : faelle)
        Pruefen(f);
    EXPECT_TRUE(EinDatensatz("04 83 7F FA 04 00 00").herstellerVifes);
}

TEST_F(VifTabelleTest, texteAufEnglisch)
{
    const Datensatz d = EinDatensatz("04 90 28 0B 00 00 00");
    EXPECT_EQ(BeschreibungText(d, Sprache::Englisch),
              "Volume, increment per input pulse on channel 0");
    EXPECT_EQ(EinheitText(EinDatensatz("01 FD 28 03"), Sprache::Englisch), "months");
    EXPECT_EQ(GroesseText(Groesse::Ruecklauftemperatur, Sprache::Englisch), "Return temperature");
    EXPECT_EQ(MediumText(0x04, Sprache::Deutsch), "Wärme");
    EXPECT_EQ(MediumText(0x04, Sprache::Englisch), "Heat");
    EXPECT_EQ(MediumText(0x16, Sprache::Deutsch), "Kaltwasser");
    EXPECT_EQ(MediumText(0x7F, Sprache::Deutsch), "Reserviert");
}

TEST_F(VifTabelleTest, tabellenZeilenLiefernGroesseEinheitUndExponent)
{
    const struct
    {
        VifBedeutung (*tabelle)(std::uint8_t);
        std::uint8_t code;
        Groesse groesse;
        Einheit einheit;
        int exponent;
    } faelle[] = {
        {PrimaererVif, 0x00, Groesse::Energie, Einheit::Wh, -3},
        {PrimaererVif, 0x87, Groesse::Energie, Einheit::Wh, 4}, // extension bit ignored
        {PrimaererVif, 0x17, Groesse::Volumen, Einheit::Kubikmeter, 1},
        {PrimaererVif, 0x4F, Groesse::Durchfluss, Einheit::KubikmeterProSekunde, -2},
        {PrimaererVif, 0x6F, Groesse::Reserviert, Einheit::Keine, 0},
        {PrimaererVif, 0x76, Groesse::Aktualitaetsdauer, Einheit::Stunde, 0},
        {ErweiterungFD, 0x40, Groesse::Spannung, Einheit::Volt, -9},
        {ErweiterungFD, 0x5F, Groesse::Strom, Einheit::Ampere, 3},
        {ErweiterungFD, 0x33, Groesse::Tarifdauer, Einheit::Tag, 0},
        {ErweiterungFD, 0x6B, Groesse::DauerSeitKumulation, Einheit::Jahr, 0},
        {ErweiterungFD, 0x7F, Groesse::Reserviert, Einheit::Keine, 0},
        {ErweiterungFB, 0x01, Groesse::Energie, Einheit::MWh, 0},
        {ErweiterungFB, 0x0F, Groesse::Energie, Einheit::MCal, 2},
        {ErweiterungFB, 0x7F, Groesse::MaximalleistungKumuliert, Einheit::Watt, 4},
        {ErweiterungFB, 0x40, Groesse::Reserviert, Einheit::Keine, 0},
        {FesteEinheit, 0x05, Groesse::Energie, Einheit::Wh, 3},
        {FesteEinheit, 0x11, Groesse::Energie, Einheit::J, 9},
        {FesteEinheit, 0x2C, Groesse::Volumen, Einheit::Kubikmeter, 0},
        {FesteEinheit, 0x3A, Groesse::Reserviert, Einheit::Keine, 0},
    };
    for (const auto& f : faelle) {
        const VifBedeutung b = f.tabelle(f.code);
        EXPECT_EQ(b.groesse, f.groesse) << int(f.code);
        EXPECT_EQ(b.einheit, f.einheit) << int(f.code);
        EXPECT_EQ(b.exponent, f.exponent) << int(f.code);
    }
}

} // namespace
