#pragma once
// The course of one meter value over one day, on a quarter-hour grid: the readings of the day
// from the value file, gaps filled by carrying the last reading forward, one row per grid
// point, and per point the time step, the consumption since the point before (with counter
// roll-over) and the reading.
//
// Times are UnixZeit (wall-clock seconds, no daylight-saving shift), so every day has 97 grid
// points from 00:00 to 24:00, the days of the clock change included.

#include "datafiles/RB6Tabelle.h"

#include <QString>
#include <QVariant>

class FlexGrid;

// Grid step of the day values in seconds.
inline constexpr qint32 kTageswerteRaster = 900;

// Fills the day table of a meter value (file of meter lznr, value index, under DBPath) for the
// day given as "dd.mm.yyyy" ("d.m.yyyy" too), its grid starting offset seconds after midnight.
// The meter's master record gives the counter digits; the unit from the index list decides the
// mode: for a unit holding "°C" (a temperature) column 2 is the value itself and column 3 is
// not set; otherwise, for every grid row r from 1 whose time is above 0, columns 0 to 3 are
// the time, the step to row r - 1, the consumption (negative steps through
// RB6_DiffMitUeberlauf) and the reading. Row 0 and skipped rows stay as they were; the table
// grows to the 97 grid rows when it is smaller.
// Status: 0 filled; -1 a day that is no date, or one whose times leave the 32-bit range; -2 an
// interval of 0: the table receives the rows as read, without grid; 100 x the status of
// RB6_WerteLesen when reading failed (-100 no readable file, -500 no values in the period,
// -600 client 1450), the table untouched.
int RB6_ReadPeakDatenTG(qint32 lznr, const QString& tag, RB6_Tabelle& tabelle, qint32 intervall,
                        qint32 index, qint32 offset);

// Fills the gaps of readings (columns 0 time, 1 value) by carrying the last reading forward
// onto the quarter-hour grid. Rows with a time of 0 or below are dropped, and gaps are measured
// only between rows with a time: a step of more than 1350 seconds from the last row kept gets
// a row at each quarter hour after that row's time that is earlier than the next time minus
// 900 seconds. The result has the rows (time, value, time, value) in order and one row of
// zeros at the end. When neither row 0 nor row 1 has a time (or the table is empty) the rows
// stay as they are. intervall becomes 900. With "AdminLog" in the command line the program log
// gets "Starte ..." and "Fertig RB_RohDatenAuffuellenMitRecordset".
void RB_RohDatenAuffuellenMitRecordset(RB6_Tabelle& zeilen, qint32& intervall,
                                       const QVariant& unbenutzt = {});

// Resamples rows onto the grid erster, erster + intervall, ... up to letzter (rows 0 to
// (letzter - erster) \ intervall; with exactly two points the second is letzter itself). Each
// point takes the row nearest to it (of two equally near the later), scanning on from the
// row taken for the point before; rows with a time of 0 or below are passed over; a point
// with no such row stays zero. An interval of 0 or below or a last time before the first
// leaves the result as it was and the reason in FehlerText.
void RB6_RohDatenRastern(const RB6_Tabelle& quelle, RB6_Tabelle& ergebnis, qint64 erster,
                         qint64 letzter, qint32 intervall);

// faktor x the difference of two counter readings. Equal readings: 0, no roll-over. With
// zStellen > 0, a new reading below the old one means the counter rolled over: the difference
// is 10^zStellen - alt + neu. With zStellen <= 0 the difference is neu - alt, the flag set
// when it is negative.
double RB6_DiffMitUeberlauf(qint32 zStellen, double alt, double neu, double faktor,
                            double& differenz, bool& ueberlauf);

// Lists a table in the grid: 7 columns "Nr", "Datum", "Z-Stand Neu", "Datum", "Z-Stand Alt",
// "Diff", "Diff Tm" (both "Datum" columns 2100 twips wide), one grid row per table row; a row
// whose column 0 is above 0 shows its number, the date of column 0, column 1, the date of
// column 2, column 3, column 1 - column 3 and column 0 - column 2. Other rows stay empty.
void RB6_TagesTabelleAnzeigen(FlexGrid& grid, const RB6_Tabelle& tabelle);
