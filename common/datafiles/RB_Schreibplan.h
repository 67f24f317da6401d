#pragma once
// Which slots a call of RB_WerteSchreiben fills and with what, worked out before the first byte
// is written, so that a row the file cannot hold stops the call with the ring untouched.

#include "datafiles/RB_Kopf.h"
#include "text/Zeit.h"

#include <QList>
#include <QString>
#include <QStringList>

// One row to store: time (UnixZeit), seconds covered (0: since the row before), value or
// counter reading. Numbers are rounded to whole numbers (halves to even).
struct RB_Zeile
{
    double zeit = 0;
    double sekunden = 0;
    double wert = 0;
};

struct RB_Slotwert
{
    qint32 slot = 0; // index from 0
    qint32 zeit = 0;
    qint32 sekunden = 0;
    qint32 wert = 0;
};

struct RB_Schreibplan
{
    QList<RB_Slotwert> slotwerte;
    qint32 letzterSlot = 0;  // new h1
    qint32 zaehlerstand = 0; // new h11
    qint32 letzteZeit = 0;   // new h12
    QStringList spruenge;    // difference mode: one line for each reading that jumped
    QString fehler;          // not empty: a row cannot be stored, nothing is to be written
};

// Rows are taken in order. A row whose time is not later than the newest time stored so far
// (letzteZeit for the first, then the row stored before it) or is 0 is skipped; a time of 0
// from the fourth row on ends the rows. Each stored row takes the next slot after h1, from the
// last slot back to slot 0. In difference mode the value is the rise of the counter reading
// since the last one (h11), a counter of six digits wrapping at one million; without a last
// reading (h11 of 0 or below) it is 0. A lower reading that no wrap at one million explains
// (1000000 - last + new outside 0 to 999999) gives the difference 0 and a line in spruenge;
// either way the reading becomes the last one. A time before 1970 or beyond 32 bits or a
// number beyond 32 bits gives the plan a fehler.
RB_Schreibplan RB_SchreibplanErstellen(const RB_Kopf& kopf, UnixZeit letzteZeit,
                                       const QList<RB_Zeile>& zeilen, bool differenz);
