#pragma once
// What a data record measures (its quantity) and in which unit, as the value information of
// EN 13757-3 names them. Quantity texts are in DekodierTexte.h, unit texts in Einheiten.h.

#include <cstdint>

namespace mbus {

enum class Sprache : std::uint8_t { Deutsch, Englisch };

// clang-format off
enum class Groesse : std::uint8_t {
    Keine,
    // Primary value information
    Energie, Volumen, Masse, Einschaltdauer, Betriebsdauer, Leistung, Durchfluss, Massestrom,
    Vorlauftemperatur, Ruecklauftemperatur, Temperaturdifferenz, Aussentemperatur, Druck, Datum,
    DatumUhrzeit, Uhrzeit, HkvEinheiten, Mittelungsdauer, Aktualitaetsdauer, Fabrikationsnummer,
    Identifikation, Busadresse, BeliebigerVif, Herstellerspezifisch, Klartext, Reserviert,
    // Extension table behind FD
    Guthaben, Lastschrift, Zugriffsnummer, Geraetetyp, Hersteller, Parametersatz, ModellVersion,
    Hardwareversion, Firmwareversion, Softwareversion, Kundenstandort, Kunde, ZugangscodeBenutzer,
    ZugangscodeBetreiber, ZugangscodeSystembetreiber, ZugangscodeEntwickler, Passwort, Fehlerflags,
    Fehlermaske, Sicherheitsschluessel, Digitalausgang, Digitaleingang, Baudrate,
    Antwortverzoegerung, Wiederholung, Fernsteuerung, ErsterSpeicher, LetzterSpeicher,
    Speicherblockgroesse, TarifDeskriptor, Speicherintervall, Betreiberdaten, ZeitpunktSekunde,
    DauerSeitAuslesung, Tarifbeginn, Tarifdauer, Tarifperiode, Dimensionslos, Datencontainer,
    Sendeperiode, Spannung, Strom, Ruecksetzzaehler, Kumulationszaehler, Steuersignal, Wochentag,
    Kalenderwoche, Tageswechsel, Parameteraktivierung, Lieferanteninformation,
    DauerSeitKumulation, Batteriebetriebsdauer, Batteriewechsel, Funkpegel, Sommerzeit,
    Empfangsfenster, Batterierestlaufzeit, Stillstaende, Herstellercontainer,
    // Extension table behind FB
    Blindenergie, Scheinenergie, Blindleistung, Scheinleistung, RelativeFeuchte, PhasenwinkelUU,
    PhasenwinkelUI, Frequenz, Temperaturgrenze, MaximalleistungKumuliert,
    // Fixed data structure
    Temperatur,
    // Special functions of the DIF
    Herstellerdaten, WeitereDatensaetze,
    Anzahl_ // number of quantities, not one of them
};
// clang-format on

// clang-format off
enum class Einheit : std::uint8_t {
    Keine, Wh, kWh, MWh, J, GJ, MCal, Kubikmeter, Kubikfuss, Kilogramm, Tonne, Sekunde, Minute,
    Stunde, Tag, Monat, Jahr, Watt, Kilowatt, Megawatt, JouleProStunde, GJProStunde,
    KubikmeterProStunde, KubikmeterProMinute, KubikmeterProSekunde, KilogrammProStunde,
    TonneProStunde, GradCelsius, Kelvin, GradFahrenheit, FahrenheitDifferenz, Bar, Waehrung, Baud,
    Bitzeiten, Volt, Ampere, Prozent, Winkelgrad, Hertz, kvarh, kVAh, kvar, kVA, dBm,
    Anzahl_ // number of units, not one of them
};
// clang-format on

// The function field of the DIF: which value of the quantity the record holds.
enum class Funktion : std::uint8_t { Momentanwert, Maximalwert, Minimalwert, Fehlerwert };

// The special functions of the DIF that end the records of a telegram.
enum class Sonderfunktion : std::uint8_t {
    Keine,
    Herstellerdaten,    // DIF 0F: manufacturer data up to the end, no further telegram
    WeitereDatensaetze, // DIF 1F: the same, and the meter holds more records for the next request
};

} // namespace mbus
