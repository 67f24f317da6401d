#pragma once
// Creating interval files and writing their header.
//
// A new file is 64 + 4 * numbers per slot * N bytes, all zero but the header. It is built under
// the name & ".neu" and renamed to its name once complete, so no reader ever meets a half-built
// file, not even after the program was killed while building it (the side file is started anew
// by the next creation); a file whose creation fails is removed again (it held no data). An
// existing file that holds data is never touched.

#include "text/Zeit.h"

#include <QString>

// Creates a 15-minute file (days * 96 slots of time, seconds and value).
//   0  created
//  -1  not created: the start time is 0 or below, days is 0 or below, the file would pass
//      2 GB, or the file could not be opened (FehlerText says why)
//  -3  writing the new file failed; the file is removed again
//  -5  the file already holds data, or is being created right now; left untouched
// A missing folder of the file is created ("Path not found") and the file opened once more.
int RB_DateiAnlegen(const QString& name, UnixZeit start, qint32 tage, qint32 extra);

// Creates the file RB_DateiName(station, meter, interval): interval 0 gives a 15-minute file,
// an interval from 1 to 1440 minutes (1440 / interval) * days slots of one number (whole
// slots a day: 7 minutes give 205 a day). Statuses as RB_DateiAnlegen; days of 0 or below and
// an interval below 0 or above 1440 give -1 and create nothing.
int RB_DateiAnlegenZaehler(qint32 station, qint32 zaehler, qint32 intervall, UnixZeit start,
                           qint32 tage, qint32 extra);

// Writes the header of an existing file: h0 to h2 as given, h3 to h8 the start time, h9 =
// 4 * numbers per slot, h10 the interval, h11 the extra number, h12 to h15 0.
//   0  written
//  -1  the start time is no date (0 or below; a negative one is set to 0 in the caller's
//      variable)
//  -2  run-time error (file missing, not writable, ...: FehlerText, a beep)
//  -3  the header would not fit the file (its size, 1 or 3 numbers a slot, h1 inside the
//      ring) or the file is being created or written right now; nothing written
int RB_KopfSchreiben(const QString& name, UnixZeit& start, qint32 h0, qint32 h1, qint32 h2,
                     qint32 intervall, qint32 zahlenProSlot, qint32 extra);
