#pragma once
// Cell formats of grid exports: the patterns of a Format function in the German convention of
// the stored files (decimal comma, "." between thousands).
//
// Number patterns: "0" and "#" digit places, "." decimal sign, "," thousands grouping, "%"
// (times 100), literal text before and after ("0.00 kWh", quoted or escaped with "\"); e.g.
// "0", "0.00", "#0.0##", "#,##0.00", "0%". Rounding is half away from zero on the decimal
// value (2.5 gives 3, 1.005 with "0.00" gives 1,01); a result of zero carries no minus sign.
// Date patterns: d dd ddd dddd, m mm mmm mmmm, yy yyyy (y: day of the year), h hh, n nn, s ss,
// letters of any case; m/mm after an hour or before seconds are minutes ("hh:mm"); "/" gives
// the date separator "."; other characters are copied ("dd.mm.yyyy hh:nn:ss", "yymmddhhnn").
// Named patterns: "General Number", "Fixed", "Standard", "Percent", "General Date",
// "Short Date", "Long Time", "Short Time"; ">" upper case, "<" lower case.

#include <QDateTime>
#include <QString>

// The cell text after the pattern. A number pattern takes a numeric text ("12,5", "12.5",
// "-3", "1E3"); a date pattern takes a date text ("07.12.2026 08:15:00", "7.12.26",
// "2026-12-07 08:15", "08:15"). A text that does not fit its pattern, and a pattern outside
// the set above, leave the text unchanged. FehlerText is left as it was.
QString ZelleFormatieren(const QString& text, const QString& muster);

// A date-time after a date pattern (characters that are no date letters are copied).
QString DatumFormatieren(const QDateTime& datum, const QString& muster);
