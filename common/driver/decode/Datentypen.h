#pragma once
// The data types of EN 13757-3 (Annex A): binary integers (type B), BCD (type A, negative with F
// in the top digit), 32-bit real (type H) and the date and time types G, F, I and J.
// Every function reads only the bytes it is given. Multi-byte values come least significant
// byte first unless the telegram says otherwise (CI 76 and 77: most significant byte first).

#include "Dezimal.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <cstdint>
#include <optional>

namespace mbus {

// The bytes of a value with the least significant first.
QByteArray LsbZuerst(QByteArrayView bytes, bool msbZuerst);

// Up to eight bytes as an unsigned number.
std::uint64_t Vorzeichenlos(QByteArrayView bytes, bool msbZuerst);
// Up to eight bytes as a signed number in two's complement of their own width.
std::int64_t Ganzzahl(QByteArrayView bytes, bool msbZuerst);
// BCD digits; an F as the top digit makes the number negative. None when a digit is A to E, or
// F elsewhere than on top: the meter signals an error or has no value.
std::optional<Dezimal> Bcd(QByteArrayView bytes, bool msbZuerst);
// The hex digits of a value, most significant first ("0500023E").
QString HexZiffern(QByteArrayView bytes, bool msbZuerst);
// Four bytes as an IEEE 754 single.
float Real32(QByteArrayView bytes, bool msbZuerst);

enum class Zeitart : std::uint8_t {
    DatumG,        // 16 bit: date
    DatumUhrzeitF, // 32 bit: date and time to the minute
    DatumUhrzeitI, // 48 bit: date and time to the second
    UhrzeitJ,      // 24 bit: time of day
};

struct Zeitpunkt
{
    Zeitart art = Zeitart::DatumG;
    QDate datum;          // invalid for type J and for dates that do not exist
    QTime zeit;           // invalid for type G
    bool gueltig = false; // false when the meter flags it invalid or it is no real date
    bool sommerzeit = false;

    // Date and time as local wall-clock time; invalid when not gueltig. Type J gives no date.
    QDateTime alsDateTime() const;
    // "13.03.2014", "13.03.2014 11:11", "13.03.2014 11:11:05", "11:11:05"; "" when not gueltig.
    QString text() const;
};

// The date type a data field of this many bytes carries: 2 G, 3 J, 4 F, 6 I.
std::optional<Zeitart> ZeitartFuerLaenge(qsizetype laenge);
// Reads the type from bytes of its length (2, 4, 6 or 3); anything else is not gueltig.
Zeitpunkt LiesZeitpunkt(Zeitart art, QByteArrayView bytes, bool msbZuerst);

} // namespace mbus
