#pragma once
// Cell formats of grid exports: a small part of the patterns of a Format function, written in
// the German convention of the stored files.
//
// Number patterns: "0" (digit always shown) and "#" (digit shown when needed) places, one "."
// for the decimal sign, which is written as ","; text after the number is copied ("0.00 kWh").
// Rounding is half away from zero on the decimal value (2.5 gives 3, 1.005 with "0.00" gives
// 1,01); a result of zero carries no minus sign.
// Date patterns: dd d (day), mm m (month; minutes right after an hour or before seconds),
// yyyy yy, hh h, nn n, ss s, letters of any case; other characters are copied
// ("dd.mm.yyyy hh:nn:ss", "yymmddhhnn").

#include <QString>

// The cell text after the pattern. A number pattern takes a numeric text ("12,5", "12.5",
// "-3", "1E3"); a date pattern takes "dd.mm.yyyy", "dd.mm.yy", each with an optional time
// "hh:nn[:ss]", or a time alone. A text that does not fit its pattern, and a pattern outside
// the set above, leave the text unchanged. FehlerText is not touched.
QString ZelleFormatieren(const QString& text, const QString& muster);
