#pragma once
// A data record of a variable data structure, decoded in two stages: first the blocks as sent
// (Datenblock: DIF/DIFE, VIF/VIFE, plain text and data bytes, kept for the hex view), then their
// meaning (Datensatz: storage, tariff, subunit, function, quantity, unit and the scaled value).

#include "Datentypen.h"
#include "Dezimal.h"
#include "Groessen.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>
#include <variant>

namespace mbus {

struct Datenblock
{
    int position = 0;                 // of the DIF inside the frame
    QByteArray dib;                   // DIF and DIFEs
    QByteArray vib;                   // VIF and VIFEs (without the plain text)
    QByteArray klartext;              // characters of a plain-text VIF (7C/FC) as sent
    std::optional<std::uint8_t> lvar; // length byte of variable-length data
    QByteArray daten;                 // data bytes as sent

    std::uint8_t dif() const { return dib.isEmpty() ? 0 : static_cast<std::uint8_t>(dib[0]); }
};

// No value: no data, a selection for readout, a float that is no number.
struct KeinWert
{
    friend bool operator==(KeinWert, KeinWert) { return true; }
};
// BCD digits with A to E in them: the meter flags an error; the digits as sent.
struct UngueltigeZiffern
{
    QString ziffern;
    friend bool operator==(const UngueltigeZiffern&, const UngueltigeZiffern&) = default;
};

// A number scaled to the unit of the record, a date or time, a text (variable-length ASCII),
// bytes (manufacturer data; long binary numbers most significant byte first).
using Wert = std::variant<KeinWert, Dezimal, Zeitpunkt, QString, QByteArray, UngueltigeZiffern>;

// A combinable VIFE that describes the value (from the first or the extended table).
struct Zusatz
{
    std::uint8_t code = 0;
    bool erweitert = false;
};

struct Datensatz
{
    Datenblock block;
    int datenfeld = 0; // low nibble of the DIF: the data type, 15 for 0F and 1F
    Funktion funktion = Funktion::Momentanwert;
    Sonderfunktion sonderfunktion = Sonderfunktion::Keine;
    std::uint64_t speicher = 0;
    std::uint32_t tarif = 0;
    std::uint32_t untereinheit = 0;
    Groesse groesse = Groesse::Keine;
    QString klartext; // plain-text unit, in reading order
    Einheit einheit = Einheit::Keine;
    QString einheitZusatz;        // "/h", "/l" ... from the VIFEs
    QList<Zusatz> zusaetze;       // VIFEs that describe the value, and record errors
    bool herstellerVifes = false; // VIF 7F/FF or VIFE 7F/FF: the meter's own meaning follows
    bool msbZuerst = false;
    Wert wert;
};

} // namespace mbus
