#pragma once
// The secondary address a SND_UD with CI 52 selects: identification number, manufacturer,
// version and medium. Every nibble F of the identification number is a wildcard; an empty
// manufacturer, version or medium is sent as FF (any).

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace mbus {

struct Auswahlmaske
{
    // Up to eight characters, each a decimal digit or F/f (wildcard); shorter texts are filled
    // with leading zeros: "ffff1234", "12345678", "FFFFFFFF".
    QString ident;
    // Three letters A to Z ("EFE"); empty for any manufacturer.
    QString hersteller;
    std::optional<std::uint8_t> version; // none: any
    std::optional<std::uint8_t> medium;  // none: any
};

// The eight address bytes of the select frame (identification number least significant byte
// first, manufacturer low byte first, version, medium); none when a part is not valid, so that
// a typing error never reaches another meter.
std::optional<QByteArray> AuswahlBytes(const Auswahlmaske& maske);

} // namespace mbus
