#pragma once
// The value information tables of EN 13757-3, as rows a reader can hold against the standard:
// {first code, last code, quantity, unit, exponent bias}. A code n places after the first of
// its row means 10^(n + bias) of the unit; rows for durations pick the time unit instead, and
// single-code rows take the bias as their exponent.
// Codes are given without the extension bit (bit 7).

#include "Groessen.h"

#include <QString>

#include <cstdint>
#include <span>

namespace mbus {

enum class Stufung : std::uint8_t {
    Zehnerpotenz,  // the code counts the power of ten
    SekundeBisTag, // the two low bits: seconds, minutes, hours, days
    StundeBisJahr, // the two low bits: hours, days, months, years
};

struct VifZeile
{
    std::uint8_t erster = 0;
    std::uint8_t letzter = 0;
    Groesse groesse = Groesse::Reserviert;
    Einheit einheit = Einheit::Keine;
    std::int8_t exponent = 0;
    Stufung stufung = Stufung::Zehnerpotenz;
};

struct VifBedeutung
{
    Groesse groesse = Groesse::Reserviert;
    Einheit einheit = Einheit::Keine;
    int exponent = 0;
};

// Primary VIF (codes 00 to 7F; 7B, 7C, 7D and 7F are handled by the caller, 7B and 7D switch to
// the tables below).
VifBedeutung PrimaererVif(std::uint8_t code);
// First VIFE behind VIF FB.
VifBedeutung ErweiterungFB(std::uint8_t code);
// First VIFE behind VIF FD.
VifBedeutung ErweiterungFD(std::uint8_t code);
// Unit code of a counter of the fixed data structure (six bits).
VifBedeutung FesteEinheit(std::uint8_t code);

// What a combinable (orthogonal) VIFE does to its record.
enum class Wirkung : std::uint8_t {
    Beschreibung,   // only describes the value (forward flow, value at base conditions ...)
    Einheitszusatz, // per time, per litre ...: the unit text is extended
    Exponent,       // a correction factor of 10^(n + bias)
    Datum,          // the value is the date (and time) of what the record names
    Dauer,          // the value is a duration: the unit becomes the time unit of the two low bits
    Zaehlung,       // the value counts events: no unit
    Fehlercode,     // a record error reported by the meter
    Erweiterung,    // the next VIFE comes from the second combinable table
    Hersteller,     // every further VIFE and the data are manufacturer specific
};

struct VifeZeile
{
    std::uint8_t erster = 0;
    std::uint8_t letzter = 0;
    Wirkung wirkung = Wirkung::Beschreibung;
    std::int8_t exponent = 0;
    const char* einheitZusatz = "";
    const char* deutsch = "";
    const char* englisch = "";
};

// Combinable VIFE (codes 00 to 7F); unknown codes give a row that reads "reserved".
const VifeZeile& KombinierbareVife(std::uint8_t code);
// A VIFE behind the combinable extension code 7C.
const VifeZeile& KombinierbareVifeErweitert(std::uint8_t code);

// The text of a row, with the two low bits or the channel filled in where the row has "%1".
QString VifeText(const VifeZeile& zeile, std::uint8_t code, Sprache sprache);

} // namespace mbus
