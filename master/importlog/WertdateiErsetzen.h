#pragma once
// Rebuilding one value file from readings collected elsewhere, so that nothing it held is lost.
//
// The new file is written beside the old one ("<name>.import") and then renamed over it in one
// step: every reader sees the old file or the new one, never a half-written one, and a failure
// leaves the old file as it was. The new file keeps every value of the old one, its block count
// (at least the standard size) and its creation parameters; the new readings (taken by the value
// file's own append rule: a newer time is appended, the same time overwrites the newest value, an
// older time is dropped) go in by their time, and where the old file holds a value at the same
// time the new reading replaces it.

#include "datafiles/RB6Satz.h"

#include <QList>
#include <QString>

struct WertdateiErsetzenErgebnis
{
    int status = 0;         // 0 replaced; -1 the old file cannot be read; -2 writing failed
    qint64 geschrieben = 0; // new readings the file took
    qint64 behalten = 0;    // values of the old file kept
};

// The value file of meter lznr and index under DBPath with the readings (in the order given).
// A file whose header cannot be trusted is not touched (-1). FehlerText says why on failure.
WertdateiErsetzenErgebnis WertdateiErsetzen(qint32 lznr, qint32 index,
                                            const QList<RB6_Satz>& werte);
