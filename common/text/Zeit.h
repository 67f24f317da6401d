#pragma once
// The program's time convention: UnixZeit is a signed 32-bit count of seconds since
// 01.01.1970 00:00:00 on local wall-clock time (see platform/Uhr.h), never negative.

#include <QDateTime>
#include <QString>

using UnixZeit = qint32;

// 01.01.1970 plus the seconds; a negative value is first set to 0 in the caller's variable.
QDateTime UnixZeitInDatum(UnixZeit& sekunden);
// Seconds from 01.01.1970 00:00:00 to the date-time; not a date, before 1970 or beyond the
// 32-bit range: 0.
UnixZeit DatumInUnixZeit(const QDateTime& datum);
// DatumMitWochentag of UnixZeitInDatum.
QString UnixZeitAlsText(UnixZeit& sekunden);
// "Mo  07.12.2026  08:15:00": weekday, two blanks, date, two blanks, time.
QString DatumMitWochentag(const QDateTime& datum);
// "So", "Mo", "Di", "Mi", "Do", "Fr", "Sa".
QString GetWochentag(const QDateTime& datum);
// The next multiple of the interval strictly after now; 0 for an interval of 0 or below and
// for a boundary beyond the 32-bit range.
UnixZeit NaechsterIntervall(qint32 intervallSekunden);
