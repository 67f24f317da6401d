#pragma once
// The forms in which telegrams travel inside the program: raw bytes (as the serial port sends
// and receives them), hex text with a separator behind every byte ("68;0B;0B;68;") and the
// address and checksum texts of the frame builders.

#include <QByteArray>
#include <QString>
#include <QVariant>

// The secondary address bytes of an identification number: the eight digits (leading zeros
// added) as four BCD bytes, least significant first, then manufacturer, version and medium as
// wildcards. 12345678 gives "78 56 34 12 FF FF FF FF", 1 gives "01 00 00 00 FF FF FF FF".
// A number of more than eight digits gives its first eight (leading zeros do not count).
// A value that is no whole non-negative number (sign, decimal point, letters, "") gives "".
QString MB_SekAdrToHex(const QVariant& sekAdr);

// The M-Bus checksum of raw bytes: their sum modulo 256 as two upper-case hex digits;
// "" for no bytes.
QString MB_Checksumme(const QByteArray& bytes);

// Every byte as two upper-case hex digits, each followed by the separator: the bytes 68 03 with
// ";" give "68;03;", with "" give "6803".
QString StrToHex(const QByteArray& bytes, const QString& trenner);

// The raw bytes of a hex text.
// - An empty text gives no bytes (the separator is left as it is).
// - An empty separator is taken from the text: the character behind the first byte, and the
//   caller's separator is set to it ("10 7B FD 78 16" gives the separator " "). When that
//   character is a hex digit, or the text is shorter than three characters, the text is
//   contiguous hex ("107BFD7816"): it is read in pairs of digits from the left (a last single
//   digit is a byte of its own) and the caller's separator stays "".
// - A text that does not hold its separator gives no bytes.
// - Otherwise the text is cut at the separator (blanks at its end are dropped); each field is
//   read as a hex number, blanks around it ignored. A field that is no hex number from 00 to FF
//   (also an empty one) gives the byte 0.
// The hex text itself is not changed.
QByteArray HexToStr(const QString& hex, QString& trenner);
// The same with an empty separator, for callers that do not need the separator found.
QByteArray HexToStr(const QString& hex);
