#pragma once
// Which slots a call of RB_WerteSchreiben fills and with what, worked out before the first byte
// is written, so that a row the file cannot hold stops the call with the ring untouched.

#include "datafiles/RB_Kopf.h"
#include "text/Zeit.h"

#include <QList>
#include <QString>

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
    QString fehler;          // not empty: a row cannot be stored, nothing is to be written
};

// Rows are taken in order. A row whose time is not later than the newest time stored so far
// (letzteZeit for the first, then the row stored before it) or is 0 is skipped; a time of 0
// from the fourth row on ends the rows. Each stored row takes the next slot after h1, from the
// last slot back to slot 0. In difference mode the value is the rise of the counter reading
// since the last one (h11), a counter of six digits wrapping at one million; without a last
// reading (h11 of 0 or below) it is 0. A time before 1970 or beyond 32 bits, a number beyond
// 32 bits or a counter that falls from seven digits on gives the plan a fehler.
RB_Schreibplan RB_SchreibplanErstellen(const RB_Kopf& kopf, UnixZeit letzteZeit,
                                       const QList<RB_Zeile>& zeilen, bool differenz);
