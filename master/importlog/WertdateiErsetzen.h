#pragma once
// Rebuilding one value file from readings collected elsewhere; days without readings for it keep
// their values.
//
// The new file is written beside the old one ("<name>.import") and then renamed over it in one
// step: every reader sees the old file or the new one, never a half-written one, and a failure
// leaves the old file as it was. The new file keeps its block count (at least the standard size)
// and its creation parameters.
//
// Of each day whose log was read and gave the file readings, the span from the first to the last
// of them is rebuilt from the readings alone: the old file's values inside it go (a reading whose
// log line came a second after the value was stored would otherwise stand twice), and so does the
// old value just before the span when it holds the first reading's value and lies at most a
// minute before it (the master stored that reading before it logged it). Values outside the spans
// stay: those of a day whose log started or stopped part-way, and every value of a day without a
// log or whose log has no line for the file. The readings (taken by the value file's own append
// rule: a newer time is appended, the same time overwrites the newest value, an older time is
// dropped) go in by their time, and where an old value has the same time the reading replaces it.
// Values and readings dated after the time of the rebuild are dropped: a file holding one refuses
// every later append of the master.

#include "datafiles/RB6Satz.h"
#include "text/Zeit.h"

#include <QList>
#include <QSet>
#include <QString>

struct WertdateiNeuaufbau
{
    QSet<qint64> tage;  // days whose log was read (days since 01.01.1970, as UnixZeit)
    UnixZeit jetzt = 0; // the time of the rebuild: anything later is dropped
};

struct WertdateiErsetzenErgebnis
{
    int status = 0;         // 0 replaced; -1 the old file cannot be read; -2 writing failed
    qint64 geschrieben = 0; // new readings the file took
    qint64 behalten = 0;    // values of the old file kept
    qint64 verworfen = 0;   // old values and readings dated after the rebuild, dropped
};

// The day of a UnixZeit, as counted in WertdateiNeuaufbau::tage.
inline qint64 WertdateiTag(UnixZeit zeit)
{
    return zeit / 86400;
}

// The value file of meter lznr and index under DBPath with the readings (in the order given).
// A file whose header cannot be trusted is not touched (-1); nor is one when no reading is left
// to write. FehlerText says why on failure.
WertdateiErsetzenErgebnis WertdateiErsetzen(qint32 lznr, qint32 index, const QList<RB6_Satz>& werte,
                                            const WertdateiNeuaufbau& neuaufbau);
