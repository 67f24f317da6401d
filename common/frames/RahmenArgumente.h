#pragma once
// Reading the arguments of the frame builders: identification numbers, primary addresses and
// baud rates arrive as numbers or as texts a user typed.

#include <QString>
#include <QVariant>

#include <optional>

// The decimal digits of a whole non-negative number: an integer value, a whole double, or a text
// of decimal digits with nothing but blanks around it (leading zeros kept: "007" gives "007").
// Nothing for every other value: a sign, a decimal point or comma, a blank inside, a letter, an
// empty text, a fraction, an invalid value.
std::optional<QString> ZiffernText(const QVariant& wert);

// The value of a number or a number text: blanks around, a sign, "," or "." as the decimal sign
// and an exponent are allowed. Nothing for an empty text, a text that is no number, an infinite
// value and every value that is neither number nor text.
std::optional<double> ZahlWert(const QVariant& wert);
