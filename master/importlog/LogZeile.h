#pragma once
// Readings in the daily M-Bus logs "yymmddmb.log", line by line.
//
// Two layouts are read, fields separated by ";" (an empty field after a last ";" not counted):
//   time;address;index;value[;...]                       fewer than 8 fields
//   time;id;name;port;address;k;value;unit               the master's data line (MasterLogZeile.h),
//                                                        taken from the right, so a ";" inside
//                                                        the meter name does not shift the fields
// A line is a reading only when the time is a date, address and index begin with a digit
// (blanks before it allowed), the index is a whole number and the value is a number ("," or "."
// as decimal sign); the master's header and error lines and every other text are no readings.
// The address is the leading number rounded to a whole number (halves to even).

#include "text/Zeit.h"

#include <QString>
#include <QStringView>

#include <optional>

struct LogWert
{
    UnixZeit zeit = 0;
    QStringView zeitText; // field 0 as it stands (points into the line)
    int adresse = 0;
    int index = 0;
    double wert = 0;
    int port = -1; // only the master's lines name their port
};

// A date text "d.m.yy" or "d.m.yyyy", optionally followed by "h:mm" or "h:mm:ss", blanks around
// allowed, as wall-clock seconds (UnixZeit). Two-digit years 00 to 29 are 2000 to 2029, 30 to
// 99 are 1930 to 1999. 0 when the text is no such date or lies outside the UnixZeit range.
UnixZeit LogZeitLesen(QStringView text);

// The reading in a line, or nothing.
std::optional<LogWert> LogZeileLesen(QStringView zeile);

// The leading number of a text as Val reads it (blanks skipped, sign, digits, one "."): 0 when
// there is none.
double LogVal(QStringView text);
