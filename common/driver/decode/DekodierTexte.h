#pragma once
// The texts of a decoded telegram, German by default and English on request: media, quantities,
// functions, data fields, status bits, application errors, and the value, unit and description
// texts of a record.

#include "Datensatz.h"
#include "Groessen.h"
#include "Telegramm.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>

namespace mbus {

// The driver's language number: 1 is English, anything else German.
constexpr Sprache SpracheFuer(int sprachnummer)
{
    return sprachnummer == 1 ? Sprache::Englisch : Sprache::Deutsch;
}

// A frame as contiguous hex, two upper-case digits a byte ("68151568...").
QString RohdatenHex(QByteArrayView rahmen);
// A frame as decimal, three digits a byte ("104021021104...").
QString RohdatenDez(QByteArrayView rahmen);

QString MediumText(std::uint8_t medium, Sprache sprache);
QString GroesseText(Groesse groesse, Sprache sprache);
QString FunktionText(Funktion funktion, Sprache sprache);
// The data type of the DIF ("32 Bit Ganzzahl", "8 Ziffern BCD" ...); for 0F and 1F what they
// announce.
QString DatenfeldText(const Datensatz& datensatz, Sprache sprache);
// The set status bits, "," separated ("Spannung niedrig, Dauerfehler"); "" for none. The fixed
// data structure uses its top two bits for the counter format, not as manufacturer bits.
QString StatusText(const Kopf& kopf, Sprache sprache);
// CI 70 codes 0 to 9; no code: unspecified error.
QString AnwendungsfehlerText(std::optional<std::uint8_t> code, Sprache sprache);

// The quantity, followed by what the VIFEs say of the value ("Volumen, je Eingangsimpuls
// Kanal 0"); the plain-text unit for a plain-text VIF.
QString BeschreibungText(const Datensatz& datensatz, Sprache sprache);
// The unit the value is shown in ("kWh", "m^3/h", "°C"); the plain text for a plain-text VIF.
QString EinheitText(const Datensatz& datensatz, Sprache sprache);
// The value as text: numbers scaled to that unit with "." as the decimal sign, dates
// "dd.MM.yyyy HH:mm", texts as they are, bytes as hex pairs; "" when there is no value.
QString WertText(const Datensatz& datensatz);
// The data bytes as hex digits, most significant first ("" for no data).
QString WertHex(const Datensatz& datensatz);

} // namespace mbus
