#pragma once
// What the driver's callers hand over as text or number: ports, baud rates, hex frames.

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

// A port as number or text: 3, "3", "Com 3", "COM3" (blanks and case do not matter); none for
// anything else or a number outside 1..255.
std::optional<int> TreiberPortNummer(const QVariant& port);

// An M-Bus baud rate as number or text (300, 600, 1200, 2400, 4800, 9600, 19200, 38400); none
// for any other value.
std::optional<int> TreiberBaud(const QVariant& baud);

// Hex text, two digits a byte without separators ("107BFD7816"; blanks around it are ignored);
// none when it is empty, has an odd number of digits or a character that is no hex digit.
std::optional<QByteArray> TreiberHexBytes(const QString& text);

// A byte in hex (one or two digits, "04", "FF"); none for "" and anything else.
std::optional<int> TreiberHexByte(const QString& text);
