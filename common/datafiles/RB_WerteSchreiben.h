#pragma once
// Appending rows to a 15-minute file (three numbers a slot), a ring of N slots.

#include "datafiles/RB_Schreibplan.h"

#include <QList>
#include <QString>

// Whether the master stores counter differences instead of readings (set by the master cycle).
inline bool RB_ZStandDifferenz = false;

// Stores the rows (see RB_SchreibplanErstellen) after the newest time the file holds
// (RB_DateiZeitraum), each into the next slot of the ring, and then the header: h1 the slot
// written last, h2 kept in step with it, h3 to h8 and h12 the time of the row stored last, h11
// the last counter reading (only difference mode changes it). A reading that jumps down (see
// RB_SchreibplanErstellen) is stored with the difference 0 and noted in the program log. When
// no row is stored the file stays as it was.
//   0   stored (or nothing to store)
//  -1   RB_DateiZeitraum failed: no name, file missing or empty, header not trusted
//  -2   writing a slot or the header failed (FehlerText, a beep)
//  -3   nothing stored: a row holds a time or number outside 32 bits, or the file has not
//       three numbers a slot (FehlerText says which)
//  -4   nothing stored: the file is being created or written by a call still running
int RB_WerteSchreiben(const QString& name, const QList<RB_Zeile>& zeilen, bool differenz);
