#include "VifTabelle.h"

#include <array>

namespace mbus {

namespace {

using G = Groesse;
using E = Einheit;
constexpr Stufung kSBisT = Stufung::SekundeBisTag;
constexpr Stufung kHBisJ = Stufung::StundeBisJahr;

// EN 13757-3, primary VIF.
// clang-format off
constexpr VifZeile kPrimaer[] = {
    // first last  quantity                   unit                        bias
    {0x00, 0x07, G::Energie,              E::Wh,                      -3},
    {0x08, 0x0F, G::Energie,              E::J,                        0},
    {0x10, 0x17, G::Volumen,              E::Kubikmeter,              -6},
    {0x18, 0x1F, G::Masse,                E::Kilogramm,               -3},
    {0x20, 0x23, G::Einschaltdauer,       E::Sekunde,                  0, kSBisT},
    {0x24, 0x27, G::Betriebsdauer,        E::Sekunde,                  0, kSBisT},
    {0x28, 0x2F, G::Leistung,             E::Watt,                    -3},
    {0x30, 0x37, G::Leistung,             E::JouleProStunde,           0},
    {0x38, 0x3F, G::Durchfluss,           E::KubikmeterProStunde,     -6},
    {0x40, 0x47, G::Durchfluss,           E::KubikmeterProMinute,     -7},
    {0x48, 0x4F, G::Durchfluss,           E::KubikmeterProSekunde,    -9},
    {0x50, 0x57, G::Massestrom,           E::KilogrammProStunde,      -3},
    {0x58, 0x5B, G::Vorlauftemperatur,    E::GradCelsius,             -3},
    {0x5C, 0x5F, G::Ruecklauftemperatur,  E::GradCelsius,             -3},
    {0x60, 0x63, G::Temperaturdifferenz,  E::Kelvin,                  -3},
    {0x64, 0x67, G::Aussentemperatur,     E::GradCelsius,             -3},
    {0x68, 0x6B, G::Druck,                E::Bar,                     -3},
    {0x6C, 0x6C, G::Datum,                E::Keine,                    0},
    {0x6D, 0x6D, G::DatumUhrzeit,         E::Keine,                    0},
    {0x6E, 0x6E, G::HkvEinheiten,         E::Keine,                    0},
    {0x70, 0x73, G::Mittelungsdauer,      E::Sekunde,                  0, kSBisT},
    {0x74, 0x77, G::Aktualitaetsdauer,    E::Sekunde,                  0, kSBisT},
    {0x78, 0x78, G::Fabrikationsnummer,   E::Keine,                    0},
    {0x79, 0x79, G::Identifikation,       E::Keine,                    0},
    {0x7A, 0x7A, G::Busadresse,           E::Keine,                    0},
    {0x7E, 0x7E, G::BeliebigerVif,        E::Keine,                    0},
    {0x7F, 0x7F, G::Herstellerspezifisch, E::Keine,                    0},
};
// clang-format on

// EN 13757-3, main VIFE code extension table (VIF FD).
// clang-format off
constexpr VifZeile kErweiterungFD[] = {
    {0x00, 0x03, G::Guthaben,                   E::Waehrung,   -3},
    {0x04, 0x07, G::Lastschrift,                E::Waehrung,   -3},
    {0x08, 0x08, G::Zugriffsnummer},
    {0x09, 0x09, G::Geraetetyp},
    {0x0A, 0x0A, G::Hersteller},
    {0x0B, 0x0B, G::Parametersatz},
    {0x0C, 0x0C, G::ModellVersion},
    {0x0D, 0x0D, G::Hardwareversion},
    {0x0E, 0x0E, G::Firmwareversion},
    {0x0F, 0x0F, G::Softwareversion},
    {0x10, 0x10, G::Kundenstandort},
    {0x11, 0x11, G::Kunde},
    {0x12, 0x12, G::ZugangscodeBenutzer},
    {0x13, 0x13, G::ZugangscodeBetreiber},
    {0x14, 0x14, G::ZugangscodeSystembetreiber},
    {0x15, 0x15, G::ZugangscodeEntwickler},
    {0x16, 0x16, G::Passwort},
    {0x17, 0x17, G::Fehlerflags},
    {0x18, 0x18, G::Fehlermaske},
    {0x19, 0x19, G::Sicherheitsschluessel},
    {0x1A, 0x1A, G::Digitalausgang},
    {0x1B, 0x1B, G::Digitaleingang},
    {0x1C, 0x1C, G::Baudrate,                   E::Baud},
    {0x1D, 0x1D, G::Antwortverzoegerung,        E::Bitzeiten},
    {0x1E, 0x1E, G::Wiederholung},
    {0x1F, 0x1F, G::Fernsteuerung},
    {0x20, 0x20, G::ErsterSpeicher},
    {0x21, 0x21, G::LetzterSpeicher},
    {0x22, 0x22, G::Speicherblockgroesse},
    {0x23, 0x23, G::TarifDeskriptor},
    {0x24, 0x27, G::Speicherintervall,          E::Sekunde,     0, kSBisT},
    {0x28, 0x28, G::Speicherintervall,          E::Monat},
    {0x29, 0x29, G::Speicherintervall,          E::Jahr},
    {0x2A, 0x2A, G::Betreiberdaten},
    {0x2B, 0x2B, G::ZeitpunktSekunde,           E::Sekunde},
    {0x2C, 0x2F, G::DauerSeitAuslesung,         E::Sekunde,     0, kSBisT},
    {0x30, 0x30, G::Tarifbeginn},
    {0x31, 0x33, G::Tarifdauer,                 E::Sekunde,     0, kSBisT},
    {0x34, 0x37, G::Tarifperiode,               E::Sekunde,     0, kSBisT},
    {0x38, 0x38, G::Tarifperiode,               E::Monat},
    {0x39, 0x39, G::Tarifperiode,               E::Jahr},
    {0x3A, 0x3A, G::Dimensionslos},
    {0x3B, 0x3B, G::Datencontainer},
    {0x3C, 0x3F, G::Sendeperiode,               E::Sekunde,     0, kSBisT},
    {0x40, 0x4F, G::Spannung,                   E::Volt,       -9},
    {0x50, 0x5F, G::Strom,                      E::Ampere,    -12},
    {0x60, 0x60, G::Ruecksetzzaehler},
    {0x61, 0x61, G::Kumulationszaehler},
    {0x62, 0x62, G::Steuersignal},
    {0x63, 0x63, G::Wochentag},
    {0x64, 0x64, G::Kalenderwoche},
    {0x65, 0x65, G::Tageswechsel},
    {0x66, 0x66, G::Parameteraktivierung},
    {0x67, 0x67, G::Lieferanteninformation},
    {0x68, 0x6B, G::DauerSeitKumulation,        E::Stunde,      0, kHBisJ},
    {0x6C, 0x6F, G::Batteriebetriebsdauer,      E::Stunde,      0, kHBisJ},
    {0x70, 0x70, G::Batteriewechsel},
    {0x71, 0x71, G::Funkpegel,                  E::dBm},
    {0x72, 0x72, G::Sommerzeit},
    {0x73, 0x73, G::Empfangsfenster},
    {0x74, 0x74, G::Batterierestlaufzeit,       E::Tag},
    {0x75, 0x75, G::Stillstaende},
    {0x76, 0x76, G::Herstellercontainer},
};
// clang-format on

// EN 13757-3, alternate VIFE code extension table (VIF FB).
// clang-format off
constexpr VifZeile kErweiterungFB[] = {
    {0x00, 0x01, G::Energie,                  E::MWh,                 -1},
    {0x02, 0x03, G::Blindenergie,             E::kvarh,                0},
    {0x04, 0x05, G::Scheinenergie,            E::kVAh,                 0},
    {0x08, 0x09, G::Energie,                  E::GJ,                  -1},
    {0x0C, 0x0F, G::Energie,                  E::MCal,                -1},
    {0x10, 0x11, G::Volumen,                  E::Kubikmeter,           2},
    {0x14, 0x17, G::Blindleistung,            E::kvar,                -3},
    {0x18, 0x19, G::Masse,                    E::Tonne,                2},
    {0x1A, 0x1B, G::RelativeFeuchte,          E::Prozent,             -1},
    {0x20, 0x20, G::Volumen,                  E::Kubikfuss,            0},
    {0x21, 0x21, G::Volumen,                  E::Kubikfuss,           -1},
    {0x28, 0x29, G::Leistung,                 E::Megawatt,            -1},
    {0x2A, 0x2A, G::PhasenwinkelUU,           E::Winkelgrad,          -1},
    {0x2B, 0x2B, G::PhasenwinkelUI,           E::Winkelgrad,          -1},
    {0x2C, 0x2F, G::Frequenz,                 E::Hertz,               -3},
    {0x30, 0x31, G::Leistung,                 E::GJProStunde,         -1},
    {0x34, 0x37, G::Scheinleistung,           E::kVA,                 -3},
    {0x58, 0x5B, G::Vorlauftemperatur,        E::GradFahrenheit,      -3},
    {0x5C, 0x5F, G::Ruecklauftemperatur,      E::GradFahrenheit,      -3},
    {0x60, 0x63, G::Temperaturdifferenz,      E::FahrenheitDifferenz, -3},
    {0x64, 0x67, G::Aussentemperatur,         E::GradFahrenheit,      -3},
    {0x70, 0x73, G::Temperaturgrenze,         E::GradFahrenheit,      -3},
    {0x74, 0x77, G::Temperaturgrenze,         E::GradCelsius,         -3},
    {0x78, 0x7F, G::MaximalleistungKumuliert, E::Watt,                -3},
};
// clang-format on

// EN 13757-3 (EN 1434-3), units of the fixed data structure.
// clang-format off
constexpr VifZeile kFesteEinheiten[] = {
    {0x00, 0x00, G::Uhrzeit},
    {0x01, 0x01, G::Datum},
    {0x02, 0x0A, G::Energie,       E::Wh,                   0},
    {0x0B, 0x13, G::Energie,       E::J,                    3},
    {0x14, 0x1C, G::Leistung,      E::Watt,                 0},
    {0x1D, 0x25, G::Leistung,      E::JouleProStunde,       3},
    {0x26, 0x2E, G::Volumen,       E::Kubikmeter,          -6},
    {0x2F, 0x37, G::Durchfluss,    E::KubikmeterProStunde, -6},
    {0x38, 0x38, G::Temperatur,    E::GradCelsius,         -3},
    {0x39, 0x39, G::HkvEinheiten},
    {0x3F, 0x3F, G::Dimensionslos},
};
// clang-format on

using W = Wirkung;

// EN 13757-3, combinable (orthogonal) VIFE codes, and the record error codes (00 to 1F) a meter
// reports with them.
// clang-format off
constexpr VifeZeile kKombinierbar[] = {
    {0x00, 0x00, W::Fehlercode, 0, "", "kein Fehler", "no error"},
    {0x01, 0x01, W::Fehlercode, 0, "", "zu viele DIFEs", "too many DIFEs"},
    {0x02, 0x02, W::Fehlercode, 0, "", "Speichernummer nicht implementiert",
     "storage number not implemented"},
    {0x03, 0x03, W::Fehlercode, 0, "", "Untereinheit nicht implementiert",
     "unit number not implemented"},
    {0x04, 0x04, W::Fehlercode, 0, "", "Tarif nicht implementiert", "tariff number not implemented"},
    {0x05, 0x05, W::Fehlercode, 0, "", "Funktion nicht implementiert", "function not implemented"},
    {0x06, 0x06, W::Fehlercode, 0, "", "Datenklasse nicht implementiert",
     "data class not implemented"},
    {0x07, 0x07, W::Fehlercode, 0, "", "Datengröße nicht implementiert", "data size not implemented"},
    {0x08, 0x0A, W::Fehlercode, 0, "", "reservierter Fehlercode", "reserved error code"},
    {0x0B, 0x0B, W::Fehlercode, 0, "", "zu viele VIFEs", "too many VIFEs"},
    {0x0C, 0x0C, W::Fehlercode, 0, "", "unzulässige VIF-Gruppe", "illegal VIF group"},
    {0x0D, 0x0D, W::Fehlercode, 0, "", "unzulässiger VIF-Exponent", "illegal VIF exponent"},
    {0x0E, 0x0E, W::Fehlercode, 0, "", "VIF passt nicht zum DIF", "VIF/DIF mismatch"},
    {0x0F, 0x0F, W::Fehlercode, 0, "", "Aktion nicht implementiert", "unimplemented action"},
    {0x10, 0x14, W::Fehlercode, 0, "", "reservierter Fehlercode", "reserved error code"},
    {0x15, 0x15, W::Fehlercode, 0, "", "keine Daten verfügbar", "no data available"},
    {0x16, 0x16, W::Fehlercode, 0, "", "Datenüberlauf", "data overflow"},
    {0x17, 0x17, W::Fehlercode, 0, "", "Datenunterlauf", "data underflow"},
    {0x18, 0x18, W::Fehlercode, 0, "", "Datenfehler", "data error"},
    {0x19, 0x1B, W::Fehlercode, 0, "", "reservierter Fehlercode", "reserved error code"},
    {0x1C, 0x1C, W::Fehlercode, 0, "", "vorzeitiges Ende des Datensatzes",
     "premature end of record"},
    {0x1D, 0x1F, W::Fehlercode, 0, "", "reservierter Fehlercode", "reserved error code"},
    {0x20, 0x20, W::Einheitszusatz, 0, "/s", "pro Sekunde", "per second"},
    {0x21, 0x21, W::Einheitszusatz, 0, "/min", "pro Minute", "per minute"},
    {0x22, 0x22, W::Einheitszusatz, 0, "/h", "pro Stunde", "per hour"},
    {0x23, 0x23, W::Einheitszusatz, 0, "/d", "pro Tag", "per day"},
    {0x24, 0x24, W::Einheitszusatz, 0, "/wk", "pro Woche", "per week"},
    {0x25, 0x25, W::Einheitszusatz, 0, "/mo", "pro Monat", "per month"},
    {0x26, 0x26, W::Einheitszusatz, 0, "/a", "pro Jahr", "per year"},
    {0x27, 0x27, W::Beschreibung, 0, "", "pro Umdrehung/Messung", "per revolution/measurement"},
    {0x28, 0x29, W::Beschreibung, 0, "", "je Eingangsimpuls Kanal %1",
     "increment per input pulse on channel %1"},
    {0x2A, 0x2B, W::Beschreibung, 0, "", "je Ausgangsimpuls Kanal %1",
     "increment per output pulse on channel %1"},
    {0x2C, 0x2C, W::Einheitszusatz, 0, "/l", "pro Liter", "per litre"},
    {0x2D, 0x2D, W::Einheitszusatz, 0, "/m^3", "pro m^3", "per m^3"},
    {0x2E, 0x2E, W::Einheitszusatz, 0, "/kg", "pro kg", "per kg"},
    {0x2F, 0x2F, W::Einheitszusatz, 0, "/K", "pro K", "per K"},
    {0x30, 0x30, W::Einheitszusatz, 0, "/kWh", "pro kWh", "per kWh"},
    {0x31, 0x31, W::Einheitszusatz, 0, "/GJ", "pro GJ", "per GJ"},
    {0x32, 0x32, W::Einheitszusatz, 0, "/kW", "pro kW", "per kW"},
    {0x33, 0x33, W::Einheitszusatz, 0, "/(K*l)", "pro K*l", "per K*l"},
    {0x34, 0x34, W::Einheitszusatz, 0, "/V", "pro V", "per V"},
    {0x35, 0x35, W::Einheitszusatz, 0, "/A", "pro A", "per A"},
    {0x36, 0x36, W::Einheitszusatz, 0, "*s", "mal s", "multiplied by s"},
    {0x37, 0x37, W::Einheitszusatz, 0, "*s/V", "mal s/V", "multiplied by s/V"},
    {0x38, 0x38, W::Einheitszusatz, 0, "*s/A", "mal s/A", "multiplied by s/A"},
    {0x39, 0x39, W::Datum, 0, "", "Beginn", "start date of"},
    {0x3A, 0x3A, W::Beschreibung, 0, "", "unkorrigiert", "uncorrected (metering conditions)"},
    {0x3B, 0x3B, W::Beschreibung, 0, "", "nur positive Beiträge",
     "accumulation only if positive"},
    {0x3C, 0x3C, W::Beschreibung, 0, "", "nur negative Beiträge",
     "accumulation of abs value only if negative"},
    {0x3E, 0x3E, W::Beschreibung, 0, "", "bei Basisbedingungen", "value at base conditions"},
    {0x3F, 0x3F, W::Beschreibung, 0, "", "OBIS-Deklaration", "OBIS declaration"},
    {0x40, 0x40, W::Beschreibung, 0, "", "untere Grenze", "lower limit value"},
    {0x41, 0x41, W::Zaehlung, 0, "", "Anzahl Unterschreitungen", "number of lower limit exceeds"},
    {0x42, 0x42, W::Datum, 0, "", "Beginn erste Unterschreitung", "begin of first lower limit exceed"},
    {0x43, 0x43, W::Datum, 0, "", "Ende erste Unterschreitung", "end of first lower limit exceed"},
    {0x46, 0x46, W::Datum, 0, "", "Beginn letzte Unterschreitung", "begin of last lower limit exceed"},
    {0x47, 0x47, W::Datum, 0, "", "Ende letzte Unterschreitung", "end of last lower limit exceed"},
    {0x48, 0x48, W::Beschreibung, 0, "", "obere Grenze", "upper limit value"},
    {0x49, 0x49, W::Zaehlung, 0, "", "Anzahl Überschreitungen", "number of upper limit exceeds"},
    {0x4A, 0x4A, W::Datum, 0, "", "Beginn erste Überschreitung", "begin of first upper limit exceed"},
    {0x4B, 0x4B, W::Datum, 0, "", "Ende erste Überschreitung", "end of first upper limit exceed"},
    {0x4E, 0x4E, W::Datum, 0, "", "Beginn letzte Überschreitung", "begin of last upper limit exceed"},
    {0x4F, 0x4F, W::Datum, 0, "", "Ende letzte Überschreitung", "end of last upper limit exceed"},
    {0x50, 0x53, W::Dauer, 0, "", "Dauer erste Unterschreitung", "duration of first lower limit exceed"},
    {0x54, 0x57, W::Dauer, 0, "", "Dauer letzte Unterschreitung", "duration of last lower limit exceed"},
    {0x58, 0x5B, W::Dauer, 0, "", "Dauer erste Überschreitung", "duration of first upper limit exceed"},
    {0x5C, 0x5F, W::Dauer, 0, "", "Dauer letzte Überschreitung", "duration of last upper limit exceed"},
    {0x60, 0x63, W::Dauer, 0, "", "Dauer (erste)", "duration of first"},
    {0x64, 0x67, W::Dauer, 0, "", "Dauer (letzte)", "duration of last"},
    {0x68, 0x68, W::Beschreibung, 0, "", "Wert bei Unterschreitung", "value during lower limit exceed"},
    {0x69, 0x69, W::Beschreibung, 0, "", "Leckagewert", "leakage value"},
    {0x6A, 0x6A, W::Datum, 0, "", "Beginn (erster)", "begin of first"},
    {0x6B, 0x6B, W::Datum, 0, "", "Ende (erster)", "end of first"},
    {0x6C, 0x6C, W::Beschreibung, 0, "", "Wert bei Überschreitung", "value during upper limit exceed"},
    {0x6D, 0x6D, W::Beschreibung, 0, "", "Überlaufwert", "overflow value"},
    {0x6E, 0x6E, W::Datum, 0, "", "Beginn (letzter)", "begin of last"},
    {0x6F, 0x6F, W::Datum, 0, "", "Ende (letzter)", "end of last"},
    {0x70, 0x77, W::Exponent, -6},
    {0x78, 0x7B, W::Exponent, -3, "", "additive Korrektur", "additive correction constant"},
    {0x7C, 0x7C, W::Erweiterung},
    {0x7D, 0x7D, W::Exponent, 3},
    {0x7E, 0x7E, W::Beschreibung, 0, "", "zukünftiger Wert", "future value"},
    {0x7F, 0x7F, W::Hersteller, 0, "", "herstellerspezifisch", "manufacturer specific"},
};
// clang-format on

// EN 13757-3, extension of the combinable VIFE codes (behind 7C).
// clang-format off
constexpr VifeZeile kKombinierbarErweitert[] = {
    {0x01, 0x01, W::Beschreibung, 0, "", "Phase L1", "at phase L1"},
    {0x02, 0x02, W::Beschreibung, 0, "", "Phase L2", "at phase L2"},
    {0x03, 0x03, W::Beschreibung, 0, "", "Phase L3", "at phase L3"},
    {0x04, 0x04, W::Beschreibung, 0, "", "Neutralleiter", "at neutral"},
    {0x05, 0x05, W::Beschreibung, 0, "", "zwischen L1 und L2", "between phase L1 and L2"},
    {0x06, 0x06, W::Beschreibung, 0, "", "zwischen L2 und L3", "between phase L2 and L3"},
    {0x07, 0x07, W::Beschreibung, 0, "", "zwischen L3 und L1", "between phase L3 and L1"},
    {0x08, 0x08, W::Beschreibung, 0, "", "Quadrant Q1", "at quadrant Q1"},
    {0x09, 0x09, W::Beschreibung, 0, "", "Quadrant Q2", "at quadrant Q2"},
    {0x0A, 0x0A, W::Beschreibung, 0, "", "Quadrant Q3", "at quadrant Q3"},
    {0x0B, 0x0B, W::Beschreibung, 0, "", "Quadrant Q4", "at quadrant Q4"},
    {0x0C, 0x0C, W::Beschreibung, 0, "", "Bezug minus Lieferung", "delta between import and export"},
    {0x10, 0x10, W::Beschreibung, 0, "", "Summe der Beträge", "accumulation of absolute value"},
    {0x11, 0x11, W::Beschreibung, 0, "", "als Datentyp C", "data presented with type C"},
    {0x12, 0x12, W::Beschreibung, 0, "", "als Datentyp D", "data presented with type D"},
};
// clang-format on

constexpr VifeZeile kReserviert{0x00, 0x7F, W::Beschreibung, 0, "", "reserviert", "reserved"};
constexpr std::uint8_t kKeineZeile = 0xFF;

// For each of the 128 codes the row that holds it (kKeineZeile: none), built at compile time.
template <typename Zeile, std::size_t N>
constexpr std::array<std::uint8_t, 128> Verzeichnis(const Zeile (&zeilen)[N])
{
    std::array<std::uint8_t, 128> verzeichnis{};
    verzeichnis.fill(kKeineZeile);
    for (std::size_t i = 0; i < N; ++i) {
        for (int code = zeilen[i].erster; code <= zeilen[i].letzter; ++code)
            verzeichnis[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(i);
    }
    return verzeichnis;
}

constexpr auto kPrimaerVerzeichnis = Verzeichnis(kPrimaer);
constexpr auto kFDVerzeichnis = Verzeichnis(kErweiterungFD);
constexpr auto kFBVerzeichnis = Verzeichnis(kErweiterungFB);
constexpr auto kFestVerzeichnis = Verzeichnis(kFesteEinheiten);
constexpr auto kKombinierbarVerzeichnis = Verzeichnis(kKombinierbar);
constexpr auto kErweitertVerzeichnis = Verzeichnis(kKombinierbarErweitert);

constexpr Einheit kSekundeBisTag[] = {E::Sekunde, E::Minute, E::Stunde, E::Tag};
constexpr Einheit kStundeBisJahr[] = {E::Stunde, E::Tag, E::Monat, E::Jahr};

template <std::size_t N>
VifBedeutung Nachschlagen(const VifZeile (&zeilen)[N], const std::array<std::uint8_t, 128>& index,
                          std::uint8_t code)
{
    code &= 0x7F;
    if (index[code] == kKeineZeile)
        return {};
    const VifZeile& z = zeilen[index[code]];
    switch (z.stufung) {
    case Stufung::SekundeBisTag:
        return {z.groesse, kSekundeBisTag[code & 0x03], z.exponent};
    case Stufung::StundeBisJahr:
        return {z.groesse, kStundeBisJahr[code & 0x03], z.exponent};
    case Stufung::Zehnerpotenz:
        break;
    }
    return {z.groesse, z.einheit, code - z.erster + z.exponent};
}

} // namespace

VifBedeutung PrimaererVif(std::uint8_t code)
{
    return Nachschlagen(kPrimaer, kPrimaerVerzeichnis, code);
}

VifBedeutung ErweiterungFB(std::uint8_t code)
{
    return Nachschlagen(kErweiterungFB, kFBVerzeichnis, code);
}

VifBedeutung ErweiterungFD(std::uint8_t code)
{
    return Nachschlagen(kErweiterungFD, kFDVerzeichnis, code);
}

VifBedeutung FesteEinheit(std::uint8_t code)
{
    return Nachschlagen(kFesteEinheiten, kFestVerzeichnis, code & 0x3F);
}

const VifeZeile& KombinierbareVife(std::uint8_t code)
{
    const std::uint8_t zeile = kKombinierbarVerzeichnis[code & 0x7F];
    return zeile == kKeineZeile ? kReserviert : kKombinierbar[zeile];
}

const VifeZeile& KombinierbareVifeErweitert(std::uint8_t code)
{
    const std::uint8_t zeile = kErweitertVerzeichnis[code & 0x7F];
    return zeile == kKeineZeile ? kReserviert : kKombinierbarErweitert[zeile];
}

QString VifeText(const VifeZeile& zeile, std::uint8_t code, Sprache sprache)
{
    QString text = QString::fromUtf8(sprache == Sprache::Englisch ? zeile.englisch : zeile.deutsch);
    if (text.contains(QStringLiteral("%1")))
        text = text.arg(code & 0x01);
    return text;
}

} // namespace mbus
