#pragma once
// The time span an interval file holds.
//
// Both readers open the file for reading only and never create it. An empty file is deleted
// (the next creation makes it anew). A header that does not fit the file (see RB_Kopf::pruefen)
// gives -1 and a FehlerText; the file is left as it is.

#include "datafiles/RB_Kopf.h"
#include "text/Zeit.h"

#include <QString>

// A file whose name (not folder) holds "15p" or "15P" is read by RB_DateiZeitraum15p (newest
// and oldest then being its last and first time). Otherwise: the header, newest := the date
// of h3 to h8, oldest := newest - (h0 - 1) * h10 * 60 (not below 0); 0. An empty name, a
// missing or empty file ("Datei nicht gefunden! " & name), a bad header or a run-time error: -1.
int RB_DateiZeitraum(const QString& name, RB_Kopf& kopf, UnixZeit& neueste, UnixZeit& aelteste);

// 15-minute file: last := time of slot h1 (written last); first := time of the slot after it
// (the oldest once the ring has wrapped; slot 1 when h1 is the last slot of the ring). When
// that is 0 or less: the time of slot 0 when it is not 0 (the header copy's h2 := 1), else the
// number at record 20 (slot 1; h2 := 0). When last is 0 (nothing written yet), last and first
// are the header's date. 0; -1 for an empty name, a missing or empty file ("Datei existiert
// nicht!"), a bad header or a run-time error.
int RB_DateiZeitraum15p(const QString& name, RB_Kopf& kopf, UnixZeit& letzte, UnixZeit& erste);
